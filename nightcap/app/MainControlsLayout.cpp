// The controls of the main window, their places (left, top, width, height in their parent), kinds and first
// texts. Picture boxes are notifying statics (the image-drawn controls attach to them); labels are statics drawn
// transparently by the main window; buttons and edit boxes are the standard ones.
#include <windows.h>
#include <commctrl.h>

#include "nightcap/app/ControlIds.h"
#include "nightcap/app/MainWindow.h"

namespace nightcap {

namespace {

constexpr DWORD kPictureBoxStyle = WS_CHILD | WS_VISIBLE | SS_NOTIFY;
constexpr DWORD kLabelStyle = WS_CHILD | WS_VISIBLE | SS_NOTIFY | SS_LEFT;

HWND Make(HWND parent, int id, const char* windowClass, const char* text, DWORD style, int x, int y, int w, int h,
          DWORD exStyle = 0) {
    return CreateWindowExA(exStyle, windowClass, text, style, x, y, w, h, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
}

HWND PictureBox(HWND parent, int id, int x, int y, int w, int h) {
    return Make(parent, id, "Static", "", kPictureBoxStyle, x, y, w, h, WS_EX_TRANSPARENT);
}

HWND Label(HWND parent, int id, const char* text, int x, int y, int w, int h, HFONT font) {
    HWND label = Make(parent, id, "Static", text, kLabelStyle, x, y, w, h);
    SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return label;
}

HWND Button(HWND parent, int id, const char* caption, int x, int y, int w, int h, HFONT font) {
    HWND button = Make(parent, id, "Button", caption, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, x, y, w, h);
    SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return button;
}

// A field: its label shows the value, its edit box (hidden until the user types) lies in the same place.
void Field(HWND frame, int labelId, int editId, const char* value, HFONT font, HWND* label, HWND* edit) {
    *label = Make(frame, labelId, "Static", value, WS_CHILD | WS_VISIBLE | SS_NOTIFY | SS_CENTER, 3, 3, 60, 50);
    *edit = Make(frame, editId, "Edit", value, WS_CHILD | ES_CENTER | ES_AUTOHSCROLL, 3, 3, 60, 45);
    SendMessageA(*label, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SendMessageA(*edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

// Picture boxes that hold other controls pass their children's notifications and colour requests on to the
// main window, where every handler lives.
LRESULT CALLBACK ForwardToMainWindow(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    switch (msg) {
    case WM_COMMAND:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
        return SendMessageA(GetAncestor(hwnd, GA_ROOT), msg, wParam, lParam);
    }
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

HWND Container(HWND parent, int id, int x, int y, int w, int h) {
    HWND box = PictureBox(parent, id, x, y, w, h);
    SetWindowSubclass(box, ForwardToMainWindow, 1, 0);
    return box;
}

// A static control reports its click as soon as the button goes down. The tabs, the panels and the version
// label act when the left button is released over them instead, like the fields' labels; the press itself
// is reported as kLabelPressed.
LRESULT CALLBACK ClickOnRelease(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        SendMessageA(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), kLabelPressed),
                     reinterpret_cast<LPARAM>(hwnd));
        return 0;
    case WM_LBUTTONUP:
        SendMessageA(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), STN_CLICKED),
                     reinterpret_cast<LPARAM>(hwnd));
        return 0;
    }
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

HWND ClickedOnRelease(HWND control) {
    SetWindowSubclass(control, ClickOnRelease, 2, 0);
    return control;
}

}  // namespace

void CreateMainControls(NightcapApp& app) {
    app.labelFont.Reset(CreateFontA(12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "宋体"));
    app.fieldFont.Reset(CreateFontA(35, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "宋体"));
    HFONT small = app.labelFont.Get();
    HFONT large = app.fieldFont.Get();
    MainControls& c = app.main;
    HWND w = c.window;

    c.按钮_关闭 = Button(w, 按钮_关闭, "关闭", 281, 0, 17, 17, small);
    c.按钮_最小 = Button(w, 按钮_最小, "最小", 262, 0, 17, 17, small);
    c.透明标签_城市 = Label(w, 透明标签_城市, "", 184, 1, 70, 16, small);
    c.图片框_天气 = PictureBox(w, 图片框_天气, 184, 15, 46, 46);
    c.透明标签_天气 = Label(w, 透明标签_天气, "", 213, 19, 83, 16, small);
    c.透明标签_天气1 = Label(w, 透明标签_天气1, "", 213, 35, 83, 16, small);
    c.透明标签_天气2 = Label(w, 透明标签_天气2, "", 211, 52, 85, 16, small);

    c.图片框_切换 = ClickedOnRelease(Container(w, 图片框_切换, 2, 74, 296, 39));
    c.透明标签_切换1 =
        ClickedOnRelease(Label(c.图片框_切换, 透明标签_切换1, "指定时间关机", 36, 6, 100, 20, small));
    c.透明标签_切换2 =
        ClickedOnRelease(Label(c.图片框_切换, 透明标签_切换2, "倒计时关机", 192, 6, 100, 20, small));

    c.图片框_时间 = ClickedOnRelease(Container(w, 图片框_时间, 2, 113, 296, 107));
    c.图片框_时 = Container(c.图片框_时间, 图片框_时, 21, 14, 66, 56);
    Field(c.图片框_时, 标签_时, 编辑框_时, "12", large, &c.标签_时, &c.编辑框_时);
    c.图片框_分 = Container(c.图片框_时间, 图片框_分, 106, 14, 66, 56);
    Field(c.图片框_分, 标签_分, 编辑框_分, "30", large, &c.标签_分, &c.编辑框_分);
    c.按钮_执行 = Button(c.图片框_时间, 按钮_执行, "执行", 196, 60, 94, 40, small);

    c.透明标签_时间 = Label(w, 透明标签_时间, "", 5, 228, 228, 20, small);
    c.透明标签_版本号 = ClickedOnRelease(Label(w, 透明标签_版本号, "版本：1.0", 230, 228, 70, 20, small));

    c.托盘菜单.Reset(CreatePopupMenu());
}

}  // namespace nightcap
