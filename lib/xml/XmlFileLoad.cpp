// LoadFile: the whole file into memory, then LoadBytes. Windows paths are wide.
#include "lib/xml/XmlDocument.h"

#include "lib/xml/XmlText.h"

#include <cerrno>
#include <cstdio>
#include <memory>

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using UniqueFile = std::unique_ptr<std::FILE, FileCloser>;

UniqueFile OpenForReading(const XmlPathChar* path) {
#ifdef _WIN32
    return UniqueFile(_wfopen(path, L"rb"));
#else
    return UniqueFile(std::fopen(path, "rb"));
#endif
}

}  // namespace

bool XmlDocument::LoadFile(const XmlPathChar* path) {
    errno = 0;
    UniqueFile file = OpenForReading(path);
    if (!file) {
        parseResult_ = ErrorNumberText(errno);
        return false;
    }
    long size = -1;
    if (std::fseek(file.get(), 0, SEEK_END) == 0) size = std::ftell(file.get());
    if (size < 0 || std::fseek(file.get(), 0, SEEK_SET) != 0) {
        parseResult_ = ErrorNumberText(errno);
        return false;
    }
    // The bytes are read into the upper part of the text buffer and decoded downwards in place.
    if (!AllocateText(size_t(size))) return false;
    uint8_t* bytes = reinterpret_cast<uint8_t*>(text_.get()) + size + 2;
    size_t read = std::fread(bytes, 1, size_t(size), file.get());
    return DecodeAndParse(bytes, read);
}
