#include "server/ReleaseStore.h"

#include <unistd.h>

namespace server {

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

std::filesystem::path LiveLink(const std::filesystem::path& dataDir, const std::string& product) {
    return ProductFolder(dataDir, product) / "live";
}

bool PointLiveLink(const std::filesystem::path& dataDir, const std::string& product, int64_t id) {
    const std::filesystem::path link = LiveLink(dataDir, product);
    std::filesystem::path fresh = link;
    fresh += ".new-" + std::to_string(::getpid());
    std::error_code error;
    std::filesystem::remove(fresh, error);
    std::filesystem::create_directory_symlink(std::to_string(id), fresh, error);
    if (!error)
        std::filesystem::rename(fresh, link, error);
    if (!error)
        return true;
    std::filesystem::remove(fresh, error);
    return false;
}

}  // namespace server
