// The manifest rules: the change-log text, the digest-list walk and what it refuses, the paths and
// addresses of a listed file and the digest comparisons (the file digest: FileMd5Test.cpp).
#include "tests/update/XmlTestText.h"
#include "update/manifest/ChangeLog.h"
#include "update/manifest/DigestList.h"
#include "update/manifest/FilePaths.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace update;

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

XmlDocument Loaded(const std::string& utf8) {
    XmlDocument document;
    document.LoadBytes(utf8.data(), utf8.size());
    return document;
}

std::u16string LogOf(const std::string& entries) {
    XmlDocument document = Loaded("<?xml version=\"1.0\"?><log><p><u>" + entries + "</u></p></log>");
    return ChangeLogText(document);
}

DigestList ListOf(const std::string& entries) {
    XmlDocument document = Loaded("<files>" + entries + "</files>");
    return ReadDigestList(document);
}

std::string Entry(const std::string& name, const std::string& md5, const std::string& folder) {
    return "<name>" + name + "</name><md5>" + md5 + "</md5><folder>" + folder + "</folder>";
}

TEST(ChangeLog, EntriesWithDateVersionAndContent) {
    EXPECT_EQ(LogOf("<Date>A</Date><Version>1.1</Version><Content>X</Content>"
                    "<Date>B</Date><Version>1.0</Version><Content>Y</Content>"),
              u"A(1.1)\nX\n\nB(1.0)\nY");
    EXPECT_EQ(LogOf("<Date>A</Date><Content>X</Content>"), u"A(A)\nX");
    EXPECT_EQ(LogOf("<Date> 2013 </Date><Version>v</Version><Content>\n  修复 &amp; 改进\n</Content>"),
              u"2013 (v)\n\n  修复 & 改进");
    EXPECT_EQ(LogOf(""), u"");
    // Names count with their case.
    EXPECT_EQ(LogOf("<date>A</date><Version>1</Version>"), u"");
}

TEST(ChangeLog, EntriesAtTheSecondLevelGiveNoText) {
    XmlDocument document = Loaded("<log><Date>A</Date><Version>1</Version><Content>X</Content></log>");
    EXPECT_EQ(ChangeLogText(document), u"");
    XmlDocument empty = Loaded("");
    EXPECT_EQ(ChangeLogText(empty), u"");
}

TEST(DigestList, NamesDigestsAndFolderPairs) {
    const DigestList list = ListOf(Entry("Nightcap.exe", "0123456789abcdef0123456789abcdef", "NULL") +
                                   Entry("skin.png", "d1", "skin") + Entry("a.dll", "d2", "null") +
                                   Entry("b.dll", "d3", "a/b"));
    EXPECT_EQ(list.fileNames, (std::vector<std::u16string>{u"Nightcap.exe", u"skin.png", u"a.dll", u"b.dll"}));
    EXPECT_EQ(list.fileDigests,
              (std::vector<std::u16string>{u"0123456789abcdef0123456789abcdef", u"d1", u"d2", u"d3"}));
    EXPECT_EQ(list.folderPairs,
              (std::vector<std::u16string>{u"skin.png", u"skin", u"a.dll", u"null", u"b.dll", u"a/b"}));
    EXPECT_EQ(StagingFolders(list), (std::vector<std::u16string>{u"Temp\\skin", u"Temp\\null", u"Temp\\a\\b"}));
    EXPECT_EQ(LocalPath(list, u"b.dll"), u"..\\a/b\\b.dll");
    EXPECT_EQ(LocalPath(list, u"Nightcap.exe"), u"..\\Nightcap.exe");
    EXPECT_EQ(StagingPath(list, u"b.dll"), u"..\\Update\\Temp\\a\\b\\b.dll");
    EXPECT_EQ(StagingPath(list, u"Nightcap.exe"), u"..\\Update\\Temp\\Nightcap.exe");
}

