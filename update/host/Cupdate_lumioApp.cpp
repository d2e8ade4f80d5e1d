#include "update/host/Cupdate_lumioApp.h"

#include <ole2.h>

#include "common/MessageLoop.h"
#include "engine/Xlue.h"
#include "update/host/LuaMyClass.h"
#include "update/host/NotifyProcess.h"
#include "update/host/ProgramFolder.h"
#include "update/host/ProgressRelay.h"
#include "update/host/ScriptErrorHandler.h"
#include "update/host/UpdaterEnd.h"

namespace update {

BOOL Cupdate_lumioApp::InitInstance() {
    commandLine_ = m_lpCmdLine ? m_lpCmdLine : L"";
    ::CoInitialize(nullptr);
    ::OleInitialize(nullptr);

    XLGraphicParam param;
    XL_PrepareGraphicParam(&param);
    param.mode = 1;
    XL_InitGraphicLib(&param);
    XL_SetFreeTypeEnabled(TRUE);
    XLUE_InitLoader(nullptr);
    XLLRT_ErrorHandle(ScriptErrorHandler);

    if (commandLine_ == L"-1") {
        if (HWND running = ::FindWindowW(nullptr, kUpdaterWindowTitle)) {
            ::SetForegroundWindow(running);
        } else {
            // Progress reports of the download worker reach Lua through this relay, on this thread.
            ProgressRelay relay(NotifyProcess);
            if (!LoadPackage()) {
                ::MessageBoxW(nullptr, L"Load XAR失败!", L"错误", MB_OK);
                exitCode_ = 1;
                return FALSE;
            }
            RunMessageLoop();
        }
    }
    ReleaseEngine();
    ::OleUninitialize();
    ::CoUninitialize();
    EndTheUpdater();
    return FALSE;
}

bool Cupdate_lumioApp::LoadPackage() {
    const std::wstring folder = ProgramFolder();
    XLFS_MountDir(L"\\View", PackageAddress().c_str(), 0, 0);
    XL_LRT_ENV_HANDLE env = XLLRT_GetEnv(nullptr);
    XLLRT_RegisterClass(env, kCustomClassName, kCustomClassMembers, nullptr, 0);
    XLLRT_RegisterGlobalObj(env, FactoryObject());
    XLUE_AddXARSearchPath(folder.c_str());
    return XLUE_LoadXAR("\\View") == 0;
}

void Cupdate_lumioApp::RunMessageLoop() { exitCode_ = ::RunMessageLoop(); }

void Cupdate_lumioApp::ReleaseEngine() {
    XLUE_Uninit(nullptr);
    XLUE_UninitLuaHost(nullptr);
    XL_UnInitGraphicLib();
    XLUE_UninitHandleMap(nullptr);
}

}  // namespace update
