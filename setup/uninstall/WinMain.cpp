// Uninstall.exe: asks, then hands over to a copy of itself in the temp folder so that its own file in the
// install folder can be removed too. The copy waits for this process to end, removes the install and
// leaves its own file to be deleted at the next restart.
#include <windows.h>

#include <string>

#include "common/Handles.h"
#include "common/OwnProgram.h"
#include "setup/uninstall/Uninstaller.h"

using namespace setup;

namespace {

const UINT kNameId = 130;
const UINT kTitleId = 131;
const wchar_t kHandOver[] = L"--remove";

std::wstring LoadText(HINSTANCE instance, UINT id) {
    const wchar_t* text = nullptr;
    int n = LoadStringW(instance, id, reinterpret_cast<wchar_t*>(&text), 0);
    return n > 0 ? std::wstring(text, n) : std::wstring();
}

// Starts a copy of this program from the temp folder, telling it the folder and this process's id.
bool HandOverToTempCopy(const std::wstring& folder) {
    wchar_t temp[MAX_PATH] = {};
    if (!GetTempPathW(MAX_PATH, temp)) return false;
    std::wstring copy = std::wstring(temp) + L"NightcapUninstall-" + std::to_wstring(GetCurrentProcessId()) + L".exe";
    if (!CopyFileW(OwnProgramPath().c_str(), copy.c_str(), FALSE)) return false;
    // The folder goes without its last backslash, which would escape the closing quote.
    std::wstring commandLine = L"\"" + copy + L"\" " + kHandOver + L" " + std::to_wstring(GetCurrentProcessId()) +
                               L" \"" + folder.substr(0, folder.size() - 1) + L"\"";
    STARTUPINFOW startup = {sizeof startup};
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(copy.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, temp, &startup, &info)) {
        DeleteFileW(copy.c_str());
        return false;
    }
    ProcessHandles::From(info);
    return true;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    InstallIdentity install;
    install.name = LoadText(instance, kNameId);
    install.title = LoadText(instance, kTitleId);
    std::wstring caption = install.title + L"卸载";

    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argv && argc == 4 && lstrcmpW(argv[1], kHandOver) == 0) {
        UniqueHandle original(OpenProcess(SYNCHRONIZE, FALSE, wcstoul(argv[2], nullptr, 10)));
        if (original) WaitForSingleObject(original.Get(), 30000);
        install.folder = std::wstring(argv[3]) + L"\\";
        LocalFree(argv);
        bool removed = RemoveInstall(install);
        MoveFileExW(OwnProgramPath().c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
        if (!removed) return 1;
        MessageBoxW(nullptr, (install.title + L"已从您的电脑中移除。").c_str(), caption.c_str(),
                    MB_OK | MB_ICONINFORMATION);
        return 0;
    }
    if (argv) LocalFree(argv);

    install.folder = OwnProgramFolder();
    if (install.folder.empty()) return 1;  // own path too long to read: no folder to work on
    std::wstring question = L"确定要卸载" + install.title + L"吗？\n\n程序文件、快捷方式和开机启动项将被删除。";
    if (MessageBoxW(nullptr, question.c_str(), caption.c_str(), MB_OKCANCEL | MB_ICONQUESTION) != IDOK) return 1;
    if (!HandOverToTempCopy(install.folder)) {
        // No temp copy: remove everything but this program's own file.
        if (!RemoveInstall(install)) return 1;
        MessageBoxW(nullptr, (install.title + L"已从您的电脑中移除。").c_str(), caption.c_str(),
                    MB_OK | MB_ICONINFORMATION);
    }
    return 0;
}
