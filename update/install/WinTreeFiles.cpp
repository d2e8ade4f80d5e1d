#include "update/install/WinTreeFiles.h"

#include <windows.h>

#include "common/Handles.h"
#include "common/OwnProgram.h"
#include "update/manifest/WideText.h"

namespace update {

namespace {

std::wstring FullPath(const std::wstring& path) {
    wchar_t full[MAX_PATH];
    const DWORD length = ::GetFullPathNameW(path.c_str(), MAX_PATH, full, nullptr);
    return length > 0 && length < MAX_PATH ? std::wstring(full, length) : std::wstring();
}

}  // namespace

void WinTreeFiles::CreateFolder(const std::u16string& path) { ::CreateDirectoryW(Wide(path).c_str(), nullptr); }

std::vector<TreeFiles::Entry> WinTreeFiles::List(const std::u16string& folder) {
    std::vector<Entry> entries;
    WIN32_FIND_DATAW found;
    const UniqueFindHandle search(::FindFirstFileW((Wide(folder) + L"\\*.*").c_str(), &found));
    if (!search) return entries;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        entries.push_back(Entry{Utf16(name), (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    } while (::FindNextFileW(search.Get(), &found));
    return entries;
}

bool WinTreeFiles::CopyOver(const std::u16string& from, const std::u16string& to) {
    return ::CopyFileW(Wide(from).c_str(), Wide(to).c_str(), FALSE) != FALSE;
}

bool WinTreeFiles::Exists(const std::u16string& path) {
    const DWORD attributes = ::GetFileAttributesW(Wide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void WinTreeFiles::Remove(const std::u16string& path) { ::DeleteFileW(Wide(path).c_str()); }

bool WinTreeFiles::IsOwnExecutable(const std::u16string& path) {
    const std::wstring own = FullPath(OwnProgramPath()), target = FullPath(Wide(path));
    return !own.empty() && ::CompareStringOrdinal(own.c_str(), int(own.size()), target.c_str(), int(target.size()),
                                                  TRUE) == CSTR_EQUAL;
}

}  // namespace update
