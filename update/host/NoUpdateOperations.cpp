// The operations before the install side exists: each does nothing and reports nothing.
#include "UpdateOperations.h"

namespace {
class NoUpdateOperations final : public UpdateOperations {
public:
    std::wstring FetchUpdateLog() override { return {}; }
    void PrepareUpdate() override {}
    void InstallStagedFiles() override {}
    void LaunchProduct() override {}
};
}  // namespace

std::unique_ptr<UpdateOperations> MakeUpdateOperations() { return std::make_unique<NoUpdateOperations>(); }
