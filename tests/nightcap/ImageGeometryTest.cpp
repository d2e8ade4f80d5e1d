// Placement of control images, strip cutting and the button state machine, as plain functions.
#include <gtest/gtest.h>

#include "ButtonStates.h"
#include "ImageGeometry.h"

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

TEST(ButtonStates, MouseOverDownUpAndLeave) {
    ButtonTransition enter = ButtonTransitionFor(WM_MOUSEMOVE, 0, kStateNormal, false);
    EXPECT_TRUE(enter.changes && enter.trackLeave);
    EXPECT_EQ(enter.state, kStateOver);
    EXPECT_FALSE(ButtonTransitionFor(WM_MOUSEMOVE, 0, kStateOver, false).changes);  // over only once
    EXPECT_FALSE(ButtonTransitionFor(WM_MOUSEMOVE, 0, kStateDown, false).changes);  // dragging keeps "down"
    EXPECT_EQ(ButtonTransitionFor(WM_LBUTTONDOWN, 0, kStateOver, false).state, kStateDown);
    EXPECT_EQ(ButtonTransitionFor(WM_LBUTTONUP, 0, kStateDown, false).state, kStateOver);
    EXPECT_EQ(ButtonTransitionFor(WM_LBUTTONUP, 0, kStateNormal, false).state, kStateNormal);
    EXPECT_EQ(ButtonTransitionFor(WM_MOUSELEAVE, 0, kStateOver, false).state, kStateNormal);
}

TEST(ButtonStates, FocusEnableAndPushedState) {
    EXPECT_EQ(ButtonTransitionFor(WM_SETFOCUS, 0, kStateDown, false).state, kStateOver);
    EXPECT_FALSE(ButtonTransitionFor(WM_SETFOCUS, 0, kStateNormal, false).changes);
    EXPECT_EQ(ButtonTransitionFor(WM_KILLFOCUS, 0, kStateOver, true).state, kStateNormal);
    EXPECT_FALSE(ButtonTransitionFor(WM_KILLFOCUS, 0, kStateDown, true).changes);
    EXPECT_EQ(ButtonTransitionFor(WM_ENABLE, FALSE, kStateOver, false).state, kStateDisabled);
    EXPECT_EQ(ButtonTransitionFor(WM_ENABLE, TRUE, kStateDisabled, false).state, kStateNormal);
    ButtonTransition pushed = ButtonTransitionFor(BM_SETSTATE, 1, kStateOver, false);
    EXPECT_EQ(pushed.state, kStateDown);
    EXPECT_FALSE(pushed.force);
    EXPECT_EQ(ButtonTransitionFor(BM_SETSTATE, 0, kStateDown, true).state, kStateOver);
    EXPECT_EQ(ButtonTransitionFor(BM_SETSTATE, 0, kStateDown, false).state, kStateNormal);
}

}  // namespace
