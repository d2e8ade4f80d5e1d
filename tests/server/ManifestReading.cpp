#include "ManifestReading.h"

#include "XmlDocument.h"

std::string Utf8(const std::u16string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size())
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// The root, then its children: name, md5, folder, name...
std::vector<ReadDigest> ReadDigestList(const std::string& xml) {
    XmlDocument document;
    document.LoadBytes(xml.data(), xml.size());
    std::vector<ReadDigest> files;
    if (!document.FindSibling() || !document.Descend())
        return files;
    while (document.FindSibling(u"name")) {
        ReadDigest file;
        file.name = Utf8(document.ElementText());
        document.FindSibling(u"md5");
        file.md5 = Utf8(document.ElementText());
        document.FindSibling(u"folder");
        file.folder = Utf8(document.ElementText());
        files.push_back(file);
    }
    return files;
}

// Three levels down, then Date, Version, Content per entry.
std::vector<ReadChange> ReadChangeLog(const std::string& xml) {
    XmlDocument document;
    document.LoadBytes(xml.data(), xml.size());
    std::vector<ReadChange> entries;
    for (int level = 0; level < 3; ++level) {
        if (!document.FindSibling() || !document.Descend())
            return entries;
    }
    while (document.FindSibling(u"Date")) {
        ReadChange entry;
        entry.date = Utf8(document.ElementText());
        document.FindSibling(u"Version");
        entry.version = Utf8(document.ElementText());
        document.FindSibling(u"Content");
        entry.content = Utf8(document.ElementText());
        entries.push_back(entry);
    }
    return entries;
}
