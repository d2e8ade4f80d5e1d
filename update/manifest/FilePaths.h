// Where a listed file lives: its local copy, its address on the servers, its place in the staging folder.
// Every file gets one folder level per pair of the digest list that carries its name, in list order.
#pragma once
#include "update/manifest/DigestList.h"

#include <string>
#include <string_view>
#include <vector>

namespace update {

// The staging folder as the worker writes into it, relative to the updater's working directory.
inline constexpr std::u16string_view kStagingRoot = u"..\\Update\\Temp";

// "..\" + each matching folder as written + "\" + name: the local copy inside the installation folder.
std::u16string LocalPath(const DigestList& list, std::u16string_view name);
// product + "/" + each matching folder as written: the file's folder on the update server.
std::u16string RemotePath(std::u16string_view product, const DigestList& list, std::u16string_view name);
// kStagingRoot + "\" + each matching folder (with "\") + "\" + name.
std::u16string StagingPath(const DigestList& list, std::u16string_view name);
// "Temp\" + folder (with "\") for each pair in list order: the staging folders to create, one level each.
std::vector<std::u16string> StagingFolders(const DigestList& list);

// "http://" + updateHost + "/update/" + product + "/" + manifest (update_log.xml or update_md5.xml).
std::u16string ManifestAddress(std::u16string_view updateHost, std::u16string_view product,
                               std::u16string_view manifest);
// The statistics server's download counter handing out remotePath/name from the update server; nothing in
// it is percent-encoded.
std::u16string DownloadAddress(std::u16string_view statsHost, std::u16string_view updateHost,
                               std::u16string_view remotePath, std::u16string_view name);

// The local copy is up to date: both digests, trimmed, are equal (case counts; a missing local copy has
// the digest "123", which equals nothing).
bool IsUpToDate(std::u16string_view localDigest, std::u16string_view listedDigest);
// A downloaded file is the listed one: its digest equals the listed digest, trimmed, ignoring the case of
// the hexadecimal digits.
bool IsListedContent(std::u16string_view receivedDigest, std::u16string_view listedDigest);

}  // namespace update
