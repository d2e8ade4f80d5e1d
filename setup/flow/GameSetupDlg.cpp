// The flow of the setup dialog: pages, the free-space check, browsing, the running-copy question, the
// hand-off to the worker thread and what happens when it reports.
#include "setup/flow/GameSetupDlg.h"

#include <shlobj.h>

#include "assets/setup/resource.h"
#include "common/OwnProgram.h"
#include "setup/flow/DiskSpace.h"
#include "setup/flow/InstalledProgram.h"
#include "setup/flow/InstallFolder.h"
#include "setup/flow/InstallState.h"
#include "setup/flow/RunningProgram.h"
#include "setup/payload/Payload.h"
#include "setup/register/Registration.h"

namespace setup {

namespace {

std::wstring TextOf(HWND control) {
    int n = GetWindowTextLengthW(control);
    std::wstring text(n + 1, L'\0');
    text.resize(GetWindowTextW(control, &text[0], n + 1));
    return text;
}

std::optional<uint64_t> FreeBytesOf(const std::wstring& root) {
    ULARGE_INTEGER available, total, free;
    if (!GetDiskFreeSpaceExW(root.c_str(), &available, &total, &free)) return std::nullopt;
    return free.QuadPart;
}

// A test that looks at the installing page holds the worker before it unpacks anything: the environment
// variable names an event the worker waits for, a minute at most. Unset, nothing waits.
void WaitForTestGate() {
    wchar_t name[128];
    DWORD n = GetEnvironmentVariableW(L"SETUP_TEST_EXTRACTION_GATE", name, 128);
    if (n == 0 || n >= 128) return;
    UniqueHandle gate(OpenEventW(SYNCHRONIZE, FALSE, name));
    if (gate) WaitForSingleObject(gate.Get(), 60000);
}

}  // namespace

LRESULT CGameSetupDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    using D = CGameSetupDlg;
    static const MessageEntry<D> kMessageMap[] = {
        {WM_COMMAND, EN_CHANGE, IDC_FOLDER_EDIT, &D::OnFolderChanged},
        {WM_COMMAND, BN_CLICKED, IDC_BROWSE, &D::OnBrowse},
        {WM_COMMAND, BN_CLICKED, IDC_CUSTOM_PAGE, &D::OnCustomPage},
        {WM_COMMAND, BN_CLICKED, IDC_DEFAULT_PAGE, &D::OnDefaultPage},
        {WM_COMMAND, STN_CLICKED, IDC_CONTINUE_LINK, &D::OnContinueLink},
        {WM_EXTRACT_DONE, 0, 0, &D::OnExtractDone},
        {WM_ERASEBKGND, 0, 0, &D::OnEraseBkgnd},
        {WM_CTLCOLORSTATIC, 0, 0, &D::OnCtlColorStatic},
        {WM_CTLCOLORBTN, 0, 0, &D::OnCtlColorBtn},
        {WM_NCHITTEST, 0, 0, &D::OnNcHitTest},
        {WM_CHANGEUISTATE, 0, 0, &D::OnChangeUiState},
    };
    LRESULT result = 0;
    if (DispatchMessageMap(this, kMessageMap, message, wParam, lParam, &result)) return result;
    return CDialog::WindowProc(message, wParam, lParam);
}

void CGameSetupDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_CONTINUE_LINK, link_);
    DDX_Control(pDX, IDC_PROGRESS, progress_);
}

