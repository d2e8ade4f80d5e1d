#include "nightcap/app/TestSeams.h"

#include <windows.h>

#include <string>

#include "nightcap/app/Clock.h"
#include "nightcap/app/PowerOff.h"
#include "nightcap/app/SystemClock.h"

namespace nightcap {

namespace {

std::string Environment(const char* name) {
    char value[1024];
    DWORD n = GetEnvironmentVariableA(name, value, sizeof value);
    return n > 0 && n < sizeof value ? std::string(value, n) : std::string();
}

void AppendLine(const std::string& path, const std::string& line) {
    UniqueHandle file(CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return;
    std::string text = line + "\r\n";
    DWORD written = 0;
    WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

std::string g_clockFile;

bool ReadClockFile(LocalTime* time) {
    UniqueHandle file(CreateFileA(g_clockFile.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE |
                                  FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    char text[64] = {};
    DWORD read = 0;
    if (!file || !ReadFile(file.Get(), text, sizeof text - 1, &read, nullptr)) return false;
    text[read] = '\0';
    return ParseLocalTime(text, time);
}

std::string g_clockLog;
bool g_clockRefused = false;

bool RecordClockSetting(const SYSTEMTIME& t) {
    char line[80];
    wsprintfA(line, "SetSystemTime %04u-%02u-%02u %02u:%02u:%02u.%03u %u", t.wYear, t.wMonth, t.wDay, t.wHour,
              t.wMinute, t.wSecond, t.wMilliseconds, t.wDayOfWeek);
    AppendLine(g_clockLog, line);
    return !g_clockRefused;
}

// Writes every request as a line of text; the version and platform are the real ones.
class RecordingPowerApi : public PowerApi {
public:
    explicit RecordingPowerApi(std::string path) : path_(std::move(path)) {}
    DWORD Version() override { return SystemPowerApi().Version(); }
    DWORD PlatformId() override { return SystemPowerApi().PlatformId(); }
    bool OpenProcessToken(HANDLE, DWORD access, UniqueHandle*) override {
        Record("OpenProcessToken " + std::to_string(access));
        return true;
    }
    bool LookupPrivilegeValue(const char* name, LUID*) override {
        Record(std::string("LookupPrivilegeValue ") + name);
        return true;
    }
    bool AdjustTokenPrivileges(HANDLE, TOKEN_PRIVILEGES* state, TOKEN_PRIVILEGES*, DWORD, DWORD*) override {
        Record("AdjustTokenPrivileges " + std::to_string(state->Privileges[0].Attributes));
        return true;
    }
    bool ExitWindowsEx(UINT flags, DWORD reason) override {
        Record("ExitWindowsEx " + std::to_string(flags) + " " + std::to_string(reason));
        return true;
    }
    bool SetSuspendState(bool hibernate, bool force) override {
        Record("SetSuspendState " + std::to_string(hibernate) + " " + std::to_string(force));
        return true;
    }
    bool LockWorkStation() override {
        Record("LockWorkStation");
        return true;
    }

private:
    void Record(const std::string& line) { AppendLine(path_, line); }
    std::string path_;
};

}  // namespace

void InstallTestSeamsFromEnvironment() {
    LocalTime fixed;
    if (ParseLocalTime(Environment("NIGHTCAP_TEST_CLOCK").c_str(), &fixed)) UseFixedClock(fixed);
    g_clockFile = Environment("NIGHTCAP_TEST_CLOCK_FILE");
    if (!g_clockFile.empty()) UseClockReader(ReadClockFile);
    std::string log = Environment("NIGHTCAP_TEST_POWER_LOG");
    if (!log.empty()) {
        static RecordingPowerApi recorder(log);
        InstallPowerApi(&recorder);
    }
    g_clockLog = Environment("NIGHTCAP_TEST_SET_CLOCK_LOG");
    if (!g_clockLog.empty()) {
        g_clockRefused = Environment("NIGHTCAP_TEST_SET_CLOCK_REFUSED") == "1";
        InstallClockSetter(RecordClockSetting);
    }
}

}  // namespace nightcap
