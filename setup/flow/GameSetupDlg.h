// Setup's one dialog (template 102): the default page, the custom page, the up-to-date page and the
// installing state. The worker thread reports through WM_EXTRACT_DONE.
#pragma once
#include <string>

#include "common/Handles.h"
#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "setup/skin/PngButton.h"
#include "setup/skin/SkinImage.h"
#include "setup/skin/StaticBtn.h"

namespace setup {

constexpr UINT WM_EXTRACT_DONE = WM_USER + 1000;  // wParam 1 when extraction succeeded, 0 when it failed

class CGameSetupDlg : public CDialog {
public:
    CGameSetupDlg();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // Flow (GameSetupDlg.cpp).
    LRESULT OnFolderChanged(WPARAM, LPARAM);
    LRESULT OnBrowse(WPARAM, LPARAM);
    LRESULT OnCustomPage(WPARAM, LPARAM);
    LRESULT OnDefaultPage(WPARAM, LPARAM);
    LRESULT OnContinueLink(WPARAM, LPARAM);
    LRESULT OnExtractDone(WPARAM succeeded, LPARAM);
    void StartInstall();
    void ShowCustomPage(bool custom);
    void ResetOptions();
    static DWORD WINAPI ExtractWorker(void* dialog);

    // Look and window behaviour (GameSetupDlgLook.cpp).
    void MakeBackground(const wchar_t* name, SkinImage& background);
    void FitWindowToBackground();
    void FitControlsToBackground();
    void WidenToFitText(int id);
    CPngButton* MakeButton(int id, const wchar_t* strip, int sliceWidth, bool handCursor);
    LRESULT OnEraseBkgnd(WPARAM dc, LPARAM);
    LRESULT OnCtlColorStatic(WPARAM dc, LPARAM control);
    LRESULT OnCtlColorBtn(WPARAM dc, LPARAM control);
    LRESULT CtlColor(UINT message, WPARAM dc, LPARAM control);
    LRESULT OnNcHitTest(WPARAM, LPARAM);
    LRESULT OnChangeUiState(WPARAM, LPARAM);

    std::wstring name_;
    std::wstring title_;
    UniqueIcon bigIcon_;
    UniqueIcon smallIcon_;
    CStaticBtn link_;
    CProgressCtrl progress_;
    SkinImage defaultBackground_;
    SkinImage customBackground_;
    const SkinImage* background_ = &defaultBackground_;
    CPngButton* mainButton_ = nullptr;  // deletes itself with its window
    bool installing_ = false;
    UniqueHandle worker_;
};

}  // namespace setup
