// How the setup dialog looks and behaves as a window: DPI-scaled backgrounds, image buttons, labels drawn
// over the picture, a frameless window dragged by its background, and no keyboard navigation.
#include "setup/flow/GameSetupDlg.h"

#include "assets/setup/resource.h"
#include "setup/flow/InstallState.h"
#include "setup/skin/SkinGeometry.h"

namespace setup {

namespace {
const COLORREF kRefusedTextColour = RGB(200, 69, 69);
const int kTemplateWidth = 426;  // dialog units of template 102
const int kTemplateHeight = 256;

bool IsLabelOrCheckBox(int id) {
    return id == IDC_INSTALL_TO_LABEL || (id >= IDC_DESKTOP_BOX && id <= IDC_CONTINUE_LINK) ||
           (id >= IDC_UP_TO_DATE_TEXT && id <= IDC_RUN_AT_LOGON_LABEL);
}
}  // namespace

CGameSetupDlg::CGameSetupDlg() : CDialog(IDD_SETUP), name_(g_strName), title_(g_strTitle) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    bigIcon_.Reset(static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_SETUP), IMAGE_ICON,
                                                 GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0)));
    smallIcon_.Reset(static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_SETUP), IMAGE_ICON,
                                                   GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0)));
    MakeBackground(L"背景1.png", defaultBackground_);
    MakeBackground(L"背景2.png", customBackground_);
}

void CGameSetupDlg::MakeBackground(const wchar_t* name, SkinImage& background) {
    SkinImage picture;
    if (!LoadSkinImage(name, picture)) return;
    int dpi = GetDeviceCaps(picture.Dc(), LOGPIXELSX);
    if (!background.Create(ScaleForDpi(picture.Width(), dpi), ScaleForDpi(picture.Height(), dpi),
                           picture.BitsPerPixel()))
        return;
    background.SetHasAlpha(picture.BitsPerPixel() == 32);
    SetStretchBltMode(background.Dc(), HALFTONE);
    SetBrushOrgEx(background.Dc(), 0, 0, nullptr);
    StretchBlt(background.Dc(), 0, 0, background.Width(), background.Height(), picture.Dc(), 0, 0, picture.Width(),
               picture.Height(), SRCCOPY);
}

void CGameSetupDlg::FitWindowToBackground() {
    int width = background_->Width(), height = background_->Height();
    SetWindowPos(m_hWnd, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(m_hWnd, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    // The window owns the region from here on.
    SetWindowRgn(m_hWnd, CreateRoundRectRgn(0, 0, width + 1, height + 1, 0, 0), FALSE);
    FitControlsToBackground();
}

void CGameSetupDlg::FitControlsToBackground() {
    // The template's dialog units match the picture when the dialog font has the metrics of the 9-point
    // font the layout was drawn for. A substituted font with other metrics would move the controls off
    // their places on the picture, so positions are scaled from the template's size to the picture's.
    RECT units = {0, 0, kTemplateWidth, kTemplateHeight};
    MapDialogRect(m_hWnd, &units);
    int width = background_->Width(), height = background_->Height();
    if (units.right <= 0 || units.bottom <= 0 || width <= 0 || height <= 0) return;  // no picture: keep the template
    if (units.right == width && units.bottom == height) return;
    for (HWND child = GetWindow(m_hWnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT r;
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&r), 2);
        int left = MulDiv(r.left, width, units.right), top = MulDiv(r.top, height, units.bottom);
        int right = MulDiv(r.right, width, units.right), bottom = MulDiv(r.bottom, height, units.bottom);
        SetWindowPos(child, nullptr, left, top, right - left, bottom - top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void CGameSetupDlg::WidenToFitText(int id) {
    // The notice carries the product title, which may be longer than its label: grow the label on both
    // sides rather than cut the sentence.
    HWND label = GetDlgItem(id);
    WindowDc dc(label);
    ScopedSelect font(dc.Get(), reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
    int n = GetWindowTextLengthW(label);
    std::wstring text(n + 1, L'\0');
    text.resize(GetWindowTextW(label, &text[0], n + 1));
    SIZE extent = {};
    RECT r;
    GetWindowRect(label, &r);
    MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&r), 2);
    int width = r.right - r.left;
    if (!GetTextExtentPoint32W(dc.Get(), text.c_str(), static_cast<int>(text.size()), &extent) || extent.cx <= width)
        return;
    int grow = extent.cx + 2 - width;
    SetWindowPos(label, nullptr, r.left - grow / 2, r.top, width + grow, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

CPngButton* CGameSetupDlg::MakeButton(int id, const wchar_t* strip, int sliceWidth, bool handCursor) {
    CPngButton* button = CPngButton::Make(GetDlgItem(id), strip, sliceWidth);
    if (button && handCursor) button->SetCursor(LoadCursorW(nullptr, IDC_HAND));
    return button;
}

BOOL CGameSetupDlg::PreTranslateMessage(MSG* msg) {
    // The dialog is driven by the mouse: Tab, Enter and Escape do nothing.
    if (msg->message == WM_KEYDOWN && (msg->wParam == VK_TAB || msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE))
        return TRUE;
    return CDialog::PreTranslateMessage(msg);
}

LRESULT CGameSetupDlg::OnEraseBkgnd(WPARAM dc, LPARAM) {
    BitBlt(reinterpret_cast<HDC>(dc), 0, 0, background_->Width(), background_->Height(), background_->Dc(), 0, 0,
           SRCCOPY);
    return TRUE;
}

LRESULT CGameSetupDlg::OnCtlColorStatic(WPARAM dc, LPARAM control) { return CtlColor(WM_CTLCOLORSTATIC, dc, control); }

LRESULT CGameSetupDlg::OnCtlColorBtn(WPARAM dc, LPARAM control) { return CtlColor(WM_CTLCOLORBTN, dc, control); }

LRESULT CGameSetupDlg::CtlColor(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT brush = ReflectOrDefault(message, wParam, lParam);
    auto dc = reinterpret_cast<HDC>(wParam);
    auto control = reinterpret_cast<HWND>(lParam);
    int id = GetDlgCtrlID(control);
    if (IsLabelOrCheckBox(id)) SetTextColor(dc, RGB(0, 0, 0));
    if (id == IDC_SPACE_TEXT) SetTextColor(dc, IsWindowEnabled(GetDlgItem(IDOK)) ? RGB(0, 0, 0) : kRefusedTextColour);
    // Labels and buttons show the picture through their background (a disabled edit asks the same way: skip it).
    wchar_t kind[16] = {};
    GetClassNameW(control, kind, 16);
    if (lstrcmpiW(kind, L"Static") != 0 && lstrcmpiW(kind, L"Button") != 0) return brush;
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&r), 2);
    BitBlt(dc, 0, 0, r.right - r.left, r.bottom - r.top, background_->Dc(), r.left, r.top, SRCCOPY);
    SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
}

LRESULT CGameSetupDlg::OnNcHitTest(WPARAM, LPARAM) { return HTCAPTION; }

LRESULT CGameSetupDlg::OnChangeUiState(WPARAM wParam, LPARAM lParam) {
    // Focus rectangles and keyboard cues stay hidden.
    if (LOWORD(wParam) == UIS_CLEAR) return 0;
    return DefWindowProc(WM_CHANGEUISTATE, wParam, lParam);
}

}  // namespace setup