TEST(DigestList, MissingElementsRepeatTheTextBefore) {
    const DigestList list = ListOf("<name>x</name><folder>f</folder>" + Entry("y", "d", "NULL") + "<name>z</name>");
    // x has no md5 of its own: the walk takes y's md5 and folder for it and goes on after them, past y. z has
    // neither: the walk stays on its name.
    EXPECT_EQ(list.fileNames, (std::vector<std::u16string>{u"x", u"z"}));
    EXPECT_EQ(list.fileDigests, (std::vector<std::u16string>{u"d", u"z"}));
    EXPECT_EQ(list.folderPairs, (std::vector<std::u16string>{u"z", u"z"}));
    EXPECT_THAT(ListOf("").fileNames, IsEmpty());
    EXPECT_THAT(ListOf("<md5>d</md5><folder>NULL</folder>").fileNames, IsEmpty());
}

TEST(DigestList, NameListedTwiceGetsBothFolders) {
    const DigestList list = ListOf(Entry("x.dll", "d1", "f1") + Entry("x.dll", "d2", "f2"));
    EXPECT_EQ(LocalPath(list, u"x.dll"), u"..\\f1\\f2\\x.dll");
    EXPECT_EQ(RemotePath(u"Nightcap", list, u"x.dll"), u"Nightcap/f1/f2");
    EXPECT_EQ(StagingPath(list, u"x.dll"), u"..\\Update\\Temp\\f1\\f2\\x.dll");
}

TEST(DigestList, EntriesLeavingTheInstallationAreRefused) {
    std::string entries;
    for (const char* folder : {"..", "../x", "a/../..", "C:", "C:/Windows", "/x", "\\x", "\\\\srv\\share", "a:b",
                               "CON", "x/nul.txt", "a\x01", "", "a/"})
        entries += Entry("bad.dll", "d", folder);
    for (const char* name : {"..", "../x.dll", "sub/x.dll", "a\\x.dll", "C:x.dll", "x.dll:s", "LPT1", "",
                             "\\\\srv\\x", "a\x1f"})
        entries += Entry(name, "d", "NULL");
    entries += Entry("good.dll", "d1", "skin") + Entry("bad.dll", "d", "..\\..\\Windows");
    const DigestList list = ListOf(entries);
    EXPECT_THAT(list.fileNames, ElementsAre(u"good.dll"));
    EXPECT_THAT(list.fileDigests, ElementsAre(u"d1"));
    EXPECT_THAT(list.folderPairs, ElementsAre(u"good.dll", u"skin"));
    EXPECT_TRUE(IsAcceptedEntry(u"更新.dll", u"skin/中"));
    EXPECT_TRUE(IsAcceptedEntry(u"Update.exe", u"Update"));
}

TEST(FilePaths, ServerAddresses) {
    EXPECT_EQ(ManifestAddress(u"up.example:81", u"Nightcap", u"update_md5.xml"),
              u"http://up.example:81/update/Nightcap/update_md5.xml");
    EXPECT_EQ(ManifestAddress(u"up.example", u"", u"update_log.xml"), u"http://up.example/update//update_log.xml");
    const DigestList list = ListOf(Entry("a b.dll", "d", "f") + Entry("c.dll", "d", "NULL"));
    EXPECT_EQ(DownloadAddress(u"stats.example", u"up.example", RemotePath(u"Nightcap", list, u"a b.dll"), u"a b.dll"),
              u"http://stats.example/pm/sd_mgr/pts/web/pm_down.php?p_id=1&p_url=http://up.example/download/"
              u"Nightcap/f/a b.dll");
    EXPECT_EQ(RemotePath(u"Nightcap", list, u"c.dll"), u"Nightcap");
}

TEST(FilePaths, DigestComparisons) {
    const std::u16string digest = u"900150983cd24fb0d6963f7d28e17f72";
    EXPECT_TRUE(IsUpToDate(digest, u"  " + digest + u"\r\n"));
    EXPECT_FALSE(IsUpToDate(digest, u"900150983CD24FB0D6963F7D28E17F72"));
    EXPECT_FALSE(IsUpToDate(u"123", digest));
    EXPECT_TRUE(IsUpToDate(u"", u" "));

    // What arrived is checked against the list whatever the case of its digits.
    EXPECT_TRUE(IsListedContent(digest, u"900150983CD24FB0D6963F7D28E17F72 "));
    EXPECT_FALSE(IsListedContent(digest, u"900150983cd24fb0d6963f7d28e17f7"));
    EXPECT_FALSE(IsListedContent(digest, u"900150983cd24fb0d6963f7d28e17f73"));
    EXPECT_FALSE(IsListedContent(u"", u""));
}

}  // namespace
