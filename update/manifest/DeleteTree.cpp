#include "update/manifest/DeleteTree.h"

#include <windows.h>
#include <shellapi.h>

namespace update {

void DeleteTree(const std::wstring& path) {
    // The shell wants a full path, ended by two zeros.
    wchar_t full[MAX_PATH + 1] = L"";
    const DWORD length = ::GetFullPathNameW(path.c_str(), MAX_PATH, full, nullptr);
    if (length == 0 || length >= MAX_PATH) return;
    full[length + 1] = L'\0';
    SHFILEOPSTRUCTW operation = {};
    operation.wFunc = FO_DELETE;
    operation.pFrom = full;
    operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOCONFIRMMKDIR | FOF_NOERRORUI;
    ::SHFileOperationW(&operation);
}

}  // namespace update
