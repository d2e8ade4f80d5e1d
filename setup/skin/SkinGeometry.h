// The arithmetic of the skin: how strips are cut into button looks, premultiplied alpha, DPI scaling.
#pragma once
#include <cstddef>
#include <cstdint>

namespace setup {

constexpr int kMaxSlices = 4;

// Slices of sliceWidth columns that fit side by side in a strip (at most four).
int SliceCount(int stripWidth, int sliceWidth);

// Which slice each look of a button shows. Strips of fewer than three slices press like hover; without a
// fourth slice the disabled look is the normal one.
struct ButtonLooks {
    int normal = 0;
    int hover = 1;
    int pressed = 2;
    int disabled = 3;
};
ButtonLooks LooksForSlices(int sliceCount);

// Blue, green and red of each 32-bit BGRA pixel become floor(value * alpha / 255).
void Premultiply(uint8_t* bgra, size_t pixelCount);

// A length in pixels drawn for 96 DPI at the screen's dpi (multiply first, integer arithmetic).
int ScaleForDpi(int length, int dpi);

}  // namespace setup
