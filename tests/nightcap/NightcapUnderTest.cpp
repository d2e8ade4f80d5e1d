// Sockets first: their header must come before windows.h.
#include <winsock2.h>

#include "tests/nightcap/NightcapUnderTest.h"

#include <tlhelp32.h>

#include "nightcap/app/ControlIds.h"
#include "nightcap/app/TrayIcon.h"

using namespace nightcap;

const char kShippedConfig[] = "[Product]\r\n\nname=Nightcap\r\n\n[set]\r\ntime=0\r\nhour=12\r\nmin=30\r\n";

namespace {
// Xvfb has no window manager: Wine then waits two seconds on every hide of a window it counts as managed (any
// window once activated). Nightcap in the tests' prefix is left unmanaged instead; it draws no frames anyway.
void LeaveNightcapUnmanaged() {
    UniqueRegKey key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\Nightcap.exe\\X11 Driver", 0, nullptr, 0,
                        KEY_SET_VALUE, nullptr, key.Receive(), nullptr) == ERROR_SUCCESS)
        RegSetValueExA(key.Get(), "Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>("N"), 2);
}

// Wine's fallback tray window hides itself when its last icon goes, and each such hide costs the same two seconds
// inside explorer, during which the next program's tray request waits. An icon of the test's own keeps it shown.
void KeepTrayWindowShown() {
    static HWND owner = CreateWindowExA(0, "Static", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    static bool added = [] {
        NOTIFYICONDATAA icon = {};
        icon.cbSize = sizeof icon;
        icon.hWnd = owner;
        icon.uID = 99;
        icon.uFlags = NIF_ICON;
        icon.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
        return Shell_NotifyIconA(NIM_ADD, &icon) != FALSE;
    }();
    (void)added;
}

// The real pointer waits in the screen's top-left corner, away from the program's windows and from the tray strip
// along the bottom. A display starts with the pointer in its middle, where the program's window opens, and Wine
// reports a window that appears under the pointer as a mouse move there (the X server's enter event), which the
// program reads only once its queue is empty. When that is during a test's drag made of sent messages, the slider
// frame holds the capture and rightly follows the move: the knob went to the middle of the screen (hour 20), and
// the next drags, pressed where the knob should have been, landed on the fill bar and started nothing. A pointer
// off the windows also keeps Wine's move after every released capture, made at the pointer, away from them.
// Wine moves the X pointer only when its own record of the pointer changes: a new Wine server starts with the
// pointer recorded in the corner while the display's is in the middle, so a move to the corner alone moves
// nothing. It moves only while it can grab the pointer, too: a move asked for while another client holds it (a
// program of the run still starting or ending) is refused. And for 100 ms after a move, Wine answers
// GetCursorPos from its record; only later does it ask the X server. So the pointer goes to (1, 1) and then to
// the corner, and counts as there once a reading taken later than that shows it there; else it goes again.
bool KeepPointerOffTheProgram() {
    constexpr ULONGLONG kWineOwnRecordMs = 150;
    ULONGLONG movedAt = 0;
    return WaitUntil([&] {
        POINT at{};
        const bool inCorner = GetCursorPos(&at) && at.x == 0 && at.y == 0;
        if (inCorner && movedAt && GetTickCount64() - movedAt > kWineOwnRecordMs) return true;
        if (!inCorner || !movedAt) {
            SetCursorPos(1, 1);
            SetCursorPos(0, 0);
            movedAt = GetTickCount64();
        }
        return false;
    });
}

// A loopback port where nothing listens: a connection there is refused at once.
std::string ClosedLoopbackPort() {
    static const std::string port = [] {
        WSADATA wsa;
        WSAStartup(MAKEWORD(2, 2), &wsa);
        SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        int size = sizeof address;
        std::string found = "1";
        if (bind(s, reinterpret_cast<sockaddr*>(&address), size) == 0 &&
            getsockname(s, reinterpret_cast<sockaddr*>(&address), &size) == 0)
            found = std::to_string(ntohs(address.sin_port));
        closesocket(s);
        return found;
    }();
    return "127.0.0.1:" + port;
}

const char* const kServerVariables[] = {"NIGHTCAP_STATS_HOST", "NIGHTCAP_UPDATE_HOST", "NIGHTCAP_TIME_HOST",
                                        "NIGHTCAP_IP_HOST",    "NIGHTCAP_AIR_HOST",    "NIGHTCAP_WEATHER_HOST"};

// Whether a process runs from this exe path.
bool ProcessRunsFrom(const std::wstring& exe) {
    UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    if (!snapshot || !Process32FirstW(snapshot.Get(), &entry)) return false;
    do {
        if (_wcsicmp(entry.szExeFile, L"Update.exe") != 0) continue;
        UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID));
        wchar_t path[MAX_PATH];
        DWORD size = MAX_PATH;
        if (process && QueryFullProcessImageNameW(process.Get(), 0, path, &size) && _wcsicmp(path, exe.c_str()) == 0)
            return true;
    } while (Process32NextW(snapshot.Get(), &entry));
    return false;
}
}  // namespace

bool NightcapUnderTest::Start(const char* configBytes, const char* fixedClock) {
    if (!Prepare(configBytes, fixedClock) || !program_.Start(Exe())) return false;
    main_ = program_.WaitForWindow(L"Nightcap");
    // Start-up is over once the window is shown.
    return main_ && WaitUntil([&] { return IsWindowVisible(main_) != FALSE; });
}

