#include "server/AbandonedPublishes.h"

#include "server/ReleaseStore.h"
#include "server/StoreNames.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace server {

namespace fs = std::filesystem;

namespace {

bool IsDigits(const std::string& text) {
    return !text.empty() && text.size() <= 18 && text.find_first_not_of("0123456789") == std::string::npos;
}

}  // namespace

std::optional<PublishLock> PublishLock::Take(const fs::path& dataDir, const std::string& product, bool wait) {
    const fs::path folder = ProductFolder(dataDir, product);
    std::error_code error;
    fs::create_directories(folder, error);
    // The lock is on the product's folder itself, so the folder holds nothing but releases.
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    int locked;
    do {
        locked = ::flock(fd, LOCK_EX | (wait ? 0 : LOCK_NB));
    } while (locked != 0 && errno == EINTR);
    if (locked != 0) {
        ::close(fd);
        return std::nullopt;
    }
    return PublishLock(fd);
}

PublishLock::~PublishLock() {
    if (fd_ >= 0)
        ::close(fd_);  // releases the lock
}

std::vector<std::string> AbandonedEntries(const std::vector<std::string>& entries, const std::vector<int64_t>& staged) {
    std::vector<std::string> abandoned;
    for (const std::string& entry : entries) {
        const bool staging = entry.rfind(".staging-", 0) == 0 && IsDigits(entry.substr(9));
        const bool stagedFinal =
            IsDigits(entry) && std::find(staged.begin(), staged.end(), std::stoll(entry)) != staged.end();
        if (staging || stagedFinal)
            abandoned.push_back(entry);
    }
    return abandoned;
}

int RemoveAbandoned(Storage& storage, const fs::path& dataDir, const std::string& product) {
    const std::vector<int64_t> staged = storage.StagedReleases(product);
    std::vector<std::string> entries;
    std::error_code error;
    for (fs::directory_iterator it(ProductFolder(dataDir, product), error), end; !error && it != end;
         it.increment(error))
        entries.push_back(it->path().filename().string());
    int removed = 0;
    for (const std::string& entry : AbandonedEntries(entries, staged)) {
        if (fs::remove_all(ProductFolder(dataDir, product) / entry, error) > 0 && !error)
            ++removed;
    }
    for (const int64_t id : staged) {
        storage.DropRelease(id);
        ++removed;
    }
    return removed;
}

int RemoveAbandonedPublishes(Storage& storage, const fs::path& dataDir) {
    int removed = 0;
    std::error_code error;
    for (fs::directory_iterator it(dataDir / "releases", error), end; !error && it != end; it.increment(error)) {
        const std::string product = it->path().filename().string();
        if (!IsProductName(product) || !it->is_directory(error))
            continue;
        const auto lock = PublishLock::Take(dataDir, product, false);
        if (!lock)
            continue;
        removed += RemoveAbandoned(storage, dataDir, product);
        // A store published before the link existed, or moved to another database, gets it here.
        if (const auto live = storage.CurrentRelease(product))
            PointLiveLink(dataDir, product, live->id);
    }
    return removed;
}

}  // namespace server
