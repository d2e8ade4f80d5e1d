// The MD5 digest of a file as the updater compares it: 32 lower-case hexadecimal digits.
#pragma once
#include <cstdio>
#include <string>

// The digest of everything left in the stream, read in blocks of 1,024 bytes.
std::string StreamMd5Hex(std::FILE* file);

// The digest of the file, or the empty text when it cannot be opened. On Windows the path goes through
// the thread's ANSI code page, so a name outside it cannot be opened.
#ifdef _WIN32
std::string FileMd5Hex(const std::wstring& path);
#else
std::string FileMd5Hex(const char* path);
#endif
