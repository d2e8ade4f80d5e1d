#include "server/Manifests.h"

#include "server/ServerOptions.h"

namespace server {

namespace {

constexpr char kExpiresOpen[] = "<expires>";
constexpr char kExpiresClose[] = "</expires>";

}  // namespace

std::string XmlEscaped(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        default: out += c; break;
        }
    }
    return out;
}

std::string DigestManifest(const ReleaseStamp& release, const std::vector<ManifestFile>& files) {
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<files>\r\n";
    xml += "  <release><product>" + XmlEscaped(release.product) + "</product><arch>" + release.arch +
           "</arch><version>" + XmlEscaped(release.version) + "</version>" + kExpiresOpen +
           UtcTimeText(release.expires) + kExpiresClose + "</release>\r\n";
    for (const ManifestFile& file : files) {
        xml += "  <name>" + XmlEscaped(file.name) + "</name><md5>" + file.md5 + "</md5><folder>" +
               XmlEscaped(file.folder) + "</folder><sha256>" + file.sha256 + "</sha256>\r\n";
    }
    return xml + "</files>\r\n";
}

std::string ChangeLogManifest(const std::vector<ChangeEntry>& entries) {
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<update>\r\n<product>\r\n<log>\r\n";
    for (const ChangeEntry& entry : entries) {
        xml += "<Date>" + XmlEscaped(entry.date) + "</Date>\r\n<Version>" + XmlEscaped(entry.version) +
               "</Version>\r\n<Content>" + XmlEscaped(entry.content) + "</Content>\r\n";
    }
    return xml + "</log>\r\n</product>\r\n</update>\r\n";
}

std::string WithExpiry(const std::string& digestList, int64_t expires) {
    // The release element comes before every entry, so its expires is the first in the list.
    const size_t open = digestList.find(kExpiresOpen);
    const size_t entries = digestList.find("<name>");
    if (open == std::string::npos || (entries != std::string::npos && entries < open))
        return {};
    const size_t text = open + sizeof kExpiresOpen - 1;
    const size_t close = digestList.find(kExpiresClose, text);
    if (close == std::string::npos)
        return {};
    return digestList.substr(0, text) + UtcTimeText(expires) + digestList.substr(close);
}

}  // namespace server
