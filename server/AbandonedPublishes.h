// What a publish that died (killed, or its machine gone down) leaves behind: its staged release rows and their
// folders, ".staging-N" while the files were being copied, "N" when it died between the rename and going live.
// A publish holds its product's publish lock from staging until its release is live, so whoever takes the lock
// knows that every staged release of the product left is abandoned: the next publish of the product removes
// them, and so does the server when it starts (skipping a product whose publish is running right now).
#pragma once
#include "server/Storage.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace server {

class PublishLock {
public:
    // wait: block until a running publish of the product ends; otherwise nothing while one runs.
    static std::optional<PublishLock> Take(const std::filesystem::path& dataDir, const std::string& product, bool wait);
    ~PublishLock();
    PublishLock(PublishLock&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    PublishLock(const PublishLock&) = delete;
    PublishLock& operator=(const PublishLock&) = delete;
    PublishLock& operator=(PublishLock&&) = delete;

private:
    explicit PublishLock(int fd) : fd_(fd) {}
    int fd_ = -1;
};

// The entries of a product's release folder that belong to staged releases: every ".staging-N", and "N" for
// the staged ids (a live release's folder is never among them).
std::vector<std::string> AbandonedEntries(const std::vector<std::string>& entries, const std::vector<int64_t>& staged);

// Removes the product's staged releases and their folders; call holding its publish lock. Gives how many
// entries (rows and folders) went.
int RemoveAbandoned(Storage& storage, const std::filesystem::path& dataDir, const std::string& product);
// At server start: the same for every product in the store that no publish is running for, and its live link
// pointed at its live release.
int RemoveAbandonedPublishes(Storage& storage, const std::filesystem::path& dataDir);

}  // namespace server
