// Setup's application object: start-up prepares the install state and runs the dialog modally.
#pragma once
#include "framework/WinApp.h"

namespace setup {

class CGameSetupApp : public CWinApp {
public:
    BOOL InitInstance() override;
};

}  // namespace setup
