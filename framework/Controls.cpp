#include "framework/Controls.h"

void CProgressCtrl::SetRange(int low, int high) const {
    ::SendMessageW(m_hWnd, PBM_SETRANGE, 0, MAKELPARAM(low, high));
}
