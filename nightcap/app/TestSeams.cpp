#include "TestSeams.h"

#include <windows.h>

#include <string>

#include "Clock.h"
#include "PowerOff.h"

namespace {

std::string Environment(const char* name) {
    char value[1024];
    DWORD n = GetEnvironmentVariableA(name, value, sizeof value);
    return n > 0 && n < sizeof value ? std::string(value, n) : std::string();
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

private:
    void Record(const std::string& line) {
        UniqueHandle file(CreateFileA(path_.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return;
        std::string text = line + "\r\n";
        DWORD written = 0;
        WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    }
    std::string path_;
};

}  // namespace

void InstallTestSeamsFromEnvironment() {
    LocalTime fixed;
    if (ParseLocalTime(Environment("NIGHTCAP_TEST_CLOCK").c_str(), &fixed)) UseFixedClock(fixed);
    std::string log = Environment("NIGHTCAP_TEST_POWER_LOG");
    if (!log.empty()) {
        static RecordingPowerApi recorder(log);
        InstallPowerApi(&recorder);
    }
}
