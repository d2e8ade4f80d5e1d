#include "update/manifest/ProductProcess.h"

#include <windows.h>

#include "common/Handles.h"
#include "common/ReleaseChannel.h"

namespace update {

std::wstring ReadProductName() {
    wchar_t name[260] = L"";
    ::GetPrivateProfileStringW(L"Product", L"name", L"", name, 260, L"..\\Config.ini");
    return name;
}

std::wstring ChannelProductName() {
    const std::wstring name = ReadProductName();
    return name.empty() ? name : name + L"" NIGHTCAP_CHANNEL_NAME_SUFFIX;
}

void KillProduct() {
    const HWND window = ::FindWindowW(ReadProductName().c_str(), nullptr);
    if (!window) return;
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    const UniqueHandle process(::OpenProcess(PROCESS_ALL_ACCESS, FALSE, processId));
    if (process) ::TerminateProcess(process.Get(), 0);
}

}  // namespace update
