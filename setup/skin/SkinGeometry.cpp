#include "setup/skin/SkinGeometry.h"

namespace setup {

int SliceCount(int stripWidth, int sliceWidth) {
    if (sliceWidth <= 0 || stripWidth <= 0) return 0;
    int count = stripWidth / sliceWidth;
    return count > kMaxSlices ? kMaxSlices : count;
}

ButtonLooks LooksForSlices(int sliceCount) {
    ButtonLooks looks;
    if (sliceCount < 3) looks.pressed = looks.hover;
    if (sliceCount < 4) looks.disabled = looks.normal;
    return looks;
}

void Premultiply(uint8_t* bgra, size_t pixelCount) {
    for (size_t i = 0; i < pixelCount; ++i, bgra += 4) {
        unsigned alpha = bgra[3];
        for (int c = 0; c < 3; ++c) bgra[c] = static_cast<uint8_t>(bgra[c] * alpha / 255);
    }
}

int ScaleForDpi(int length, int dpi) { return length * dpi / 96; }

}  // namespace setup
