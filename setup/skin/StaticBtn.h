// A text link: an underlined static with the hand cursor that reports clicks (SS_NOTIFY) to its dialog.
#pragma once
#include "common/Handles.h"
#include "framework/Controls.h"

namespace setup {

class CStaticBtn : public CStatic {
public:
    CStaticBtn() : cursor_(LoadCursorW(nullptr, IDC_HAND)) {}

protected:
    void PreSubclassWindow() override;
    bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    HCURSOR cursor_;
    UniqueFont underlined_;
};

}  // namespace setup
