#include "server/SchemaVersion.h"

namespace server {

std::string SchemaVersionError(long long found) {
    if (found >= 0 && found <= kSchemaVersion)
        return {};
    return "the database has schema version " + std::to_string(found) + ", this program knows versions up to " +
           std::to_string(kSchemaVersion) + ": a newer nightcap-server has upgraded it; run that one (or newer)";
}

}  // namespace server
