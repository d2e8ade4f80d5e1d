// LoadFile: the whole file into memory, then LoadBytes. Windows paths are wide.
#include "XmlDocument.h"

#include "XmlText.h"

#include <cerrno>
#include <cstdio>
#include <memory>
#include <new>

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
    std::unique_ptr<unsigned char[]> bytes(new (std::nothrow) unsigned char[size_t(size) + 1]);
    if (!bytes) {
        parseResult_ = ErrorNumberText(ENOMEM);
        return false;
    }
    size_t read = std::fread(bytes.get(), 1, size_t(size), file.get());
    return LoadBytes(bytes.get(), read);
}