BOOL CGameSetupDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.Get()));
    SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.Get()));
    FitWindowToBackground();
    SetDlgItemTextW(m_hWnd, IDC_UP_TO_DATE_TEXT, (L"您已经安装了最新" + title_ + L"，建议退出").c_str());
    WidenToFitText(IDC_UP_TO_DATE_TEXT);

    if (CPngButton* close = MakeButton(IDCANCEL, L"关闭.png", 38, false))
        SetWindowPos(close->m_hWnd, nullptr, background_->Width() - 39, 1, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    MakeButton(IDC_BROWSE, L"更换目录.png", 77, false);
    MakeButton(IDC_CUSTOM_PAGE, L"自定义安装.png", 89, true);
    MakeButton(IDC_DEFAULT_PAGE, L"返回默认安装.png", 89, true);

    // Make the main button before the folder goes in: the free-space check sets its looks.
    mainButton_ = MakeButton(IDOK, g_bUpToDate ? L"退出安装.png" : L"一秒安装.png", 146, true);
    SetDlgItemTextW(m_hWnd, IDC_FOLDER_EDIT, g_strInstallDir.c_str());
    ResetOptions();
    if (g_bUpToDate) {
        ShowWindow(GetDlgItem(IDC_CONTINUE_LINK), SW_SHOW);
        ShowWindow(GetDlgItem(IDC_UP_TO_DATE_TEXT), SW_SHOW);
    } else {
        ShowWindow(GetDlgItem(IDC_CUSTOM_PAGE), SW_SHOW);
    }
    return TRUE;
}

void CGameSetupDlg::ResetOptions() {
    CheckDlgButton(m_hWnd, IDC_DESKTOP_BOX, BST_CHECKED);
    CheckDlgButton(m_hWnd, IDC_QUICK_LAUNCH_BOX, BST_UNCHECKED);
    CheckDlgButton(m_hWnd, IDC_START_MENU_BOX, BST_CHECKED);
    CheckDlgButton(m_hWnd, IDC_RUN_AT_LOGON_BOX, BST_UNCHECKED);
}

LRESULT CGameSetupDlg::OnFolderChanged(WPARAM, LPARAM) {
    if (installing_) return 0;  // the folder is fixed while the worker runs
    DiskCheck check = CheckDiskSpace(TextOf(GetDlgItem(IDC_FOLDER_EDIT)), g_dwRequiredBytes, FreeBytesOf);
    if (mainButton_) mainButton_->UseFourthSliceWhenDisabled(check.accepted);
    EnableWindow(GetDlgItem(IDOK), check.accepted);
    SetDlgItemTextW(m_hWnd, IDC_SPACE_TEXT, check.text.c_str());
    return 0;
}

LRESULT CGameSetupDlg::OnBrowse(WPARAM, LPARAM) {
    ScopedComInit com;  // the folder picker is a shell object and needs COM on this thread
    BROWSEINFOW browse = {};
    browse.hwndOwner = m_hWnd;
    browse.ulFlags = BIF_RETURNONLYFSDIRS;
    PIDLIST_ABSOLUTE picked = SHBrowseForFolderW(&browse);
    if (!picked) return 0;
    wchar_t path[MAX_PATH] = {};
    if (SHGetPathFromIDListW(picked, path))
        SetDlgItemTextW(m_hWnd, IDC_FOLDER_EDIT, FolderUnder(path, name_).c_str());
    CoTaskMemFree(picked);
    return 0;
}

