#include "setup/skin/StaticBtn.h"

namespace setup {

void CStaticBtn::PreSubclassWindow() {
    auto font = reinterpret_cast<HFONT>(SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
    LOGFONTW description = {};
    if (GetObjectW(font ? font : GetStockObject(DEFAULT_GUI_FONT), sizeof description, &description)) {
        description.lfUnderline = TRUE;
        underlined_.Reset(CreateFontIndirectW(&description));
        // Some static controls select their own font after asking for colours: make it the underlined one.
        if (underlined_) SendMessageW(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(underlined_.Get()), FALSE);
    }
}

bool CStaticBtn::OnChildNotify(UINT message, WPARAM wParam, LPARAM, LRESULT* result) {
    if (message != WM_CTLCOLORSTATIC) return false;
    if (underlined_) SelectObject(reinterpret_cast<HDC>(wParam), underlined_.Get());
    *result = 0;  // no brush: the dialog colours it too
    return true;
}

LRESULT CStaticBtn::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_MOUSEMOVE) SetCursor(cursor_);
    if (message == WM_SETCURSOR) return TRUE;  // keep the hand set on mouse moves
    return CStatic::WindowProc(message, wParam, lParam);
}

}  // namespace setup
