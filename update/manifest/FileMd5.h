// The MD5 digest of a file as the updater compares it: 32 lower-case hexadecimal digits.
#pragma once
#include <cstdio>
#include <optional>
#include <string>

namespace update {

// The digest of everything left in the stream, read in blocks of 1 MiB.
std::string StreamMd5Hex(std::FILE* file);

// The digest of the file, or the empty text when it cannot be opened. On Windows the path goes through
// the thread's ANSI code page, so a name outside it cannot be opened.
#ifdef _WIN32
std::string FileMd5Hex(const std::wstring& path);
#else
std::string FileMd5Hex(const char* path);
#endif

// Both digests a signed release lists, as lower-case hexadecimal, from one pass over the file.
struct FileDigestTexts {
    std::string md5;
    std::string sha256;
};
std::optional<FileDigestTexts> StreamDigests(std::FILE* file);
// The digests of the file, or nullopt when it cannot be opened or read (any name, on Windows too).
#ifdef _WIN32
std::optional<FileDigestTexts> FileDigests(const std::wstring& path);
#else
std::optional<FileDigestTexts> FileDigests(const char* path);
#endif

}  // namespace update
