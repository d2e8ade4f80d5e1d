#include "update/manifest/ManifestDownloads.h"

#include <windows.h>
#include <shlwapi.h>

#include "common/Handles.h"
#include "common/ReleaseChannel.h"
#include "common/RequestLimits.h"
#include "common/ServerHosts.h"
#include "framework/InternetSession.h"
#include "lib/xml/XmlDocument.h"
#include "update/manifest/ChangeLog.h"
#include "update/manifest/DeleteTree.h"
#include "update/manifest/FilePaths.h"
#include "update/manifest/ManifestText.h"
#include "update/manifest/ProductProcess.h"
#include "update/manifest/WideText.h"

namespace update {

namespace {

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

// The manifest at address, whole, within the manifest time limit; nothing when the server is missing, answers
// anything but the file, stalls, or sends more than maxBytes.
std::optional<std::string> FetchManifest(const std::wstring& address, size_t maxBytes) {
    const ULONGLONG deadline = ::GetTickCount64() + kManifestLimitMs;
    CInternetSession session(L"Update");
    session.LimitWaits(kManifestLimitMs);
    const std::unique_ptr<CHttpFile> file =
        session.OpenURL(address.c_str(), 1, INTERNET_FLAG_RELOAD | INTERNET_FLAG_TRANSFER_BINARY);
    DWORD status = 0;
    if (!file || !file->QueryInfoStatusCode(status) || status != HTTP_STATUS_OK) return std::nullopt;
    std::string bytes;
    for (;;) {
        char chunk[16384];
        UINT read = 0;
        if (!file->Read(chunk, sizeof chunk, read) || ::GetTickCount64() > deadline) return std::nullopt;
        if (read == 0) return bytes;
        bytes.append(chunk, read);
        if (bytes.size() > maxBytes) return std::nullopt;
    }
}

// Downloads the manifest into the working directory under its own name. A failed download is not
// reported: a copy left by an earlier run is read instead, or none.
void DownloadManifest(const wchar_t* manifest) {
    const std::u16string address =
        ManifestAddress(FromAscii(ServerHost(ServerRole::Update)), Utf16(ChannelProductName()), Utf16(manifest));
    const std::optional<std::string> bytes = FetchManifest(Wide(address), kMaxManifestBytes);
    if (!bytes) return;
    const UniqueHandle file(
        ::CreateFileW(manifest, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (!file || (!bytes->empty() && (!::WriteFile(file.Get(), bytes->data(), DWORD(bytes->size()), &written, nullptr) ||
                                      written != bytes->size())))
        ::DeleteFileW(manifest);  // never half a manifest
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

}  // namespace update
