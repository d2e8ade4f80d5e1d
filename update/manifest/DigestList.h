// The digest list of update_md5.xml: which files make up the product, their MD5 digests and folders.
#pragma once
#include "lib/xml/XmlDocument.h"
#include "update/manifest/ReleaseData.h"

#include <optional>

#include <string>
#include <string_view>
#include <vector>

namespace update {

// The folder text of a file that lies directly in the installation folder.
inline constexpr std::u16string_view kRootFolder = u"NULL";

// fileNames[i] and fileDigests[i] describe the i-th accepted file entry; folderPairs holds, for each such
// entry whose folder is not "NULL", its name followed by its folder (so its length is even).
// fileSha256[i] is the text of the entry's sha256 element, which a signed release puts right after the
// folder, or empty when there is none. release: what the list says of its release, when it says it.
struct DigestList {
    std::vector<std::u16string> fileNames;
    std::vector<std::u16string> fileDigests;
    std::vector<std::u16string> folderPairs;
    std::vector<std::u16string> fileSha256;
    std::optional<ReleaseData> release;
};

// Whether an entry stays inside the installation folder: the name is one safe path part (no "/" or "\"),
// the folder "NULL" or a relative path of safe parts (the item-name rule: no "..", drive, leading
// separator, UNC, stream, device name or control character).
bool IsAcceptedEntry(std::u16string_view name, std::u16string_view folder);

// Walks the children of the root: each name with the md5 and folder after it. A missing md5 or folder
// repeats the text of the element before it (the walk stays where it was). The sha256 element after a
// folder is read without moving the walk, so it goes on as if the element were not there. Entries that
// IsAcceptedEntry refuses are left out of all the lists. The release element is read as well (ReadReleaseData).
DigestList ReadDigestList(XmlDocument& document);

}  // namespace update
