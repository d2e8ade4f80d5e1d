// Runs the real Nightcap.exe from a fresh program folder and reads and drives its windows by message.
// The program always runs with its power requests written to a log instead of reaching Windows, and
// optionally with its clock standing still at a given time.
#pragma once
#include <windows.h>

#include <string>

#include "ProgramDriver.h"
#include "TempFolder.h"

extern const char kShippedConfig[];

class NightcapUnderTest {
public:
    // Writes config.ini (not at all when configBytes is null), starts the program and waits for its window.
    bool Start(const char* configBytes, const char* fixedClock = nullptr);

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
};
