#include "update/manifest/FileMd5.h"

#include "common/Md5Digest.h"
#include "common/Sha256Digest.h"

#include <memory>

#ifdef _WIN32
#include <windows.h>
#endif

namespace update {

namespace {

constexpr size_t kReadBytes = 1 << 20;

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
    // Large reads straight into one buffer: the stream's own buffer would only add a copy of every byte.
    std::setvbuf(file, nullptr, _IONBF, 0);
    const std::unique_ptr<unsigned char[]> block(new unsigned char[kReadBytes]);
    Md5Digest digest;
    for (size_t read; (read = std::fread(block.get(), 1, kReadBytes, file)) > 0;) digest.Update(block.get(), read);
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

std::optional<FileDigestTexts> StreamDigests(std::FILE* file) {
    std::setvbuf(file, nullptr, _IONBF, 0);
    const std::unique_ptr<unsigned char[]> block(new unsigned char[kReadBytes]);
    Md5Digest md5;
    Sha256Digest sha256;
    for (size_t read; (read = std::fread(block.get(), 1, kReadBytes, file)) > 0;) {
        md5.Update(block.get(), read);
        sha256.Update(block.get(), read);
    }
    if (std::ferror(file)) return std::nullopt;
    const std::array<uint8_t, 16> bytes = md5.Finish();
    return FileDigestTexts{HexDigits(bytes.data(), bytes.size(), false), sha256.FinishHex()};
}

#ifdef _WIN32
std::optional<FileDigestTexts> FileDigests(const std::wstring& path) {
    UniqueFile file(::_wfopen(path.c_str(), L"rb"));
#else
std::optional<FileDigestTexts> FileDigests(const char* path) {
    UniqueFile file(std::fopen(path, "rb"));
#endif
    return file ? StreamDigests(file.get()) : std::nullopt;
}

}  // namespace update