bool NightcapUnderTest::StartArmed(const char* configBytes, const char* fixedClock, const std::wstring& arguments) {
    if (!Prepare(configBytes, fixedClock) || !program_.Start(Exe(), arguments)) return false;
    main_ = program_.WaitForWindow(L"Nightcap");
    return main_ != nullptr;
}

bool NightcapUnderTest::Prepare(const char* configBytes, const char* fixedClock) {
    LeaveNightcapUnmanaged();
    KeepTrayWindowShown();
    if (!KeepPointerOffTheProgram()) return false;
    if (!CopyFileTo(BuildFolder() + L"\\Nightcap.exe", Exe())) return false;
    if (configBytes && !WriteFileBytes(folder_ / L"config.ini", configBytes)) return false;
    // Never let a test's schedule reach ExitWindowsEx: it would end every process of the Wine prefix.
    SetEnvironmentVariableW(L"NIGHTCAP_TEST_POWER_LOG", (folder_ / L"power.log").c_str());
    SetEnvironmentVariableA("NIGHTCAP_TEST_CLOCK", fixedClock);
    SetEnvironmentVariableW(L"NIGHTCAP_TEST_CLOCK_FILE", fixedClock ? (folder_ / L"clock.txt").c_str() : nullptr);
    if (fixedClock && !MoveClock(fixedClock)) return false;
    // Never let a test set the computer's clock.
    SetEnvironmentVariableW(L"NIGHTCAP_TEST_SET_CLOCK_LOG", (folder_ / L"clock.log").c_str());
    SetEnvironmentVariableA("NIGHTCAP_TEST_SET_CLOCK_REFUSED", refuseClock_ ? "1" : nullptr);
    const std::string servers = servers_.empty() ? ClosedLoopbackPort() : servers_;
    for (const char* variable : kServerVariables) SetEnvironmentVariableA(variable, servers.c_str());
    return true;
}

bool NightcapUnderTest::MoveClock(const char* time) const {
    // Written beside and moved over: the program never reads half a time. A file cannot be replaced while a
    // handle to it is open, and the program opens the clock at every tick to read it: the move is asked again
    // until it falls between two readings.
    const std::wstring next = folder_ / L"clock.next", clock = folder_ / L"clock.txt";
    return WriteFileBytes(next, time) && WaitUntil([&] {
               return MoveFileExW(next.c_str(), clock.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
           });
}

DWORD NightcapUnderTest::RunAnotherCopy(const std::wstring& arguments) const {
    Program other;
    DWORD code = 0xFFFFFFFF;
    if (!other.Start(Exe(), arguments) || !other.WaitExit(20000, &code)) return 0xFFFFFFFF;
    return code;
}

void NightcapUnderTest::SendPowerEvent(WPARAM event) const { SendMessageA(main_, WM_POWERBROADCAST, event, 0); }

bool InputsEnabled(const NightcapUnderTest& nc, bool enabled) {
    for (int id : {透明标签_切换1, 透明标签_切换2, 编辑框_时, 编辑框_分, 标签_时, 标签_分, UI动画框})
        if ((IsWindowEnabled(nc.Control(id)) != FALSE) != enabled) return false;
    return true;
}

void ChooseCountdown(const NightcapUnderTest& nc, const char* hours, const char* minutes) {
    nc.Click(透明标签_切换2);
    nc.SetText(标签_时, hours);
    nc.SetText(标签_分, minutes);
}

HWND NightcapUnderTest::Slider() const {
    for (HWND hwnd : program_.TopLevelWindows())
        if (ClassNameOf(hwnd) == L"NightcapSlider") return hwnd;
    return nullptr;
}

HWND NightcapUnderTest::Control(int id) const {
    return ChildWithId(id == UI动画框 ? Slider() : main_, id);
}

std::string NightcapUnderTest::Text(int id) const { return WindowTextA(Control(id)); }

void NightcapUnderTest::SetText(int id, const std::string& text) const {
    SendMessageA(Control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void NightcapUnderTest::Click(int id) const {
    PostMessageA(main_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Control(id)));
}

void NightcapUnderTest::Command(int id) const { PostMessageA(main_, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

void NightcapUnderTest::TrayMouse(UINT mouseMessage) const {
    PostMessageA(main_, kTrayCallbackMessage, kTrayIconId, mouseMessage);
}

bool NightcapUnderTest::WaitForText(int id, const std::string& text) const {
    return WaitUntil([&] { return Text(id) == text; });
}

bool NightcapUnderTest::InstallUpdaterStandIn() const {
    return CreateDirectoryW((folder_ / L"update").c_str(), nullptr) &&
           CopyFileTo(BuildFolder() + L"\\UpdaterStandIn.exe", folder_ / L"update\\Update.exe");
}

std::string NightcapUnderTest::UpdaterStarts() const {
    // A started stand-in has written its line once its process is gone.
    WaitUntil([&] { return !ProcessRunsFrom(folder_ / L"update\\Update.exe"); });
    std::string bytes;
    ReadFileBytes(folder_ / L"update\\started.txt", &bytes);
    return bytes;
}

std::string NightcapUnderTest::ClockLog() const {
    std::string bytes;
    ReadFileBytes(folder_ / L"clock.log", &bytes);
    return bytes;
}

std::string NightcapUnderTest::Config() const {
    std::string bytes;
    ReadFileBytes(folder_ / L"config.ini", &bytes);
    return bytes;
}

std::string NightcapUnderTest::PowerLog() const {
    std::string bytes;
    ReadFileBytes(folder_ / L"power.log", &bytes);
    return bytes;
}
