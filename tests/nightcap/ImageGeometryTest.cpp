// Placement of control images and strip cutting, as plain functions.
#include <gtest/gtest.h>

#include "nightcap/controls/ImageGeometry.h"

using namespace nightcap;

namespace {

TEST(ImagePlacement, FittedImageIsShrunkKeepingProportionsAndCentred) {
    EXPECT_EQ(ImagePlacement(kBackFitted, 300, 100, 150, 150), (PixelRect{0, 50, 150, 50}));
    EXPECT_EQ(ImagePlacement(kBackFitted, 50, 50, 150, 150), (PixelRect{50, 50, 50, 50}));  // never enlarged
    // Too tall after the width is fitted: the height decides.
    EXPECT_EQ(ImagePlacement(kBackFitted, 200, 400, 100, 100), (PixelRect{25, 0, 50, 100}));
    EXPECT_EQ(ImagePlacement(kBackFitted, 40, 400, 100, 100), (PixelRect{45, 0, 10, 100}));
}

TEST(ImagePlacement, StretchedFillsAndNaturalKeepsSize) {
    EXPECT_EQ(ImagePlacement(kBackStretched, 300, 100, 150, 150), (PixelRect{0, 0, 150, 150}));
    EXPECT_EQ(ImagePlacement(kBackNatural, 300, 100, 150, 150), (PixelRect{0, 0, 300, 100}));
    EXPECT_EQ(ImagePlacement(7, 30, 10, 150, 150), (PixelRect{0, 0, 30, 10}));  // unknown types draw as natural
}

TEST(ImagePlacement, DegenerateSizesDoNotDivideByZero) {
    EXPECT_EQ(ImagePlacement(kBackFitted, 0, 0, 10, 10), (PixelRect{5, 5, 0, 0}));
    EXPECT_EQ(ImagePlacement(kBackFitted, 10, 10, 0, 0), (PixelRect{0, 0, 0, 0}));
}

TEST(StripFrames, DefaultStripGivesThreeFramesSideBySide) {
    std::vector<PixelRect> frames = StripFrames(240, 60, 3, false, 0);
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(frames[0], (PixelRect{0, 0, 80, 60}));
    EXPECT_EQ(frames[1], (PixelRect{80, 0, 80, 60}));
    EXPECT_EQ(frames[2], (PixelRect{160, 0, 80, 60}));
}

TEST(StripFrames, AtMostFourFramesAndGapsAndStacking) {
    std::vector<PixelRect> six = StripFrames(240, 60, 6, false, 0);
    ASSERT_EQ(six.size(), 4u);
    EXPECT_EQ(six[3], (PixelRect{120, 0, 40, 60}));

    std::vector<PixelRect> gapped = StripFrames(250, 60, 3, false, 5);
    EXPECT_EQ(gapped[1], (PixelRect{88, 0, 83, 60}));

    std::vector<PixelRect> stacked = StripFrames(40, 120, 4, true, 0);
    ASSERT_EQ(stacked.size(), 4u);
    EXPECT_EQ(stacked[3], (PixelRect{0, 90, 40, 30}));

    EXPECT_EQ(StripFrames(240, 60, 0, false, 0), (std::vector<PixelRect>{{0, 0, 240, 60}}));
    EXPECT_EQ(StripFrames(240, 60, -3, false, 0).size(), 1u);
}

}  // namespace
