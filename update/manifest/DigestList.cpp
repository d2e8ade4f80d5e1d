#include "DigestList.h"

#include "ItemName.h"

namespace {

bool IsSafePath(std::u16string_view path) {
    return IsSafeItemName(reinterpret_cast<const uint16_t*>(path.data()), path.size());
}

}  // namespace

bool IsAcceptedEntry(std::u16string_view name, std::u16string_view folder) {
    if (name.find_first_of(u"/\\") != std::u16string_view::npos || !IsSafePath(name)) return false;
    return folder == kRootFolder || IsSafePath(folder);
}

DigestList ReadDigestList(XmlDocument& document) {
    DigestList list;
    document.FindSibling();
    document.Descend();
    while (document.FindSibling(u"name")) {
        std::u16string name = document.ElementText();
        document.FindSibling(u"md5");
        std::u16string digest = document.ElementText();
        document.FindSibling(u"folder");
        std::u16string folder = document.ElementText();
        if (!IsAcceptedEntry(name, folder)) continue;
        list.fileNames.push_back(name);
        list.fileDigests.push_back(std::move(digest));
        if (folder != kRootFolder) {
            list.folderPairs.push_back(std::move(name));
            list.folderPairs.push_back(std::move(folder));
        }
    }
    return list;
}
