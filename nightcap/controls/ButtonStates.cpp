#include "nightcap/controls/ButtonStates.h"

namespace nightcap {

namespace {

ButtonTransition To(int state, bool force) {
    ButtonTransition t;
    t.changes = true;
    t.state = state;
    t.force = force;
    return t;
}

}  // namespace

ButtonTransition ButtonTransitionFor(UINT message, WPARAM wParam, int state, bool focused) {
    switch (message) {
    case WM_MOUSEMOVE:
        if (state == kStateOver || state == kStateDown) return {};
        {
            ButtonTransition t = To(kStateOver, true);
            t.trackLeave = true;
            return t;
        }
    case WM_LBUTTONDOWN:
        return To(kStateDown, true);
    case WM_LBUTTONUP:
        return To(state == kStateDown ? kStateOver : kStateNormal, true);
    case WM_MOUSELEAVE:
        return To(kStateNormal, true);
    case WM_SETFOCUS:
        return state == kStateDown ? To(kStateOver, true) : ButtonTransition{};
    case WM_KILLFOCUS:
        return state == kStateOver ? To(kStateNormal, true) : ButtonTransition{};
    case WM_ENABLE:
        return To(wParam ? kStateNormal : kStateDisabled, true);
    case BM_SETSTATE:
        return To(wParam == 1 ? kStateDown : (focused ? kStateOver : kStateNormal), false);
    }
    return {};
}

}  // namespace nightcap
