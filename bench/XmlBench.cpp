// XmlDocument against pugixml on the same files: load, parse and read every entry's texts the way the
// updater reads its manifests. Prints MB/s for both and the ratio (higher is better for XmlDocument).
//   xml_bench [folder for the generated files]
#include "lib/xml/XmlDocument.h"

#include <pugixml.hpp>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

// A digest list shaped like update_md5.xml: name/md5/folder triples, some names with entities or Chinese
// text, some folders in CDATA.
std::string DigestList(size_t targetBytes) {
    std::string xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<files>\n";
    char line[256];
    for (unsigned i = 0; xml.size() < targetBytes; ++i) {
        const char* name = i % 10 == 0 ? "R&amp;D notes %u.txt" : i % 7 == 0 ? "\xE7\x9A\xAE\xE8\x82\xA4%u.png"
                                                                               : "module_%u.dll";
        std::snprintf(line, sizeof line, "  <name>");
        xml += line;
        std::snprintf(line, sizeof line, name, i);
        xml += line;
        std::snprintf(line, sizeof line, "</name>\n  <md5>%08x%08x%08x%08x</md5>\n", i * 2654435761u,
                      i ^ 0x5bd1e995u, i * 40503u, ~i);
        xml += line;
        xml += i % 16 == 0 ? "  <folder><![CDATA[skin/<default>]]></folder>\n"
               : i % 3 == 0 ? "  <folder>NULL</folder>\n"
                            : "  <folder>plugins/\xE6\x8F\x92\xE4\xBB\xB6</folder>\n";
    }
    return xml + "</files>\n";
}

const int kDepth = 16;

// Items each holding a chain of kDepth nested elements with several attributes, the triple innermost.
std::string DeepDocument(size_t targetBytes) {
    std::string xml = "<?xml version=\"1.0\"?>\n<catalog version=\"2\" xmlns:x=\"urn:x\">\n";
    char line[512];
    for (unsigned i = 0; xml.size() < targetBytes; ++i) {
        std::snprintf(line, sizeof line, "<item id=\"%u\" kind='file' size=\"%u\" x:flag=\"on\">", i, i * 37);
        xml += line;
        for (int level = 0; level < kDepth; ++level) {
            std::snprintf(line, sizeof line,
                          "<level n=\"%d\" path='a/b/c' note=\"x &gt; y\" left=\"%u\" right=\"%u\" mode=\"rw\">",
                          level, i + level, i * level);
            xml += line;
        }
        std::snprintf(line, sizeof line,
                      "<name lang=\"en\">item %u</name><md5 kind=\"hex\">%08x%08x%08x%08x</md5>"
                      "<folder type='rel'>data/%u</folder>",
                      i, i * 2654435761u, i, ~i, i * 7u, i % 100);
        xml += line;
        for (int level = 0; level < kDepth; ++level) xml += "</level>";
        xml += "</item>\n";
    }
    return xml + "</catalog>\n";
}

bool WriteFile(const std::string& path, const std::string& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

// Reading a triple: the sum of the text lengths keeps the work from being optimised away.
size_t ReadTriple(XmlDocument& document) {
    size_t total = document.ElementText().size();
    document.FindSibling(u"md5");
    total += document.ElementText().size();
    document.FindSibling(u"folder");
    return total + document.ElementText().size();
}

size_t ReadTriple(pugi::xml_node& node) {
    size_t total = std::strlen(node.child_value());
    node = node.next_sibling("md5");
    total += std::strlen(node.child_value());
    node = node.next_sibling("folder");
    return total + std::strlen(node.child_value());
}

size_t OursDigestList(const std::string& path) {
    XmlDocument document;
    document.LoadFile(path.c_str());
    size_t total = 0;
    if (document.FindSibling() && document.Descend()) {
        while (document.FindSibling(u"name")) total += ReadTriple(document);
    }
    return total;
}

size_t PugiDigestList(const std::string& path) {
    pugi::xml_document document;
    document.load_file(path.c_str());
    size_t total = 0;
    for (pugi::xml_node node = document.first_child().child("name"); node; node = node.next_sibling("name"))
        total += ReadTriple(node);
    return total;
}

size_t OursDeep(const std::string& path) {
    XmlDocument document;
    document.LoadFile(path.c_str());
    size_t total = 0;
    if (!document.FindSibling() || !document.Descend()) return 0;
    while (document.FindSibling(u"item")) {
        XmlPosition item = document.Position();
        for (int level = 0; level < kDepth; ++level) {
            document.Descend();
            document.FindSibling(u"level");
        }
        document.Descend();
        if (document.FindSibling(u"name")) total += ReadTriple(document);
        document.SetPosition(item);
    }
    return total;
}

size_t PugiDeep(const std::string& path) {
    pugi::xml_document document;
    document.load_file(path.c_str());
    size_t total = 0;
    for (pugi::xml_node item = document.first_child().child("item"); item; item = item.next_sibling("item")) {
        pugi::xml_node node = item;
        for (int level = 0; level < kDepth; ++level) node = node.child("level");
        node = node.child("name");
        if (node) total += ReadTriple(node);
    }
    return total;
}

double Seconds(size_t (*run)(const std::string&), const std::string& path, size_t* result) {
    auto start = std::chrono::steady_clock::now();
    *result = run(path);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The two take turns, so both meet the same load from the rest of the machine; the best run of each counts.
void Compare(const char* title, const std::string& path, size_t bytes, size_t (*ours)(const std::string&),
             size_t (*pugi)(const std::string&)) {
    size_t oursResult = 0, pugiResult = 0;
    double oursTime = 1e30, pugiTime = 1e30;
    for (int i = 0; i < 15; ++i) {
        oursTime = std::min(oursTime, Seconds(ours, path, &oursResult));
        pugiTime = std::min(pugiTime, Seconds(pugi, path, &pugiResult));
    }
    double megabytes = bytes / 1e6;
    std::printf("%-10s %5.1f MB  XmlDocument %6.1f MB/s  pugixml %6.1f MB/s  ratio %.2f"
                "  (text read: %zu UTF-16 units / %zu UTF-8 bytes)\n",
                title, megabytes, megabytes / oursTime, megabytes / pugiTime, pugiTime / oursTime, oursResult,
                pugiResult);
}

}  // namespace

int main(int argc, char** argv) {
    std::string folder = argc > 1 ? argv[1] : ".";
    const size_t size = 20 * 1000 * 1000;
    std::string digestPath = folder + "/xml_bench_update_md5.xml", deepPath = folder + "/xml_bench_deep.xml";
    std::string digestList = DigestList(size), deep = DeepDocument(size);
    if (!WriteFile(digestPath, digestList) || !WriteFile(deepPath, deep)) {
        std::fprintf(stderr, "cannot write the documents into %s\n", folder.c_str());
        return 1;
    }
    Compare("update_md5", digestPath, digestList.size(), OursDigestList, PugiDigestList);
    Compare("deep", deepPath, deep.size(), OursDeep, PugiDeep);
    std::remove(digestPath.c_str());
    std::remove(deepPath.c_str());
    return 0;
}
