#include "ReleaseStore.h"

std::filesystem::path DatabasePath(const std::filesystem::path& dataDir) {
    return dataDir / "server.db";
}

std::filesystem::path ReleaseFolder(const std::filesystem::path& dataDir, const std::string& product, int64_t id) {
    return dataDir / "releases" / product / std::to_string(id);
}

std::filesystem::path StagingFolder(const std::filesystem::path& dataDir, const std::string& product, int64_t id) {
    return dataDir / "releases" / product / (".staging-" + std::to_string(id));
}
