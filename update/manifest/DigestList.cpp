#include "update/manifest/DigestList.h"

#include "common/ItemName.h"

namespace update {

namespace {

bool IsSafePath(std::u16string_view path) {
    return IsSafeItemName(reinterpret_cast<const uint16_t*>(path.data()), path.size());
}

// The text of the element right after the current one when that element is a sha256; the position stays.
std::u16string Sha256AfterCurrent(XmlDocument& document) {
    const XmlPosition current = document.Position();
    std::u16string text;
    if (document.FindSibling()) {
        const uint32_t next = document.Position().element;
        document.SetPosition(current);
        if (document.FindSibling(u"sha256") && document.Position().element == next) text = document.ElementText();
    }
    document.SetPosition(current);
    return text;
}

}  // namespace

bool IsAcceptedEntry(std::u16string_view name, std::u16string_view folder) {
    if (name.find_first_of(u"/\\") != std::u16string_view::npos || !IsSafePath(name)) return false;
    return folder == kRootFolder || IsSafePath(folder);
}

DigestList ReadDigestList(XmlDocument& document) {
    DigestList list;
    list.release = ReadReleaseData(document);
    document.FindSibling();
    document.Descend();
    while (document.FindSibling(u"name")) {
        std::u16string name = document.ElementText();
        document.FindSibling(u"md5");
        std::u16string digest = document.ElementText();
        document.FindSibling(u"folder");
        std::u16string folder = document.ElementText();
        std::u16string sha256 = Sha256AfterCurrent(document);
        if (!IsAcceptedEntry(name, folder)) continue;
        list.fileNames.push_back(name);
        list.fileDigests.push_back(std::move(digest));
        list.fileSha256.push_back(std::move(sha256));
        if (folder != kRootFolder) {
            list.folderPairs.push_back(std::move(name));
            list.folderPairs.push_back(std::move(folder));
        }
    }
    return list;
}

}  // namespace update
