// The dialog object that carries the update operations. Its window is never created: each Lua method that
// runs an operation makes a fresh one, runs the operation and drops it.
#pragma once
#include <memory>
#include <string>

#include "framework/Dialog.h"
#include "update/host/UpdateOperations.h"

namespace update {

class Cupdate_lumioDlg : public CDialog {
public:
    Cupdate_lumioDlg() : CDialog(0), operations_(MakeUpdateOperations()) {}

    std::wstring FetchUpdateLog() { return operations_->FetchUpdateLog(); }
    void PrepareUpdate() { operations_->PrepareUpdate(); }
    void InstallStagedFiles() { operations_->InstallStagedFiles(); }
    void LaunchProduct() { operations_->LaunchProduct(); }

private:
    std::unique_ptr<UpdateOperations> operations_;
};

}  // namespace update
