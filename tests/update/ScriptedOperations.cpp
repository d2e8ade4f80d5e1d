// Update operations for driving the real package in tests, in place of the install side: the change log
// is changelog.txt of the working folder (UTF-8; none gives an empty log), each call is written to
// calls.txt there, and Update's worker reports 0 to 40 percent at once, then waits for the named event
// of go.txt's text before it reports 70 and 100 with "1".
#include <windows.h>

#include <string>
#include <thread>

#include "common/Handles.h"
#include "common/TextConvert.h"
#include "update/host/UpdateOperations.h"

using namespace update;

namespace {
std::string ReadSmallFile(const wchar_t* name) {
    UniqueHandle file(CreateFileW(name, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    std::string bytes(65536, '\0');
    DWORD read = 0;
    if (!file || !ReadFile(file.Get(), bytes.data(), DWORD(bytes.size()), &read, nullptr)) return {};
    bytes.resize(read);
    return bytes;
}

void Record(const std::string& line) {
    UniqueHandle file(CreateFileW(L"calls.txt", FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, 0, nullptr));
    DWORD written = 0;
    const std::string text = line + "\n";
    if (file) WriteFile(file.Get(), text.data(), DWORD(text.size()), &written, nullptr);
}

class ScriptedOperations final : public UpdateOperations {
public:
    std::wstring FetchUpdateLog() override {
        HWND window = FindWindowW(nullptr, L"更新升级程序_lumio");
        Record(window && IsWindowVisible(window) ? "log with the window shown" : "log without a window");
        return Utf8ToWide(ReadSmallFile(L"changelog.txt"));
    }
    void PrepareUpdate() override {
        Record("update");
        const std::wstring gate = Utf8ToWide(ReadSmallFile(L"go.txt"));
        std::thread([gate] {
            for (int percent = 0; percent <= 40; percent += 10) PostProgress(std::to_wstring(percent), L"1");
            UniqueHandle go(OpenEventW(SYNCHRONIZE, FALSE, gate.c_str()));
            if (go) WaitForSingleObject(go.Get(), 60000);
            PostProgress(L"70", L"1");
            PostProgress(L"100", L"1");
        }).detach();
    }
    void InstallStagedFiles() override { Record("install"); }
    void LaunchProduct() override { Record("run"); }
};
}  // namespace

std::unique_ptr<UpdateOperations> update::MakeUpdateOperations() { return std::make_unique<ScriptedOperations>(); }
