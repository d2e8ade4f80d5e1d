// The state machine of an image button: which message moves it to which state image.
#pragma once
#include <windows.h>

namespace nightcap {

enum ButtonState { kStateNormal = 0, kStateOver = 1, kStateDown = 2, kStateDisabled = 3 };

struct ButtonTransition {
    bool changes = false;     // false: the message leaves the state alone
    int state = kStateNormal;
    bool force = false;       // repaint even when the state stays the same
    bool trackLeave = false;  // ask for WM_MOUSELEAVE
};

// The transition for one message, given the state before it and whether the button has the focus.
ButtonTransition ButtonTransitionFor(UINT message, WPARAM wParam, int state, bool focused);

}  // namespace nightcap
