#include "Controls.h"

void CProgressCtrl::SetRange(int low, int high) const {
    ::SendMessageW(m_hWnd, PBM_SETRANGE, 0, MAKELPARAM(low, high));
}

int CProgressCtrl::SetPos(int pos) const { return static_cast<int>(::SendMessageW(m_hWnd, PBM_SETPOS, pos, 0)); }
