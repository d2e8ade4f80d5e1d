#include "common/InstallRecordFile.h"

#include <windows.h>

#include "common/Handles.h"
#include "common/InstallRecord.h"

namespace {

// A record of kMaxRecordedFiles paths of 260 units takes about 10 MB.
constexpr LONGLONG kMaxRecordBytes = 16 * 1024 * 1024;

std::wstring RecordPath(const std::wstring& folder) {
    return folder + reinterpret_cast<const wchar_t*>(kInstallRecordName);
}

}  // namespace

std::vector<std::u16string> ReadInstallRecordFile(const std::wstring& folder) {
    const UniqueHandle file(::CreateFileW(RecordPath(folder).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !::GetFileSizeEx(file.Get(), &size) || size.QuadPart > kMaxRecordBytes) return {};
    std::string bytes(size_t(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes.empty() && !::ReadFile(file.Get(), &bytes[0], DWORD(bytes.size()), &read, nullptr)) return {};
    bytes.resize(read);
    return ParseInstallRecord(bytes);
}

bool AddToInstallRecord(const std::wstring& folder, const std::vector<std::u16string>& paths) {
    const std::string bytes = InstallRecordBytes(WithRecorded(ReadInstallRecordFile(folder), paths));
    const std::wstring target = RecordPath(folder), fresh = target + L".new";
    {
        const UniqueHandle file(::CreateFileW(fresh.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                              FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        if (!file || !::WriteFile(file.Get(), bytes.data(), DWORD(bytes.size()), &written, nullptr) ||
            written != bytes.size() || !::FlushFileBuffers(file.Get())) {
            ::DeleteFileW(fresh.c_str());
            return false;
        }
    }
    if (::MoveFileExW(fresh.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
    ::DeleteFileW(fresh.c_str());
    return false;
}
