#include "lib/xml/XmlPath.h"

namespace {

// "@n" with n from 1; 0 for anything else.
uint32_t ChildNumber(std::u16string_view segment) {
    if (segment.size() < 2 || segment.size() > 10 || segment[0] != u'@') return 0;
    uint64_t number = 0;
    for (char16_t c : segment.substr(1)) {
        if (c < u'0' || c > u'9') return 0;
        number = number * 10 + (c - u'0');
    }
    return number <= 0xFFFFFFFF ? uint32_t(number) : 0;
}

bool MoveWithinLevel(XmlDocument& document, std::u16string_view segment) {
    if (segment.empty()) return false;
    if (segment[0] != u'@') return document.FindSibling(segment);
    uint32_t number = ChildNumber(segment);
    if (number == 0) return false;
    for (uint32_t i = 0; i < number; ++i) {
        if (!document.FindSibling()) return false;
    }
    return true;
}

}  // namespace

bool MoveToPath(XmlDocument& document, std::u16string_view path) {
    const XmlPosition before = document.Position();
    document.SetPosition({});
    bool found = !path.empty();
    for (size_t at = 0; found && at <= path.size();) {
        size_t slash = path.find(u'/', at);
        if (slash == std::u16string_view::npos) slash = path.size();
        if (at != 0) found = document.Descend();
        found = found && MoveWithinLevel(document, path.substr(at, slash - at));
        at = slash + 1;
    }
    if (!found) document.SetPosition(before);
    return found;
}

std::optional<std::u16string> PathText(XmlDocument& document, std::u16string_view path) {
    if (!MoveToPath(document, path)) return std::nullopt;
    return document.ElementText();
}
