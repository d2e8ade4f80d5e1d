// Where an image control draws its picture, and how a state strip is cut into frames.
// Plain arithmetic, no Windows types.
#pragma once
#include <vector>

namespace nightcap {

struct PixelRect {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const PixelRect& o) const {
        return x == o.x && y == o.y && width == o.width && height == o.height;
    }
};

// "PngControl_BackType": how an image is placed in its control.
enum BackType { kBackNatural = 0, kBackStretched = 1, kBackFitted = 2 };

// The image's size shrunk (never enlarged) to fit a box, keeping its proportions.
void FittedSize(int imageWidth, int imageHeight, int boxWidth, int boxHeight, int* width, int* height);

// The rectangle an image of the given size is drawn into, in a control of the given size.
PixelRect ImagePlacement(int backType, int imageWidth, int imageHeight, int controlWidth, int controlHeight);

// The source rectangles of the frames of a strip of `count` pictures (side by side or stacked, `gap`
// pixels apart). At most four frames are made (normal, over, down, disabled); a count below 1 means 1.
std::vector<PixelRect> StripFrames(int stripWidth, int stripHeight, int count, bool vertical, int gap);

}  // namespace nightcap
