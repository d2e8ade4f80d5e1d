// Stands in for Update.exe in the tests: appends its command line and working folder, as
// "<command line>|<working folder>", to started.txt beside itself, and ends.
#include <windows.h>

#include <string>

#include "common/Handles.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return 1;
    std::string log(path, n);
    log = log.substr(0, log.rfind('\\') + 1) + "started.txt";
    char folder[MAX_PATH];
    n = GetCurrentDirectoryA(MAX_PATH, folder);
    const std::string line = std::string(GetCommandLineA()) + "|" + std::string(folder, n < MAX_PATH ? n : 0) + "\r\n";
    UniqueHandle file(CreateFileA(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file && WriteFile(file.Get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr) ? 0 : 1;
}
