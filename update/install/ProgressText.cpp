#include "update/install/ProgressText.h"

#include <cstdio>

namespace update {

std::string OverallPercentText(size_t index, size_t count, uint64_t received, uint64_t length) {
    uint64_t percent = length == 0 ? 100 : received >= length ? 100 : received * 100 / length;
    const double overall = (double(percent) / 100 / double(count) + double(index) * (1 / double(count))) * 100;
    char text[32];
    std::snprintf(text, sizeof text, "%.0f", overall);
    return text;
}

}  // namespace update
