#include "server/Publish.h"

#include "common/Md5Digest.h"
#include "common/Sha256Digest.h"
#include "server/AbandonedPublishes.h"
#include "server/ReleaseStore.h"
#include "server/StoreNames.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <optional>
#include <sstream>
#include <cctype>
#include <set>
#include <system_error>

namespace server {

namespace fs = std::filesystem;

namespace {

constexpr size_t kMaxFiles = 10000;
constexpr size_t kMaxContent = 64 * 1024;

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// The updater replaces its own executable through copy.bat, which looks for it in the staging folder's
// "Update"; so the installation's update folder is published under that name, whatever case it has here.
std::string PublishedFolder(const std::vector<std::string>& segments) {
    if (segments.size() < 2)
        return "NULL";
    std::string folder;
    for (size_t i = 0; i + 1 < segments.size(); ++i) {
        if (!folder.empty())
            folder += '/';
        folder += (i == 0 && Lower(segments[0]) == "update") ? std::string("Update") : segments[i];
    }
    return folder;
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int Get() const { return fd_; }
    // Closes now, so that a failing close is seen.
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

bool WriteAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0)
            return false;
        data += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

// Copies source to a new file target, flushed to disk; the digests are of the bytes copied.
bool CopyHashed(const fs::path& source, const fs::path& target, ManifestFile& file) {
    FileDescriptor in(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
    FileDescriptor out(::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
    if (in.Get() < 0 || out.Get() < 0)
        return false;
    Md5Digest digest;
    Sha256Digest sha256;
    char buffer[64 * 1024];
    while (true) {
        const ssize_t count = ::read(in.Get(), buffer, sizeof buffer);
        if (count < 0)
            return false;
        if (count == 0)
            break;
        digest.Update(buffer, static_cast<size_t>(count));
        sha256.Update(buffer, static_cast<size_t>(count));
        if (!WriteAll(out.Get(), buffer, static_cast<size_t>(count)))
            return false;
    }
    const auto bytes = digest.Finish();
    file.md5 = HexDigits(bytes.data(), bytes.size(), false);
    file.sha256 = sha256.FinishHex();
    return ::fsync(out.Get()) == 0 && out.Close();
}

bool WriteFileSynced(const fs::path& target, const std::string& text) {
    FileDescriptor out(::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
    return out.Get() >= 0 && WriteAll(out.Get(), text.data(), text.size()) && ::fsync(out.Get()) == 0 &&
           out.Close();
}

void SyncFolder(const fs::path& folder) {
    FileDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.Get() >= 0)
        ::fsync(dir.Get());
}

// The installation folder's own files first, then folder by folder: the same tree gives the same list.
void SortByFolderAndName(ReleaseListing& listing) {
    std::vector<size_t> order(listing.files.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    auto key = [&listing](size_t i) {
        const ManifestFile& file = listing.files[i];
        return std::make_pair(file.folder == "NULL" ? std::string() : file.folder, file.name);
    };
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return key(a) < key(b); });
    ReleaseListing sorted;
    for (size_t i : order) {
        sorted.files.push_back(listing.files[i]);
        sorted.sources.push_back(listing.sources[i]);
    }
    listing.files = std::move(sorted.files);
    listing.sources = std::move(sorted.sources);
}

std::string CheckRequest(const PublishRequest& request) {
    if (!IsProductName(request.product))
        return "the product name must be 1 to 64 letters, digits, '-' or '_'";
    if (request.productId <= 0)
        return "the product id must be a positive number";
    if (!IsVersionText(request.entry.version))
        return "the version must be 1 to 32 letters, digits, '.', '-' or '_', starting with a letter or digit";
    if (request.entry.date.empty() || request.entry.date.size() > 64)
        return "the date must be 1 to 64 bytes";
    if (request.entry.content.size() > kMaxContent)
        return "the change text is longer than 64 KB";
    // Updaters with keys install only a version newer than their own, which they must be able to compare.
    if (!request.signingKeys.empty() && !IsComparableVersion(request.entry.version))
        return "a signed release needs a version of numbers separated by '.', such as 1.003";
    return {};
}

// Copies every listed file into the staging folder and writes the digest list there, signed with every key.
std::string StageFiles(const ReleaseListing& listing, const fs::path& staging, const PublishRequest& request,
                       std::vector<ManifestFile>& files) {
    files = listing.files;
    std::error_code error;
    for (size_t i = 0; i < files.size(); ++i) {
        fs::path target = staging / "files";
        if (files[i].folder != "NULL")
            target /= files[i].folder;
        fs::create_directories(target, error);
        target /= files[i].name;
        if (error || !CopyHashed(listing.sources[i], target, files[i]))
            return "cannot copy " + listing.sources[i].string() + " into the store";
    }
    const ReleaseStamp stamp{request.stampProduct.empty() ? request.product : request.stampProduct, request.arch,
                             request.entry.version, request.expires};
    const std::string digestList = DigestManifest(stamp, files);
    if (!WriteFileSynced(staging / "update_md5.xml", digestList))
        return "cannot write the digest list into the store";
    const std::vector<SigningKey>& keys = request.signingKeys;
    if (!keys.empty() && !WriteFileSynced(staging / "update_md5.xml.sig", SignatureFile(digestList, keys)))
        return "cannot write the digest list's signature into the store";
    return {};
}

std::optional<std::string> ReadWhole(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    if (!in)
        return std::nullopt;
    return text.str();
}

// Replaces target by a new file holding text, in one rename.
bool ReplaceFile(const fs::path& target, const std::string& text) {
    fs::path fresh = target;
    fresh += ".new";
    std::error_code error;
    fs::remove(fresh, error);
    if (!WriteFileSynced(fresh, text))
        return false;
    fs::rename(fresh, target, error);
    return !error;
}

}  // namespace

ReleaseListing ListReleaseFolder(const fs::path& releaseDir) {
    ReleaseListing listing;
    std::error_code error;
    if (!fs::is_directory(releaseDir, error)) {
        listing.error = releaseDir.string() + " is not a folder";
        return listing;
    }
    std::set<std::string> names;
    for (fs::recursive_directory_iterator it(releaseDir, error), end; !error && it != end; it.increment(error)) {
        const std::string relative = fs::relative(it->path(), releaseDir, error).generic_string();
        const auto segments = SafeSegments(relative);
        if (!segments) {
            listing.error = "\"" + relative + "\" is not a name a release may hold";
            return listing;
        }
        if (it->is_symlink(error)) {
            listing.error = "\"" + relative + "\" is a link; a release holds plain files only";
            return listing;
        }
        if (it->is_directory(error))
            continue;
        if (!it->is_regular_file(error)) {
            listing.error = "\"" + relative + "\" is not a plain file";
            return listing;
        }
        // The installation's settings file holds the user's own settings: an update must never replace it.
        if (segments->size() == 1 && Lower(relative) == "config.ini")
            continue;
        // The updater finds a file's folder by its name alone, so one name can only stand for one file.
        if (!names.insert(Lower(segments->back())).second) {
            listing.error = "two files are named \"" + segments->back() + "\"; the updater tells files apart by name";
            return listing;
        }
        if (names.size() > kMaxFiles) {
            listing.error = "more than " + std::to_string(kMaxFiles) + " files";
            return listing;
        }
        listing.files.push_back({segments->back(), {}, PublishedFolder(*segments), {}});
        listing.sources.push_back(it->path());
    }
    if (error) {
        listing.error = "cannot read " + releaseDir.string() + ": " + error.message();
    } else if (listing.files.empty()) {
        listing.error = releaseDir.string() + " holds no file";
    }
    SortByFolderAndName(listing);
    return listing;
}

PublishResult PublishRelease(Storage& storage, const fs::path& dataDir, const PublishRequest& request) {
    PublishResult result;
    result.error = CheckRequest(request);
    if (!result.error.empty())
        return result;
    const ReleaseListing listing = ListReleaseFolder(request.releaseDir);
    if (!listing.error.empty()) {
        result.error = listing.error;
        return result;
    }
    const auto lock = PublishLock::Take(dataDir, request.product, true);
    if (!lock) {
        result.error = "cannot take the publish lock in " + ProductFolder(dataDir, request.product).string();
        return result;
    }
    result.abandonedRemoved = RemoveAbandoned(storage, dataDir, request.product);
    const auto staged = storage.StageRelease(request.product, request.productId, request.entry);
    if (staged.id == 0) {
        result.error = staged.error;
        return result;
    }
    const fs::path staging = StagingFolder(dataDir, request.product, staged.id);
    const fs::path final = ReleaseFolder(dataDir, request.product, staged.id);
    std::error_code error;
    fs::create_directories(staging, error);
    result.error = error ? "cannot make " + staging.string() : StageFiles(listing, staging, request, result.files);
    if (result.error.empty()) {
        fs::rename(staging, final, error);
        if (error)
            result.error = "cannot move the release into place: " + error.message();
        else
            SyncFolder(final.parent_path());
    }
    if (result.error.empty())
        result.error = storage.MakeLive(staged.id);
    if (!result.error.empty()) {
        fs::remove_all(staging, error);
        fs::remove_all(final, error);
        storage.DropRelease(staged.id);
        return result;
    }
    result.ok = true;
    result.releaseId = staged.id;
    // Still under the publish lock, so links of two publishes never cross.
    PointLiveLink(dataDir, request.product, staged.id);
    for (const int64_t retired : storage.RetiredReleases(request.product, kReleasesKept)) {
        // A folder that cannot be removed now stays until a later publish tries again.
        if (fs::remove_all(ReleaseFolder(dataDir, request.product, retired), error) > 0 && !error)
            ++result.retiredReleases;
    }
    return result;
}

std::string ResignRelease(Storage& storage, const fs::path& dataDir, const std::string& product,
                          const std::vector<SigningKey>& keys, int64_t expires) {
    if (keys.empty())
        return "re-signing needs at least one --key";
    const std::optional<LiveRelease> live = storage.CurrentRelease(product);
    if (!live)
        return "no published product " + product;
    const fs::path folder = ReleaseFolder(dataDir, product, live->id);
    const std::optional<std::string> list = ReadWhole(folder / "update_md5.xml");
    if (!list)
        return "cannot read the live digest list of " + product;
    const std::string renewed = WithExpiry(*list, expires);
    if (renewed.empty())
        return "the live release of " + product + " names no expiry (it was published before releases did); "
               "publish it again";
    const std::string signatures = SignatureFile(renewed, keys);
    // While both lists may be served, the signature file holds both lists' signatures (the updater takes any
    // line it can verify, up to eight).
    const std::string old = ReadWhole(folder / "update_md5.xml.sig").value_or("");
    const size_t lines = static_cast<size_t>(std::count(old.begin(), old.end(), '\n')) + keys.size();
    if ((lines <= 8 && !ReplaceFile(folder / "update_md5.xml.sig", signatures + old)) ||
        !ReplaceFile(folder / "update_md5.xml", renewed) || !ReplaceFile(folder / "update_md5.xml.sig", signatures))
        return "cannot write the re-signed digest list into " + folder.string();
    SyncFolder(folder);
    return {};
}

}  // namespace server
