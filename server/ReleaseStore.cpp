#include "server/ReleaseStore.h"

std::filesystem::path DatabasePath(const std::filesystem::path& dataDir) {
    return dataDir / "server.db";
}

std::filesystem::path ProductFolder(const std::filesystem::path& dataDir, const std::string& product) {
    return dataDir / "releases" / product;
}

std::filesystem::path ReleaseFolder(const std::filesystem::path& dataDir, const std::string& product, int64_t id) {
    return ProductFolder(dataDir, product) / std::to_string(id);
}

std::filesystem::path StagingFolder(const std::filesystem::path& dataDir, const std::string& product, int64_t id) {
    return ProductFolder(dataDir, product) / (".staging-" + std::to_string(id));
}
