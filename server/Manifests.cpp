#include "Manifests.h"

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

std::string DigestManifest(const std::vector<ManifestFile>& files) {
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<files>\r\n";
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
