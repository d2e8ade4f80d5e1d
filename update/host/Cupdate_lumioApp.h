// The updater's application object: its start-up brings the engine up, loads the package when the
// command line asks for it, runs the message loop and releases the engine.
#pragma once
#include <string>

#include "framework/WinApp.h"

namespace update {

class Cupdate_lumioApp : public CWinApp {
public:
    BOOL InitInstance() override;
    int ExitInstance() override { return exitCode_; }

private:
    // Steps 6 to 11 of the engine bring-up; false when the package did not load.
    bool LoadPackage();
    void RunMessageLoop();
    void ReleaseEngine();

    std::wstring commandLine_;
    int exitCode_ = 0;
};

// The title of the package's window, by which a running updater is recognised.
constexpr wchar_t kUpdaterWindowTitle[] = L"更新升级程序_lumio";

}  // namespace update
