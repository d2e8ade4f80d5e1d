// Runs the real Nightcap.exe from a fresh program folder and reads and drives its windows by message.
// The program always runs with its power requests and its settings of the computer's clock written to logs
// instead of reaching Windows, and optionally with its clock standing still at a given time, which the test may
// move. Its online servers are all one given "host:port", by default a loopback port where nothing listens (no
// network).
#pragma once
#include <windows.h>

#include <string>

#include "tests/support/ProgramDriver.h"
#include "tests/support/TempFolder.h"

extern const char kShippedConfig[];

class NightcapUnderTest {
public:
    // Writes config.ini (not at all when configBytes is null), starts the program and waits for its window.
    bool Start(const char* configBytes, const char* fixedClock = nullptr);
    // Start with a command line that arms: waits for the window only, which stays in the tray.
    bool StartArmed(const char* configBytes, const char* fixedClock, const std::wstring& arguments);
    // Start without the start: the program folder and the environment are ready for Process().Start(Exe()).
    bool Prepare(const char* configBytes, const char* fixedClock = nullptr);
    // The clock standing still at another time, read by the program at its next tick (a sleep, time passing).
    bool MoveClock(const char* time) const;
    // Another copy of the program from the same folder with the arguments; its exit code once it has ended.
    DWORD RunAnotherCopy(const std::wstring& arguments) const;
    // WM_POWERBROADCAST with the event, as Windows sends it around a sleep.
    void SendPowerEvent(WPARAM event) const;
    std::wstring Exe() const { return folder_ / L"Nightcap.exe"; }

    // Before Start: where every online server of the program is.
    void UseServers(const std::string& hostAndPort) { servers_ = hostAndPort; }
    // Before Start: every setting of the clock is refused.
    void RefuseClockSettings() { refuseClock_ = true; }
    // Before Start: update\Update.exe is the stand-in that records how it was started (UpdaterStarts).
    bool InstallUpdaterStandIn() const;
    // Lines "<command line>|<working folder>", one per start of the stand-in; the empty text when it never ran.
    // Waits for every stand-in process to end first.
    std::string UpdaterStarts() const;
    std::string ClockLog() const;

    HWND Main() const { return main_; }
    HWND Slider() const;  // the slider window
    // A control of either window by its identifier (ControlIds.h).
    HWND Control(int id) const;
    std::string Text(int id) const;
    void SetText(int id, const std::string& text) const;
    // A click as the control's parent reports it to the main window.
    void Click(int id) const;
    void Command(int id) const;  // a menu item
    void TrayMouse(UINT mouseMessage) const;
    bool WaitForText(int id, const std::string& text) const;

    std::string Config() const;
    std::string PowerLog() const;
    const TempFolder& Folder() const { return folder_; }
    Program& Process() { return program_; }

private:
    TempFolder folder_;
    Program program_;
    HWND main_ = nullptr;
    std::string servers_;
    bool refuseClock_ = false;
};

// The inputs a schedule locks while armed: both tabs, labels and edit boxes, and the slider.
bool InputsEnabled(const NightcapUnderTest& nc, bool enabled);
// Countdown mode with the given length, as the slider would set it.
void ChooseCountdown(const NightcapUnderTest& nc, const char* hours, const char* minutes);
