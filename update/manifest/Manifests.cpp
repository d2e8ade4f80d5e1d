#include "Manifests.h"

#include <windows.h>
#include <shlwapi.h>
#include <urlmon.h>

#include "ChangeLog.h"
#include "DeleteTree.h"
#include "FilePaths.h"
#include "Handles.h"
#include "ManifestText.h"
#include "ProductProcess.h"
#include "ReleaseChannel.h"
#include "ServerHosts.h"
#include "WideText.h"
#include "XmlDocument.h"

namespace {

// Downloads the manifest into the working directory under its own name. A failed download is not
// reported: a copy left by an earlier run is read instead, or none.
void DownloadManifest(const wchar_t* manifest) {
    const std::u16string address =
        ManifestAddress(FromAscii(ServerHost(ServerRole::Update)), Utf16(ChannelProductName()), Utf16(manifest));
    ::URLDownloadToFileW(nullptr, Wide(address).c_str(), manifest, 0, nullptr);
}

void MakeFolderOnce(const std::wstring& path) {
    if (!::PathIsDirectoryW(path.c_str())) ::CreateDirectoryW(path.c_str(), nullptr);
}

// A digest list of 10,000 files takes well under 2 MB; a signature file a kilobyte.
constexpr DWORD kMaxManifestBytes = 32 * 1024 * 1024;

// The whole file, or nullopt when it is missing, unreadable or larger than maxBytes.
std::optional<std::string> ReadWholeFile(const wchar_t* path, DWORD maxBytes) {
    const UniqueHandle file(::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !::GetFileSizeEx(file.Get(), &size) || size.QuadPart > maxBytes) return std::nullopt;
    std::string bytes(size_t(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes.empty() && (!::ReadFile(file.Get(), &bytes[0], DWORD(bytes.size()), &read, nullptr) ||
                           read != bytes.size()))
        return std::nullopt;
    return bytes;
}

// Seconds since 1970-01-01 UTC on the machine's clock.
int64_t UnixNow() {
    FILETIME now{};
    ::GetSystemTimeAsFileTime(&now);
    const uint64_t ticks = uint64_t(now.dwHighDateTime) << 32 | now.dwLowDateTime;
    return int64_t(ticks / 10000000) - 11644473600;
}

}  // namespace

std::wstring FetchUpdateLog() {
    DeleteTree(L"Temp");
    KillProduct();
    DownloadManifest(L"update_log.xml");
    XmlDocument document;
    document.LoadFile(L"update_log.xml");
    return Wide(ChangeLogText(document));
}

DigestList PrepareDigestList() { return *PrepareTrustedDigestList(ReleaseTrust(), u""); }

std::optional<DigestList> PrepareTrustedDigestList(const ReleaseTrust& trust, std::u16string_view ownVersion) {
    MakeFolderOnce(Wide(kStagingRoot));
    XmlDocument document;
    DigestList list;
    if (!trust.RequiresSignature()) {
        DownloadManifest(L"update_md5.xml");
        document.LoadFile(L"update_md5.xml");
        list = ReadDigestList(document);
    } else {
        // A stale copy must never stand in for a missing one; the bytes checked are the bytes read.
        ::DeleteFileW(L"update_md5.xml");
        ::DeleteFileW(L"update_md5.xml.sig");
        DownloadManifest(L"update_md5.xml");
        DownloadManifest(L"update_md5.xml.sig");
        const std::optional<std::string> bytes = ReadWholeFile(L"update_md5.xml", kMaxManifestBytes);
        if (!bytes) return std::nullopt;
        document.LoadBytes(bytes->data(), bytes->size());
        list = ReadDigestList(document);
        if (!trust.AcceptsDigestList(*bytes, ReadWholeFile(L"update_md5.xml.sig", 64 * 1024), list))
            return std::nullopt;
        const InstalledRelease installed{Utf16(ReadProductName()), FromAscii(NIGHTCAP_CHANNEL_ARCH),
                                         std::u16string(ownVersion)};
        if (!trust.AcceptsRelease(list, installed, UnixNow())) return std::nullopt;
    }
    for (const std::u16string& folder : StagingFolders(list)) MakeFolderOnce(Wide(folder));
    return list;
}
