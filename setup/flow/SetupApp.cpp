#include "setup/flow/SetupApp.h"

#include <commctrl.h>

#include "assets/setup/resource.h"
#include "common/OwnProgram.h"
#include "setup/flow/GameSetupDlg.h"
#include "setup/flow/InstalledProgram.h"
#include "setup/flow/InstallState.h"
#include "setup/payload/Payload.h"
#include "setup/skin/SkinImage.h"

namespace setup {

CGameSetupApp theApp;

namespace {
std::wstring LoadText(HINSTANCE instance, UINT id) {
    const wchar_t* text = nullptr;
    int n = LoadStringW(instance, id, reinterpret_cast<wchar_t*>(&text), 0);
    return n > 0 ? std::wstring(text, n) : std::wstring();
}
}  // namespace

BOOL CGameSetupApp::InitInstance() {
    INITCOMMONCONTROLSEX controls = {sizeof controls, 0xFF};
    InitCommonControlsEx(&controls);
    g_strName = LoadText(m_hInstance, IDS_NAME);
    g_strTitle = LoadText(m_hInstance, IDS_TITLE);
    std::wstring ownPath = OwnProgramPath();
    g_dwRequiredBytes = MeasurePayload(ownPath.c_str());
    g_strInstallDir = ChooseInstallFolder(g_strName);
    ReleaseUpdateSemaphore();
    g_bUpToDate = IsUpToDate(g_strInstallDir, g_strName, ownPath);
    LoadSkinPackResource(m_hInstance);

    CGameSetupDlg dialog;
    dialog.DoModal();
    return FALSE;  // no message loop: Setup ends with its dialog
}

}  // namespace setup
