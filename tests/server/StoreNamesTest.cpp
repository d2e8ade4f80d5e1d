// The name rules that keep requests and releases inside the store and the installation folder.
#include "server/StoreNames.h"

#include <gtest/gtest.h>

using namespace server;

namespace {

TEST(StoreNamesTest, SegmentsSafeInTheStoreOnWindowsAndUnescapedInAnAddress) {
    for (const char* good : {"Nightcap.exe", "XLUE.dll", "update", "a-b_c.1~(2)", ".hidden"})
        EXPECT_TRUE(IsSafeSegment(good)) << good;
    for (const char* bad : {"", ".", "..", "...", "a.", "a b", "a\\b", "a/b", "a:b", "a%2e", "a?b", "a&b", "a+b",
                            "a#b", "CON", "con.txt", "Com1", "LPT9.log", "\xe4\xb8\xad", "COM0", "lpt0.txt",
                            "UPDATE~1.EXE", "PROGRA~1", "a~12"})
        EXPECT_FALSE(IsSafeSegment(bad)) << bad;
    EXPECT_TRUE(IsSafeSegment(std::string(128, 'a')));
    EXPECT_FALSE(IsSafeSegment(std::string(129, 'a')));
    // The updater refuses COM0 and LPT0 as it does COM1: publish must not list what no installation takes.
    EXPECT_TRUE(IsSafeSegment("COM10"));
    EXPECT_TRUE(IsSafeSegment("CONSOLE"));
}

TEST(StoreNamesTest, PathsAreSafeSegmentsOnly) {
    EXPECT_EQ(SafeSegments("a/b/c"), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_FALSE(SafeSegments("a//b"));
    EXPECT_FALSE(SafeSegments("/a"));
    EXPECT_FALSE(SafeSegments("a/"));
    EXPECT_FALSE(SafeSegments("a/../b"));
    std::string deep = "a";
    for (int i = 1; i < 16; ++i)
        deep += "/a";
    EXPECT_TRUE(SafeSegments(deep));
    EXPECT_FALSE(SafeSegments(deep + "/a"));
}

TEST(StoreNamesTest, ProductsAndVersions) {
    EXPECT_TRUE(IsProductName("Nightcap"));
    EXPECT_FALSE(IsProductName("Night.cap"));
    EXPECT_FALSE(IsProductName(".."));
    EXPECT_FALSE(IsProductName(std::string(65, 'a')));
    EXPECT_TRUE(IsVersionText("1.002"));
    EXPECT_FALSE(IsVersionText(".1"));
    EXPECT_FALSE(IsVersionText("1/2"));
    EXPECT_FALSE(IsVersionText("1.0 beta"));
}

TEST(StoreNamesTest, OwnDownloadPathOnlyForOurHostsAndTree) {
    const std::vector<std::string> hosts = {"update.example", "127.0.0.1:8080", ""};
    EXPECT_EQ(OwnDownloadPath("http://update.example/download/Nightcap/Update/Update.exe", hosts),
              "Nightcap/Update/Update.exe");
    EXPECT_EQ(OwnDownloadPath("HTTP://UPDATE.example/download/Nightcap/a.exe", hosts), "Nightcap/a.exe");
    EXPECT_EQ(OwnDownloadPath("http://127.0.0.1:8080/download/Nightcap/a.exe", hosts), "Nightcap/a.exe");
    EXPECT_FALSE(OwnDownloadPath("http://127.0.0.1:8081/download/Nightcap/a.exe", hosts));
    EXPECT_FALSE(OwnDownloadPath("http:///download/Nightcap/a.exe", hosts));  // the empty name is never ours
    EXPECT_FALSE(OwnDownloadPath("http://update.example/Download/Nightcap/a.exe", hosts));
    EXPECT_FALSE(OwnDownloadPath("http://update.example/download/Nightcap", hosts));
    EXPECT_FALSE(OwnDownloadPath("http://update.example/download/Night.cap/a.exe", hosts));
    EXPECT_FALSE(OwnDownloadPath("http://update.example/download/Nightcap/../a.exe", hosts));
    EXPECT_FALSE(OwnDownloadPath("http://update.example", hosts));
    EXPECT_FALSE(OwnDownloadPath("//update.example/download/Nightcap/a.exe", hosts));
}

}  // namespace
