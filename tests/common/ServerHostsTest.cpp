// The server host settings: built-in hosts, environment overrides and what counts as a valid setting.
#include "common/ServerHosts.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

TEST(ServerHosts, OverrideWhenValid) {
    EXPECT_EQ(ChooseServerHost(nullptr, "built.in"), "built.in");
    EXPECT_EQ(ChooseServerHost("127.0.0.1:8080", "built.in"), "127.0.0.1:8080");
    EXPECT_EQ(ChooseServerHost(" stats.local ", "built.in"), "stats.local");
    for (const char* bad : {"", "  ", "http://h", "h/x", "h:", "h:0", "h:65536", "h:80x", ":80", "h h", "h:1:2"})
        EXPECT_EQ(ChooseServerHost(bad, "built.in"), "built.in") << bad;
}

TEST(ServerHosts, EnvironmentOverridesTheBuiltInHost) {
    EXPECT_STREQ(ServerHostVariable(ServerRole::TimePage), "NIGHTCAP_TIME_HOST");
    _putenv("NIGHTCAP_TIME_HOST=");
    EXPECT_EQ(ServerHost(ServerRole::TimePage), BuiltInServerHost(ServerRole::TimePage));
    _putenv("NIGHTCAP_TIME_HOST=127.0.0.1:8123");
    EXPECT_EQ(ServerUrl(ServerRole::TimePage, "/timeflash.asp?user=flash"),
              "http://127.0.0.1:8123/timeflash.asp?user=flash");
    _putenv("NIGHTCAP_TIME_HOST=");
    EXPECT_EQ(ServerHost(ServerRole::Weather), BuiltInServerHost(ServerRole::Weather));
}

}  // namespace
