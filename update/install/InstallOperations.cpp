// The update operations of the manifests and the install side, behind the host's update.CustomClass.
#include "Manifests.h"
#include "UpdateOperations.h"
#include "UpdatePass.h"

namespace {

class InstallOperations final : public UpdateOperations {
public:
    std::wstring FetchUpdateLog() override { return ::FetchUpdateLog(); }
    void PrepareUpdate() override { ::PrepareUpdate(); }
    void InstallStagedFiles() override { ::InstallStagedFiles(); }
    void LaunchProduct() override { ::LaunchProduct(); }
};

}  // namespace

std::unique_ptr<UpdateOperations> MakeUpdateOperations() { return std::make_unique<InstallOperations>(); }
