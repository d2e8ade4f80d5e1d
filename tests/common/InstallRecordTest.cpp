// The install record: the bytes written and read back, what a damaged record yields, merging the paths of
// an update, and the folders an uninstall may remove, deepest first.
#include "common/InstallRecord.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using ::testing::ElementsAre;

std::string Utf16Bytes(const std::u16string& text) {
    std::string bytes;
    for (char16_t c : text) {
        bytes.push_back(char(c & 0xFF));
        bytes.push_back(char(c >> 8));
    }
    return bytes;
}

TEST(InstallRecord, WrittenAndReadBackWithOnlySafePathsEachOnce) {
    const std::vector<std::u16string> paths = {u"Nightcap.exe", u"update\\Update.exe", u"skin\\更新.png"};
    EXPECT_EQ(ParseInstallRecord(InstallRecordBytes(paths)), paths);
    // Forward slashes read as backslashes; a path listed again in another case counts once; unsafe lines,
    // an empty one and a last one without its line end: the safe ones are kept.
    const std::string bytes = Utf16Bytes(u"a/b.dll\r\nA\\B.DLL\r\n..\\..\\Windows\\x.dll\r\n\r\nC:\\x\r\n"
                                         u"update\\UPDATE~1.EXE\nz.txt") + "\x01";
    EXPECT_THAT(ParseInstallRecord(bytes), ElementsAre(u"a\\b.dll", u"z.txt"));
    EXPECT_TRUE(ParseInstallRecord("").empty());
}

TEST(InstallRecord, AnUpdateAddsItsFilesAfterTheRecordedOnes) {
    const std::vector<std::u16string> merged =
        WithRecorded({u"Nightcap.exe", u"update\\Update.exe"}, {u"Update\\Update.exe", u"skin\\new.png", u"../x"});
    EXPECT_THAT(merged, ElementsAre(u"Nightcap.exe", u"update\\Update.exe", u"skin\\new.png"));
}

TEST(InstallRecord, FoldersDeepestFirstEachOnce) {
    EXPECT_THAT(RecordedFolders({u"Nightcap.exe", u"update\\Update.exe", u"skin\\a\\b.png", u"Skin\\c.png",
                                 u"update\\View.xar"}),
                ElementsAre(u"skin\\a", u"update", u"skin"));
}

}  // namespace
