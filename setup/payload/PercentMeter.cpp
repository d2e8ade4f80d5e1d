#include "setup/payload/PercentMeter.h"

namespace setup {

int PercentOf(uint32_t bytes, uint32_t total) {
    if (total == 0) return 0;
    const uint64_t percent = uint64_t(bytes) * 100 / total;
    return percent > 100 ? 100 : int(percent);
}

bool PercentMeter::Changed(uint32_t bytes, uint32_t total, int* percent) {
    const int now = PercentOf(bytes, total);
    if (now == last_) return false;
    last_ = now;
    *percent = now;
    return true;
}

}  // namespace setup
