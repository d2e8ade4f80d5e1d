// The slider's arithmetic and the commit rules of the hour and minute boxes, as plain functions.
#include <gtest/gtest.h>

#include "nightcap/app/ScheduleRules.h"
#include "nightcap/app/SliderGeometry.h"
#include "nightcap/app/TimeEntryRules.h"

using namespace nightcap;

namespace {

using namespace slider;

TEST(SliderGeometry, KnobRunsOverTheTrackAndBack) {
    EXPECT_EQ(KnobXFromPercent(0), 19);
    EXPECT_EQ(KnobXFromPercent(100), 158);
    EXPECT_EQ(KnobXFromPercent(50), 88);  // 88.5 truncated
    EXPECT_EQ(PercentFromKnobX(19), 0);
    EXPECT_EQ(PercentFromKnobX(158), 100);
    // Every percentage survives the round trip through the knob position within one step.
    for (int p = 0; p <= 100; ++p) {
        int back = PercentFromKnobX(KnobXFromPercent(p));
        EXPECT_LE(p - back, 1) << p;
        EXPECT_GE(p - back, 0) << p;
    }
    // Left of the track the distance counts (absolute value), as a knob dragged past the start shows.
    EXPECT_EQ(PercentFromKnobX(5), 10);
}

TEST(SliderGeometry, DragKeepsTheKnobOnTheTrack) {
    EXPECT_EQ(KnobXForMouse(-500), kKnobMinX);
    EXPECT_EQ(KnobXForMouse(29), kKnobMinX);
    EXPECT_EQ(KnobXForMouse(30), 20);
    EXPECT_EQ(KnobXForMouse(167), 157);
    EXPECT_EQ(KnobXForMouse(168), kKnobMaxX);
    EXPECT_EQ(KnobXForMouse(5000), kKnobMaxX);
}

TEST(SliderGeometry, EndsAndMiddleGiveTheExpectedFieldValues) {
    EXPECT_EQ(TwoDigits(HourFromPercent(PercentFromKnobX(KnobXForMouse(0)))), "00");
    EXPECT_EQ(TwoDigits(HourFromPercent(PercentFromKnobX(KnobXForMouse(999)))), "23");
    EXPECT_EQ(TwoDigits(MinuteFromPercent(PercentFromKnobX(KnobXForMouse(999)))), "59");
    EXPECT_EQ(TwoDigits(HourFromPercent(50)), "11");
    EXPECT_EQ(TwoDigits(MinuteFromPercent(50)), "29");
    EXPECT_EQ(FillScaleFor(100) * 2 / 1000, 140);  // the 2-pixel bar spans 140 pixels at 100 %
}

TEST(SliderGeometry, LabelValuesGiveSliderPercentages) {
    EXPECT_EQ(PercentFromHour(12), 52);
    EXPECT_EQ(PercentFromHour(23), 100);
    EXPECT_EQ(PercentFromMinute(30), 50);
    EXPECT_EQ(PercentFromMinute(59), 100);
    EXPECT_EQ(PercentForLabel(TimeField::Hour, "46"), 200);  // out of range: past the right end
    EXPECT_EQ(PercentForLabel(TimeField::Minute, "x"), 0);
    EXPECT_LE(PercentForLabel(TimeField::Hour, "99999999999999999999"), 10000);  // no overflow
}

TEST(TimeEntryRules, TypedValuesBecomeTwoDigitLabels) {
    EXPECT_EQ(CommittedLabel(TimeField::Hour, "7"), "07");
    EXPECT_EQ(CommittedLabel(TimeField::Minute, "30"), "30");
    EXPECT_EQ(CommittedLabel(TimeField::Hour, "23"), "23");
    EXPECT_EQ(CommittedLabel(TimeField::Hour, "99"), "23");
    EXPECT_EQ(CommittedLabel(TimeField::Hour, "24"), "23");
    EXPECT_EQ(CommittedLabel(TimeField::Minute, "75"), "59");
    EXPECT_EQ(CommittedLabel(TimeField::Minute, "60"), "59");
    EXPECT_EQ(CommittedLabel(TimeField::Minute, "abc"), "00");
    EXPECT_EQ(CommittedLabel(TimeField::Hour, "0"), "00");
    EXPECT_EQ(CommittedLabel(TimeField::Hour, "-5"), "00");
    EXPECT_EQ(CommittedLabel(TimeField::Minute, "5x"), "05");
    EXPECT_EQ(CommittedLabel(TimeField::Hour, "007"), "07");
    EXPECT_EQ(CommittedLabel(TimeField::Hour, "4294967296"), "23");  // huge numbers do not wrap around
    EXPECT_EQ(CommittedLabel(TimeField::Hour, ""), std::nullopt);
}

}  // namespace
