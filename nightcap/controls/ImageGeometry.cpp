#include "nightcap/controls/ImageGeometry.h"

#include <algorithm>

namespace nightcap {

void FittedSize(int imageWidth, int imageHeight, int boxWidth, int boxHeight, int* width, int* height) {
    long long w = imageWidth, h = imageHeight;
    if (w > boxWidth && w > 0) {
        h = h * boxWidth / w;
        w = boxWidth;
    }
    if (h > boxHeight && h > 0) {
        w = w * boxHeight / h;
        h = boxHeight;
    }
    *width = static_cast<int>(w);
    *height = static_cast<int>(h);
}

PixelRect ImagePlacement(int backType, int imageWidth, int imageHeight, int controlWidth, int controlHeight) {
    switch (backType) {
    case kBackStretched:
        return {0, 0, controlWidth, controlHeight};
    case kBackFitted: {
        int w = 0, h = 0;
        FittedSize(imageWidth, imageHeight, controlWidth, controlHeight, &w, &h);
        return {(controlWidth - w) / 2, (controlHeight - h) / 2, w, h};
    }
    default:
        return {0, 0, imageWidth, imageHeight};
    }
}

std::vector<PixelRect> StripFrames(int stripWidth, int stripHeight, int count, bool vertical, int gap) {
    count = std::max(count, 1);
    if (count == 1) return {{0, 0, stripWidth, stripHeight}};
    int frameWidth = vertical ? stripWidth : stripWidth / count;
    int frameHeight = vertical ? stripHeight / count : stripHeight;
    std::vector<PixelRect> frames;
    for (int i = 0; i < std::min(count, 4); ++i) {
        if (vertical)
            frames.push_back({0, (frameHeight + gap) * i, frameWidth, frameHeight});
        else
            frames.push_back({(frameWidth + gap) * i, 0, frameWidth, frameHeight});
    }
    return frames;
}

}  // namespace nightcap
