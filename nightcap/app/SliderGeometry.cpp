#include "nightcap/app/SliderGeometry.h"

#include <cmath>

namespace nightcap {

namespace slider {

int KnobXFromPercent(int percent) {
    return static_cast<int>(percent * static_cast<double>(kTravel) / 100 + (kBaseX + 8 - kKnobHalf));
}

int PercentFromKnobX(int knobX) {
    double p = std::fabs(((knobX + kKnobHalf) - (kBaseX + 8)) / static_cast<double>(kTravel) * 100);
    double whole = std::floor(p);
    // 0.999999999999 and above is taken as the next integer: divisions like 139/139*100 may land just below it.
    if (p - whole > 0.999999999999) whole += 1;
    return static_cast<int>(whole);
}

int KnobXForMouse(int mouseX) {
    double x = mouseX - kKnobHalf;
    if (x - kKnobMinX <= 0.0000001) return kKnobMinX;
    if (x - kKnobMaxX >= -0.0000001) return kKnobMaxX;
    return static_cast<int>(x);
}

}  // namespace slider

int HourFromPercent(int percent) { return static_cast<int>(percent * 23.0 / 100); }
int MinuteFromPercent(int percent) { return static_cast<int>(percent * 59.0 / 100); }
namespace {

// Labels read from the settings file may hold any number; far beyond the track is as good as any further.
constexpr double kPercentLimit = 10000;

int PercentOf(int value, double last) {
    double p = value / last * 100;
    return static_cast<int>(p < kPercentLimit ? p : kPercentLimit);
}

}  // namespace

int PercentFromHour(int hour) { return PercentOf(hour, 23); }
int PercentFromMinute(int minute) { return PercentOf(minute, 59); }

}  // namespace nightcap