void CGameSetupDlg::ShowCustomPage(bool custom) {
    SendMessageW(m_hWnd, WM_SETREDRAW, FALSE, 0);
    background_ = custom ? &customBackground_ : &defaultBackground_;
    int show = custom ? SW_SHOW : SW_HIDE;
    for (int id = IDC_INSTALL_TO_LABEL; id <= IDC_RUN_AT_LOGON_BOX; ++id) ShowWindow(GetDlgItem(id), show);
    for (int id = IDC_DESKTOP_LABEL; id <= IDC_RUN_AT_LOGON_LABEL; ++id) ShowWindow(GetDlgItem(id), show);
    ShowWindow(GetDlgItem(IDC_CUSTOM_PAGE), custom ? SW_HIDE : SW_SHOW);
    ShowWindow(GetDlgItem(IDC_DEFAULT_PAGE), show);
    if (!custom) {
        SetDlgItemTextW(m_hWnd, IDC_FOLDER_EDIT, g_strInstallDir.c_str());
        ResetOptions();
    }
    SendMessageW(m_hWnd, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(m_hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

LRESULT CGameSetupDlg::OnCustomPage(WPARAM, LPARAM) {
    if (!installing_) ShowCustomPage(true);
    return 0;
}

LRESULT CGameSetupDlg::OnDefaultPage(WPARAM, LPARAM) {
    if (!installing_) ShowCustomPage(false);
    return 0;
}

void CGameSetupDlg::OnOK() {
    if (installing_) return;
    if (g_bUpToDate) {
        CDialog::OnOK();
        return;
    }
    g_strInstallDir = TextOf(GetDlgItem(IDC_FOLDER_EDIT));
    StartInstall();
}

void CGameSetupDlg::OnCancel() {
    // A half-written folder is worse than a late close: the dialog ends once the worker has reported.
    if (!installing_) CDialog::OnCancel();
}

LRESULT CGameSetupDlg::OnContinueLink(WPARAM, LPARAM) {
    if (installing_) return 0;
    ShowWindow(GetDlgItem(IDC_CONTINUE_LINK), SW_HIDE);
    ShowWindow(GetDlgItem(IDC_UP_TO_DATE_TEXT), SW_HIDE);
    StartInstall();
    return 0;
}

void CGameSetupDlg::StartInstall() {
    g_strInstallDir = WithTrailingBackslash(g_strInstallDir);
    std::wstring program = g_strInstallDir + name_ + L".exe";
    if (FindRunningProgram(program, false)) {
        std::wstring question = title_ +
                                L"正在运行中，点击“确定”将关闭并继续安装。\n\n"
                                L"点击“取消”将直接退出安装程序。";
        if (MessageBoxW(m_hWnd, question.c_str(), (title_ + L"安装").c_str(), MB_OKCANCEL | MB_ICONEXCLAMATION) !=
            IDOK) {
            CDialog::OnCancel();
            return;
        }
        FindRunningProgram(program, true);
    }
    installing_ = true;
    // Nothing may change the folder or start a second install while the worker runs.
    for (int id : {IDOK, IDC_FOLDER_EDIT, IDC_BROWSE, IDC_CUSTOM_PAGE, IDC_DEFAULT_PAGE})
        EnableWindow(GetDlgItem(id), FALSE);
    ShowWindow(GetDlgItem(IDC_CUSTOM_PAGE), SW_HIDE);
    ShowWindow(GetDlgItem(IDC_DEFAULT_PAGE), SW_HIDE);
    progress_.SetRange(0, 100);
    ShowWindow(progress_.m_hWnd, SW_SHOW);
    SetProgressBar(progress_.m_hWnd);
    worker_.Reset(CreateThread(nullptr, 0, &CGameSetupDlg::ExtractWorker, this, 0, nullptr));
    if (!worker_) PostMessageW(m_hWnd, WM_EXTRACT_DONE, 0, 0);
}

DWORD WINAPI CGameSetupDlg::ExtractWorker(void* dialog) {
    HWND hwnd = static_cast<CGameSetupDlg*>(dialog)->m_hWnd;
    WaitForTestGate();
    bool ok = ExtractPayload(OwnProgramPath().c_str(), g_strInstallDir.c_str());
    PostMessageW(hwnd, WM_EXTRACT_DONE, ok ? 1 : 0, 0);
    return 0;
}

LRESULT CGameSetupDlg::OnExtractDone(WPARAM succeeded, LPARAM) {
    if (!installing_) return 0;  // only our worker reports, once per install
    installing_ = false;
    if (worker_) WaitForSingleObject(worker_.Get(), INFINITE);  // it has posted; it only has to return
    if (succeeded) {
        StartInstalledProgram(g_strInstallDir, name_);
        {
            ScopedComInit com;
            CreateShortcuts(m_hWnd, g_strInstallDir, name_, title_);
        }
        WriteUninstallEntry(g_strInstallDir, name_, title_);
    } else {
        MessageBoxW(m_hWnd, L"解压文件失败，请下载完整安装包！", (title_ + L"安装").c_str(), MB_OK | MB_ICONERROR);
    }
    CDialog::OnOK();
    return 0;
}

}  // namespace setup
