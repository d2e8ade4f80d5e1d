#include "FileMd5.h"

#include "Md5Digest.h"

#include <memory>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using UniqueFile = std::unique_ptr<std::FILE, FileCloser>;

#ifdef _WIN32
// The path in the thread's ANSI code page; characters it lacks become its default character.
std::string AnsiPath(const std::wstring& path) {
    const int size = ::WideCharToMultiByte(CP_THREAD_ACP, 0, path.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return std::string();
    std::string ansi(size_t(size), '\0');
    ::WideCharToMultiByte(CP_THREAD_ACP, 0, path.c_str(), -1, &ansi[0], size, nullptr, nullptr);
    ansi.resize(size_t(size) - 1);
    return ansi;
}
#endif

}  // namespace

std::string StreamMd5Hex(std::FILE* file) {
    // The stream fetches 64 KiB from the file at a time, whatever the block size of the reads from it.
    std::setvbuf(file, nullptr, _IOFBF, 1 << 16);
    Md5Digest digest;
    unsigned char block[1024];
    for (size_t read; (read = std::fread(block, 1, sizeof block, file)) > 0;) digest.Update(block, read);
    const std::array<uint8_t, 16> bytes = digest.Finish();
    return HexDigits(bytes.data(), bytes.size(), false);
}

#ifdef _WIN32
std::string FileMd5Hex(const std::wstring& path) {
    const std::string ansi = AnsiPath(path);
    UniqueFile file(ansi.empty() ? nullptr : std::fopen(ansi.c_str(), "rb"));
#else
std::string FileMd5Hex(const char* path) {
    UniqueFile file(std::fopen(path, "rb"));
#endif
    return file ? StreamMd5Hex(file.get()) : std::string();
}
