// A C++ object attached to a window by subclassing: its WindowProc sees every message first and passes
// what it does not handle to the window's previous procedure (Default). Parents reflect WM_CTLCOLOR* and
// WM_DRAWITEM to the child's object (OnChildNotify) so controls can draw themselves.
#pragma once
#include <windows.h>

class CWnd {
public:
    CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;
    virtual ~CWnd();

    // The object attached to hwnd, or null.
    static CWnd* FromHandlePermanent(HWND hwnd);

    BOOL SubclassWindow(HWND hwnd);
    HWND GetSafeHwnd() const { return m_hWnd; }
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }

    virtual void PreSubclassWindow() {}
    // Called by the modal loop for messages aimed at this window or its children; TRUE eats the message.
    virtual BOOL PreTranslateMessage(MSG*) { return FALSE; }
    // Called after the window got WM_NCDESTROY and was detached.
    virtual void PostNcDestroy() {}
    // A message the parent reflected to this control; true with *result when handled.
    virtual bool OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*) { return false; }

    HWND m_hWnd = nullptr;

protected:
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The previous window procedure with the given message.
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // WM_CTLCOLOR*/WM_DRAWITEM: the child's reflected answer when it gives a non-zero one, else the default.
    LRESULT ReflectOrDefault(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void Detach();
    WNDPROC previous_ = nullptr;
};

// A message map: a table of entries routed to member functions. WM_COMMAND entries match the
// notification code and control id as well; other entries match the message alone.
template <class T>
struct MessageEntry {
    UINT message;
    UINT code;
    UINT id;
    LRESULT (T::*handler)(WPARAM, LPARAM);
};

template <class T, size_t N>
bool DispatchMessageMap(T* self, const MessageEntry<T> (&map)[N], UINT message, WPARAM wParam, LPARAM lParam,
                        LRESULT* result) {
    for (const MessageEntry<T>& e : map) {
        if (e.message != message) continue;
        if (message == WM_COMMAND && (e.code != HIWORD(wParam) || e.id != LOWORD(wParam))) continue;
        *result = (self->*e.handler)(wParam, lParam);
        return true;
    }
    return false;
}
