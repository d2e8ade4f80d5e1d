// The application object: one per program, constructed as a global. The framework's entry point
// calls its InitInstance; a program that does all its work there (a modal dialog) returns FALSE.
#pragma once
#include <windows.h>

class CWinApp {
public:
    CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;
    virtual ~CWinApp();

    virtual BOOL InitInstance() { return FALSE; }
    virtual int ExitInstance() { return 0; }

    HINSTANCE m_hInstance = nullptr;
    const wchar_t* m_lpCmdLine = L"";  // the arguments after the program name
};

CWinApp* AfxGetApp();
HINSTANCE AfxGetInstanceHandle();
