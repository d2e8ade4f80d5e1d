#include "update/manifest/FilePaths.h"

#include "update/manifest/ManifestText.h"

namespace update {

namespace {

// Calls visit(folder) for each pair whose name equals name, in list order.
template <typename Visit>
void ForEachFolderOf(const DigestList& list, std::u16string_view name, Visit visit) {
    for (size_t i = 0; i + 1 < list.folderPairs.size(); i += 2)
        if (list.folderPairs[i] == name) visit(list.folderPairs[i + 1]);
}

char16_t LowerHex(char16_t c) { return c >= u'A' && c <= u'F' ? char16_t(c - u'A' + u'a') : c; }

}  // namespace

std::u16string LocalPath(const DigestList& list, std::u16string_view name) {
    std::u16string path = u"..\\";
    ForEachFolderOf(list, name, [&](const std::u16string& folder) { path += folder + u"\\"; });
    return path.append(name);
}

std::u16string RemotePath(std::u16string_view product, const DigestList& list, std::u16string_view name) {
    std::u16string path(product);
    ForEachFolderOf(list, name, [&](const std::u16string& folder) { path += u"/" + folder; });
    return path;
}

std::u16string StagingPath(const DigestList& list, std::u16string_view name) {
    std::u16string path(kStagingRoot);
    path += u"\\";
    ForEachFolderOf(list, name, [&](const std::u16string& folder) { path += WithBackslashes(folder) + u"\\"; });
    return path.append(name);
}

std::vector<std::u16string> StagingFolders(const DigestList& list) {
    std::vector<std::u16string> folders;
    for (size_t i = 1; i < list.folderPairs.size(); i += 2)
        folders.push_back(u"Temp\\" + WithBackslashes(list.folderPairs[i]));
    return folders;
}

std::u16string ManifestAddress(std::u16string_view updateHost, std::u16string_view product,
                               std::u16string_view manifest) {
    std::u16string address = u"http://";
    address.append(updateHost).append(u"/update/").append(product).append(u"/").append(manifest);
    return address;
}

std::u16string DownloadAddress(std::u16string_view statsHost, std::u16string_view updateHost,
                               std::u16string_view remotePath, std::u16string_view name) {
    std::u16string address = u"http://";
    address.append(statsHost).append(u"/pm/sd_mgr/pts/web/pm_down.php?p_id=1&p_url=http://");
    address.append(updateHost).append(u"/download/").append(remotePath).append(u"/").append(name);
    return address;
}

bool IsUpToDate(std::u16string_view localDigest, std::u16string_view listedDigest) {
    return Trimmed(localDigest) == Trimmed(listedDigest);
}

bool IsListedContent(std::u16string_view receivedDigest, std::u16string_view listedDigest) {
    const std::u16string received = Trimmed(receivedDigest), listed = Trimmed(listedDigest);
    if (received.empty() || received.size() != listed.size()) return false;
    for (size_t i = 0; i < received.size(); ++i)
        if (LowerHex(received[i]) != LowerHex(listed[i])) return false;
    return true;
}

}  // namespace update
