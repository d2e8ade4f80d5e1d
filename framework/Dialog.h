// A dialog from a template, run modally by our own loop so that PreTranslateMessage sees every message
// (the dialog's and its controls'). The dialog window is subclassed like any CWnd, so handlers return
// real LRESULTs. Data exchange attaches control objects to template controls on the first exchange.
#pragma once
#include "framework/Wnd.h"

class CDialog;

class CDataExchange {
public:
    CDataExchange(CDialog* dialog, BOOL saveAndValidate) : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate) {}
    CDialog* m_pDlgWnd;
    BOOL m_bSaveAndValidate;
};

// Attaches control to the dialog's control id (once).
void DDX_Control(CDataExchange* pDX, int id, CWnd& control);

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId) : template_(templateId) {}

    virtual INT_PTR DoModal();
    void EndDialog(INT_PTR result);
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    virtual void DoDataExchange(CDataExchange*) {}
    virtual BOOL OnInitDialog() { return TRUE; }
    virtual void OnOK();
    virtual void OnCancel();
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    // Offers msg to the objects of its window and of each parent up to the dialog.
    bool WalkPreTranslate(MSG* msg);

    UINT template_;
    bool ended_ = false;
    INT_PTR result_ = -1;
};
