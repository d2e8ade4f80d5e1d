// Setting the clock from the time reply, through the clock seam: what reaches it, and what is announced.
#include "nightcap/app/ClockSync.h"
#include "nightcap/app/SystemClock.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace nightcap;

namespace {

std::vector<SYSTEMTIME> g_settings;
bool g_refuse = false;

bool RecordSetting(const SYSTEMTIME& utc) {
    g_settings.push_back(utc);
    return !g_refuse;
}

class ClockSyncTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_settings.clear();
        g_refuse = false;
        InstallClockSetter(RecordSetting);
    }
    void TearDown() override { InstallClockSetter(nullptr); }
};

Bytes Reply(const std::string& fields) {
    const std::string text = "<?xml version=\"1.0\"?><ntsc><time>" + fields + "</time></ntsc>";
    return Bytes(text.begin(), text.end());
}

const char kJune27[] =
    "<year>2013</year><month>6</month><day>27</day><hour>3</hour><minite>10</minite><second>5</second>";

TEST_F(ClockSyncTest, SetsTheUtcFields) {
    EXPECT_TRUE(SetClockFromTimeReply(Reply(kJune27)));
    ASSERT_EQ(g_settings.size(), 1u);
    const SYSTEMTIME& t = g_settings[0];
    EXPECT_EQ(t.wYear, 2013);
    EXPECT_EQ(t.wMonth, 6);
    EXPECT_EQ(t.wDay, 26);
    EXPECT_EQ(t.wHour, 19);
    EXPECT_EQ(t.wMinute, 10);
    EXPECT_EQ(t.wSecond, 5);
    EXPECT_EQ(t.wMilliseconds, 0);
    EXPECT_EQ(t.wDayOfWeek, 0xFFFF);
}

TEST_F(ClockSyncTest, ARefusedSettingIsNotAnnounced) {
    g_refuse = true;
    EXPECT_FALSE(SetClockFromTimeReply(Reply(kJune27)));
    EXPECT_EQ(g_settings.size(), 1u);
}

TEST_F(ClockSyncTest, BadRepliesNeverReachTheClock) {
    EXPECT_FALSE(SetClockFromTimeReply(Bytes(255, 0)));  // no network
    EXPECT_FALSE(SetClockFromTimeReply(Reply("<year>2013</year><month>6</month><day>27</day><hour>3</hour>"
                                             "<second>5</second>")));  // no minute
    EXPECT_FALSE(SetClockFromTimeReply(Reply("<year>2013</year><month>2</month><day>30</day><hour>3</hour>"
                                             "<minite>10</minite><second>5</second>")));
    EXPECT_TRUE(g_settings.empty());
}

}  // namespace
