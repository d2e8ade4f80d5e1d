#include "Manifests.h"

#include <windows.h>
#include <shlwapi.h>
#include <urlmon.h>

#include "ChangeLog.h"
#include "DeleteTree.h"
#include "FilePaths.h"
#include "ManifestText.h"
#include "ProductProcess.h"
#include "ServerHosts.h"
#include "WideText.h"
#include "XmlDocument.h"

namespace {

// Downloads the manifest into the working directory under its own name. A failed download is not
// reported: a copy left by an earlier run is read instead, or none.
void DownloadManifest(const wchar_t* manifest) {
    const std::u16string address =
        ManifestAddress(FromAscii(ServerHost(ServerRole::Update)), Utf16(ReadProductName()), Utf16(manifest));
    ::URLDownloadToFileW(nullptr, Wide(address).c_str(), manifest, 0, nullptr);
}

void MakeFolderOnce(const std::wstring& path) {
    if (!::PathIsDirectoryW(path.c_str())) ::CreateDirectoryW(path.c_str(), nullptr);
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

DigestList PrepareDigestList() {
    MakeFolderOnce(Wide(kStagingRoot));
    DownloadManifest(L"update_md5.xml");
    XmlDocument document;
    document.LoadFile(L"update_md5.xml");
    DigestList list = ReadDigestList(document);
    for (const std::u16string& folder : StagingFolders(list)) MakeFolderOnce(Wide(folder));
    return list;
}
