// The command line's words and what they ask for.
#include <gtest/gtest.h>

#include "nightcap/app/CommandLine.h"

using namespace nightcap;

namespace {

NightcapCommand Parsed(const std::string& line) {
    NightcapCommand command;
    std::string error;
    EXPECT_TRUE(ParseCommand(SplitArguments(line), &command, &error)) << line << ": " << error;
    return command;
}

std::string Refused(const std::string& line) {
    NightcapCommand command;
    command.cancel = true;
    std::string error;
    EXPECT_FALSE(ParseCommand(SplitArguments(line), &command, &error)) << line;
    EXPECT_TRUE(command.cancel) << "a refused line leaves the command alone";
    return error;
}

TEST(CommandLine, SplitsOnBlanksAndQuotes) {
    EXPECT_EQ(SplitArguments("  /at \t 7:05 \"/action\" \"\""),
              (std::vector<std::string>{"/at", "7:05", "/action", ""}));
    EXPECT_TRUE(SplitArguments("").empty());
    EXPECT_TRUE(Parsed("").Empty());
}

TEST(CommandLine, ArmsAClockTimeOrACountdownWithAnAction) {
    NightcapCommand at = Parsed("/AT 07:05 -action Lock");
    EXPECT_TRUE(at.arm);
    EXPECT_EQ(at.mode, ScheduleMode::ClockTime);
    EXPECT_EQ(at.time.hour, 7);
    EXPECT_EQ(at.time.minute, 5);
    EXPECT_EQ(at.action, kLock);
    NightcapCommand in = Parsed("/in 135");
    EXPECT_EQ(in.mode, ScheduleMode::Countdown);
    EXPECT_EQ(in.time.hour, 2);
    EXPECT_EQ(in.time.minute, 15);
    EXPECT_EQ(Parsed("/in 1:30").time.minute, 30);
    EXPECT_EQ(Parsed("/postpone 10").postponeMinutes, 10);
    EXPECT_TRUE(Parsed("/cancel").cancel);
    EXPECT_TRUE(Parsed("/?").help);
}

TEST(CommandLine, RefusesWhatItCannotDo) {
    for (const char* line :
         {"/at 24:00", "/at 7:60", "/at 7", "/at 7:5", "/at :30", "/at 007:30", "/in 0", "/in 1440", "/in 0:00",
          "/in -5", "/in", "/action reboot", "/postpone 0", "/postpone 1440", "/postpone x", "/at 7:00 /in 5",
          "/cancel /at 7:00", "/cancel /cancel", "/in 5 /postpone 5", "/action lock /action sleep", "at 7:00", "/now",
          "/"})
        EXPECT_FALSE(Refused(line).empty()) << line;
    EXPECT_EQ(Refused("/in 99x"), "时间无效：/in 99x");
}

}  // namespace
