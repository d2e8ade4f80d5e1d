// Stands in for the updater's host in the operations test: copied into a test installation as
// update\Update.exe, it runs the operations behind update.CustomClass in the order of its arguments, the
// way the package calls them, and writes what it saw into its working directory:
//   log     FetchUpdateLog; the text goes to log.txt (UTF-16)
//   update  PrepareUpdate, then the message loop until the pass ends; Process reports go to reports.txt
//   again   PrepareUpdate twice in a row, then as update
//   install InstallStagedFiles
//   run     LaunchProduct (the product starts as the driver ends, as with the updater)
//   hold    waits 2.5 s (copy.bat tries its copy meanwhile), then writes to held.txt whether its own
//           executable is still the one it started from
//   tamper:NAME  appends a byte to the staged file Temp\NAME, as a process changing it after its download
//   drop:NAME    puts a file Temp\NAME into the staging folder, as a process dropping a DLL there
//   lock:NAME    opens ..\NAME for reading only, sharing no writes, until the driver ends
#include <windows.h>

#include <string>
#include <vector>

#include "common/Handles.h"
#include "common/OwnProgram.h"
#include "update/host/ProgressRelay.h"
#include "update/host/UpdaterEnd.h"
#include "update/install/UpdatePass.h"
#include "update/manifest/FileMd5.h"
#include "update/manifest/ManifestDownloads.h"

using namespace update;

namespace {

void Append(const wchar_t* file, const std::wstring& text) {
    const HANDLE handle = ::CreateFileW(file, FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    ::WriteFile(handle, text.data(), DWORD(text.size() * sizeof(wchar_t)), &written, nullptr);
    ::CloseHandle(handle);
}

void RunPass(int prepareCalls) {
    bool ended = false;
    ProgressRelay relay([&](const std::wstring& first, const std::wstring& second) {
        Append(L"reports.txt", first + L"," + second + L"\n");
        ended = ended || first == L"100" || first == L"-1";
    });
    for (int i = 0; i < prepareCalls; ++i) UpdatePass(u"0").PrepareUpdate();
    const DWORD start = ::GetTickCount();
    while (!ended && ::GetTickCount() - start < 30000) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
    if (!ended) Append(L"reports.txt", L"timeout\n");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::string ownDigest = FileMd5Hex(OwnProgramPath());
    std::vector<UniqueHandle> locks;
    for (int i = 1; i < argc; ++i) {
        const std::wstring command = argv[i];
        if (command == L"log") Append(L"log.txt", UpdatePass(u"0").FetchUpdateLog());
        if (command == L"update") RunPass(1);
        if (command == L"again") RunPass(2);
        if (command == L"install") UpdatePass(u"0").InstallStagedFiles();
        if (command.rfind(L"tamper:", 0) == 0) Append((L"Temp\\" + command.substr(7)).c_str(), L"x");
        if (command.rfind(L"lock:", 0) == 0)
            locks.emplace_back(::CreateFileW((L"..\\" + command.substr(5)).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                             nullptr, OPEN_EXISTING, 0, nullptr));
        if (command.rfind(L"drop:", 0) == 0) Append((L"Temp\\" + command.substr(5)).c_str(), L"dropped");
        if (command == L"run") UpdatePass(u"0").LaunchProduct();
        if (command == L"hold") {
            ::Sleep(2500);
            Append(L"held.txt", FileMd5Hex(OwnProgramPath()) == ownDigest ? L"unchanged" : L"changed");
        }
    }
    EndTheUpdater();
    return 0;
}
