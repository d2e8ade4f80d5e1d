// The button state machine: which window message moves an image button to which state image.
#include <gtest/gtest.h>

#include "nightcap/controls/ButtonStates.h"

using namespace nightcap;

namespace {

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
