#include "nightcap/online/PageLinks.h"

#include "nightcap/online/TextBytes.h"

namespace nightcap {

namespace {

std::string RemoveAll(std::string text, const std::string& what) {
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at)) text.erase(at, what.size());
    return text;
}

std::vector<std::string> SplitAt(const std::string& text, char separator) {
    std::vector<std::string> parts;
    if (text.empty()) return parts;
    size_t start = 0;
    for (size_t at; (at = text.find(separator, start)) != std::string::npos; start = at + 1)
        parts.push_back(text.substr(start, at - start));
    parts.push_back(text.substr(start));
    return parts;
}

}  // namespace

std::optional<LinkBases> LinkBasesOf(const std::string& url) {
    const std::vector<std::string> parts = SplitAt(RemoveAll(LowerAscii(url), "http://"), '/');
    if (parts.empty()) return std::nullopt;
    LinkBases bases;
    bases.site = "http://" + parts[0];
    bases.folder = bases.site + "/";
    for (size_t i = 1; i + 1 < parts.size(); ++i) bases.folder += parts[i] + "/";
    return bases;
}

std::vector<std::string> LinksOf(const std::string& page, const LinkBases& bases) {
    std::vector<std::string> links;
    for (const std::string& pattern : SplitAt("src=\"|href=\"", '|')) {
        for (size_t at = FindNoCase(page, pattern); at != std::string::npos; at = FindNoCase(page, pattern, at)) {
            at += pattern.size();
            const size_t quote = page.find('"', at);
            if (quote == std::string::npos) break;
            const std::string link = page.substr(at, quote - at);
            if (link.rfind("/", 0) == 0)
                links.push_back(bases.site + link);
            else if (link.rfind("http://", 0) == 0)
                links.push_back(link);
            else
                links.push_back(bases.folder + link);
        }
    }
    return links;
}

}  // namespace nightcap
