// Reads the input as update_md5.xml and update_log.xml the way the updater does, then builds every path
// and address of the accepted entries, checking that each one stays inside the installation folder and
// the staging folder.
#include "common/ItemName.h"
#include "lib/xml/XmlDocument.h"
#include "update/manifest/ChangeLog.h"
#include "update/manifest/DigestList.h"
#include "update/manifest/FilePaths.h"

#include <cstdint>
#include <cstdlib>
#include <string>

using namespace update;

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

bool StartsWith(const std::u16string& text, std::u16string_view prefix) {
    return text.compare(0, prefix.size(), prefix.data(), prefix.size()) == 0;
}

// The part after prefix is a relative path of safe parts: no "..", drive, stream, device or control
// character, nothing empty.
void CheckInside(const std::u16string& path, std::u16string_view prefix) {
    Check(StartsWith(path, prefix));
    const std::u16string rest = path.substr(prefix.size());
    Check(IsSafeItemName(reinterpret_cast<const uint16_t*>(rest.data()), rest.size()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    XmlDocument log;
    log.LoadBytes(data, size);
    Check(ChangeLogText(log).size() <= 4 * size_t(log.TextLength()) + 8);

    XmlDocument manifest;
    manifest.LoadBytes(data, size);
    const DigestList list = ReadDigestList(manifest);
    Check(list.fileNames.size() == list.fileDigests.size() && list.fileNames.size() == list.fileSha256.size());
    Check(list.folderPairs.size() % 2 == 0 && list.folderPairs.size() <= 2 * list.fileNames.size());
    for (size_t i = 0; i < list.fileNames.size(); ++i) {
        const std::u16string& name = list.fileNames[i];
        Check(name.find_first_of(u"/\\") == std::u16string::npos);
        CheckInside(LocalPath(list, name), u"..\\");
        CheckInside(StagingPath(list, name), u"..\\Update\\Temp\\");
        const std::u16string remote = RemotePath(u"Nightcap", list, name);
        Check(StartsWith(remote, u"Nightcap"));
        if (remote.size() > 8) CheckInside(remote.substr(9), u"");
        const std::u16string address = DownloadAddress(u"s", u"u", remote, name);
        Check(StartsWith(address, u"http://s/pm/sd_mgr/pts/web/pm_down.php?p_id=1&p_url=http://u/download/"));
        IsUpToDate(list.fileDigests[i], name);
        IsListedContent(list.fileDigests[i], name);
    }
    for (const std::u16string& folder : StagingFolders(list)) CheckInside(folder, u"Temp\\");
    return 0;
}
