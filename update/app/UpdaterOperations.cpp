// The operations behind update.CustomClass in the updater programs: the update pass, with the version of the
// program they are linked into.
#include <string>

#include "common/ProductVersionText.h"
#include "update/install/UpdatePass.h"

namespace update {

std::unique_ptr<UpdateOperations> MakeUpdateOperations() {
    const std::string version = kProductVersion;  // digits and a dot
    return std::make_unique<UpdatePass>(std::u16string(version.begin(), version.end()));
}

}  // namespace update
