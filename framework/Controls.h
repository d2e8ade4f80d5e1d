// Thin wrappers of the standard controls, attached by subclassing (DDX_Control or SubclassWindow).
#pragma once
#include <windows.h>
#include <commctrl.h>

#include "framework/Wnd.h"

class CButton : public CWnd {};

class CStatic : public CWnd {};

class CProgressCtrl : public CWnd {
public:
    void SetRange(int low, int high) const;
};
