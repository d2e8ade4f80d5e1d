// The update operations of the manifests and the install side, behind the host's update.CustomClass. Built
// into every updater program, each with the ProductVersion.h of its own version.
#include "Manifests.h"
#include "ProductVersion.h"
#include "UpdateOperations.h"
#include "UpdatePass.h"

namespace {

class InstallOperations final : public UpdateOperations {
public:
    std::wstring FetchUpdateLog() override { return ::FetchUpdateLog(); }
    void PrepareUpdate() override { ::PrepareUpdate(u"" NIGHTCAP_VERSION_TEXT); }
    void InstallStagedFiles() override { ::InstallStagedFiles(); }
    void LaunchProduct() override { ::LaunchProduct(); }
};

}  // namespace

std::unique_ptr<UpdateOperations> MakeUpdateOperations() { return std::make_unique<InstallOperations>(); }
