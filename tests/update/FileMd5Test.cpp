// The digest of a file as the updater compares it, through the Windows file names.
#include "common/Md5Digest.h"
#include "tests/support/TempFolder.h"
#include "update/manifest/FileMd5.h"

#include <gtest/gtest.h>

#include <string>

using namespace update;

namespace {

TEST(FileMd5Hex, DigestOfTheFileBytes) {
    TempFolder folder;
    ASSERT_TRUE(WriteFileBytes(folder / L"abc.txt", "abc"));
    EXPECT_EQ(FileMd5Hex(folder / L"abc.txt"), "900150983cd24fb0d6963f7d28e17f72");
    // Across several 1,024-byte blocks, with bytes of every value.
    std::string bytes;
    for (int i = 0; i < 3000; ++i) bytes.push_back(char(i * 7));
    ASSERT_TRUE(WriteFileBytes(folder / L"更新.bin", bytes));
    EXPECT_EQ(FileMd5Hex(folder / L"更新.bin"), Md5Digest::Hex(bytes.data(), bytes.size(), false));
    ASSERT_TRUE(WriteFileBytes(folder / L"empty", ""));
    EXPECT_EQ(FileMd5Hex(folder / L"empty"), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(FileMd5Hex(folder / L"missing"), "");
    // A name the ANSI code page cannot spell cannot be opened.
    ASSERT_TRUE(WriteFileBytes(folder / L"\x0e01.bin", "abc"));
    EXPECT_EQ(FileMd5Hex(folder / L"\x0e01.bin"), "");
}

}  // namespace
