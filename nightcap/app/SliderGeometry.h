// The slider's arithmetic: knob position and percentage, the fill bar's scale, and the hour or minute
// a percentage stands for. Positions are in slider-window pixels.
#pragma once

namespace nightcap {

namespace slider {

constexpr int kBaseX = 21;  // the track's top-left corner
constexpr int kBaseY = 184;
constexpr int kKnobHalf = 10;                            // the knob is 20 x 20
constexpr int kKnobMinX = kBaseX - 2;                    // 19: knob at 0 %
constexpr int kKnobMaxX = kBaseX + 137;                  // 158: knob at 100 %
constexpr int kTravel = kKnobMaxX - kKnobMinX;           // 139 pixels for 100 %
constexpr int kKnobY = kBaseY - 1;
constexpr int kFillScalePerPercent = 700;                // thousandths of the 2-pixel bar: 1.4 px per percent

int KnobXFromPercent(int percent);
int PercentFromKnobX(int knobX);
// Where a drag with the mouse at mouseX puts the knob: centred on the mouse, kept on the track.
int KnobXForMouse(int mouseX);
// Horizontal scale of the fill bar in thousandths; MoveSliderTo never lets it drop to 0.
inline int FillScaleFor(int percent) { return percent * kFillScalePerPercent; }

}  // namespace slider

// The values a percentage stands for: 0 to 23 and 0 to 59.
int HourFromPercent(int percent);
int MinuteFromPercent(int percent);
// The percentage of a label's value: value / 23 x 100 for the hour, value / 59 x 100 for the minute.
int PercentFromHour(int hour);
int PercentFromMinute(int minute);

}  // namespace nightcap
