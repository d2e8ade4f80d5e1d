#include "setup/payload/WinExtractTarget.h"

#include <shlobj.h>

namespace setup {

namespace {

static_assert(sizeof(wchar_t) == sizeof(uint16_t), "UTF-16 paths are wide strings");

LPCWSTR Wide(const uint16_t* path) { return reinterpret_cast<LPCWSTR>(path); }

}  // namespace

void WinExtractTarget::CreateFolderTree(const uint16_t* path) { SHCreateDirectory(nullptr, Wide(path)); }

void WinExtractTarget::CreateFolder(const uint16_t* path) { CreateDirectoryW(Wide(path), nullptr); }

bool WinExtractTarget::CreateOutputFile(const uint16_t* path) {
    file_.Reset(CreateFileW(Wide(path), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                            nullptr));
    if (file_) created_.emplace_back(reinterpret_cast<const char16_t*>(path));
    return static_cast<bool>(file_);
}

size_t WinExtractTarget::Write(const uint8_t* bytes, size_t size) {
    DWORD written = 0;
    if (!WriteFile(file_.Get(), bytes, static_cast<DWORD>(size), &written, nullptr)) return 0;
    return written;
}

void WinExtractTarget::SetModificationTime(uint64_t fileTime) {
    FILETIME time = {static_cast<DWORD>(fileTime), static_cast<DWORD>(fileTime >> 32)};
    SetFileTime(file_.Get(), nullptr, nullptr, &time);
}

void WinExtractTarget::CloseFile() { file_.Reset(); }

void WinExtractTarget::RemoveFile(const uint16_t* path) {
    DeleteFileW(Wide(path));
    const std::u16string removed(reinterpret_cast<const char16_t*>(path));
    if (!created_.empty() && created_.back() == removed) created_.pop_back();
}

}  // namespace setup
