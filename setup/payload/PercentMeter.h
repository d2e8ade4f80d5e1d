// Turns bytes decoded into the whole percent shown by the progress bar, and remembers the last one shown
// so that the bar is touched only when it changes.
#pragma once
#include <cstdint>

namespace setup {

// bytes * 100 / total in whole numbers (64-bit, so large totals do not overflow), at most 100;
// 0 when total is 0.
int PercentOf(uint32_t bytes, uint32_t total);

class PercentMeter {
public:
    // Back to the bar's starting position 0.
    void Reset() { last_ = 0; }
    // True, with the new percent, when the percent of bytes in total differs from the last one.
    bool Changed(uint32_t bytes, uint32_t total, int* percent);

private:
    int last_ = 0;
};

}  // namespace setup
