// nightcap-publish: puts a release folder live on the server's data folder, or sets whether installs are
// asked to run their updater, or makes the maker's release key.
//   nightcap-publish --data DIR --version VERSION [--product NAME] [--arch x86|x64] [--id N] [--date TEXT]
//                    [--notes TEXT | --notes-file FILE] [--key PRIVATE_KEY]...
//                    [--expires-in DAYS | --expires YYYY-MM-DDThh:mm:ssZ] RELEASE_DIR
//   nightcap-publish --data DIR --product NAME [--arch x86|x64] --ask-update yes|no
//   nightcap-publish resign --data DIR --product NAME [--arch x86|x64] --key PRIVATE_KEY...
//                    [--expires-in DAYS | --expires YYYY-MM-DDThh:mm:ssZ]
//   nightcap-publish keygen PRIVATE_KEY       (prints the public key for the updater's build)
//   nightcap-publish public-key PRIVATE_KEY
// The product name defaults to [Product] name of the release folder's config.ini. The release goes to the
// channel of its programs' architecture (ReleaseArch.h): --arch only states what the programs must be, and a
// release whose programs are of the other or of both architectures is refused. --id defaults to the
// channel's product id. Each --key signs the digest list; without one the release goes out unsigned. The
// digest list names the release's product, architecture, version and expiry (default: 30 days from now);
// resign signs the live release again with a new expiry, its files unchanged. Every form that publishes
// takes --database postgresql://... (or NIGHTCAP_SERVER_DATABASE) when the servers keep their database there.
#include "server/Publish.h"
#include "server/ReleaseArch.h"
#include "server/ReleaseStore.h"
#include "server/ServerOptions.h"
#include "server/StorageOpening.h"

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>

namespace {

int Usage() {
    std::cerr << "usage: nightcap-publish --data DIR [--database postgresql://...] --version VERSION\n"
                 "                        [--product NAME] [--arch x86|x64] [--id N]\n"
                 "                        [--date TEXT] [--notes TEXT | --notes-file FILE] [--key PRIVATE_KEY]...\n"
                 "                        [--expires-in DAYS | --expires YYYY-MM-DDThh:mm:ssZ] RELEASE_DIR\n"
                 "       nightcap-publish --data DIR --product NAME [--arch x86|x64] --ask-update yes|no\n"
                 "       nightcap-publish resign --data DIR --product NAME [--arch x86|x64] --key PRIVATE_KEY...\n"
                 "                        [--expires-in DAYS | --expires YYYY-MM-DDThh:mm:ssZ]\n"
                 "       nightcap-publish keygen PRIVATE_KEY\n"
                 "       nightcap-publish public-key PRIVATE_KEY\n";
    return 2;
}

// keygen and public-key: the public key goes to standard output, for NIGHTCAP_RELEASE_PUBLIC_KEY.
int KeyCommand(const std::string& command, const std::filesystem::path& keyFile) {
    SigningKey key;
    std::string error = KeyPlaceError(keyFile, {});
    if (error.empty())
        error = command == "keygen" ? MakeSigningKey(keyFile, key) : ReadSigningKey(keyFile, key);
    if (!error.empty()) {
        std::cerr << "nightcap-publish: " << error << "\n";
        return 1;
    }
    std::cout << PublicKeyHex(key) << "\n";
    return 0;
}

std::string Trimmed(std::string text) {
    const char* blanks = " \t\r\n";
    text.erase(0, text.find_first_not_of(blanks));
    text.erase(text.find_last_not_of(blanks) + 1);
    return text;
}

// [Product] name of an INI file, or empty.
std::string ProductNameOf(const std::filesystem::path& ini) {
    std::ifstream in(ini);
    std::string line;
    bool inProduct = false;
    while (std::getline(in, line)) {
        line = Trimmed(line);
        if (!line.empty() && line.front() == '[') {
            inProduct = line == "[Product]";
        } else if (inProduct && line.rfind("name", 0) == 0) {
            const size_t equals = line.find('=');
            if (equals != std::string::npos && Trimmed(line.substr(4, equals - 4)).empty())
                return Trimmed(line.substr(equals + 1));
        }
    }
    return {};
}

// The architecture of the release folder's programs, checked against --arch when given; an error otherwise.
// A folder that cannot be listed is left to the publish, which says why.
ReleaseArchResult ReleaseFolderArch(const std::filesystem::path& releaseDir, const std::optional<ReleaseArch>& stated) {
    const ReleaseListing listing = ListReleaseFolder(releaseDir);
    std::vector<NamedHead> programs;
    for (size_t i = 0; i < listing.sources.size(); ++i) {
        std::ifstream in(listing.sources[i], std::ios::binary);
        std::string head(kProgramHeadBytes, '\0');
        in.read(head.data(), static_cast<std::streamsize>(head.size()));
        head.resize(static_cast<size_t>(in.gcount()));
        programs.push_back({listing.sources[i].lexically_relative(releaseDir).generic_string(), head});
    }
    ReleaseArchResult result = ReleaseArchOf(programs);
    if (result.error.empty() && stated && *stated != result.arch)
        result.error = std::string("the release's programs are ") + ReleaseArchName(result.arch) + ", not " +
                       ReleaseArchName(*stated);
    return result;
}

// Reads every --key; false after saying why one is refused. A key inside the release folder would be
// published with it, one inside the data folder served.
bool ReadKeys(const std::vector<std::filesystem::path>& keyFiles, const std::vector<std::filesystem::path>& folders,
              std::vector<SigningKey>& keys) {
    for (const std::filesystem::path& keyFile : keyFiles) {
        SigningKey key;
        std::string keyError = KeyPlaceError(keyFile, folders);
        if (keyError.empty())
            keyError = ReadSigningKey(keyFile, key);
        if (!keyError.empty()) {
            std::cerr << "nightcap-publish: " << keyError << "\n";
            return false;
        }
        keys.push_back(key);
    }
    return true;
}

// --expires-in DAYS (1 to 3660) or --expires TIME; nullopt when malformed.
std::optional<int64_t> ExpiryOf(const std::string& option, const std::string& value, int64_t now) {
    if (option == "--expires")
        return ParseUtcTimeText(value);
    char* end = nullptr;
    const long days = std::strtol(value.c_str(), &end, 10);
    if (value.empty() || *end != '\0' || days < 1 || days > 3660)
        return std::nullopt;
    return now + static_cast<int64_t>(days) * 86400;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && (std::string(argv[1]) == "keygen" || std::string(argv[1]) == "public-key"))
        return argc == 3 ? KeyCommand(argv[1], argv[2]) : Usage();
    const bool resign = argc >= 2 && std::string(argv[1]) == "resign";
    const int64_t now = static_cast<int64_t>(std::time(nullptr));
    int64_t expires = now + kDefaultExpiryDays * 86400;
    std::filesystem::path dataDir;
    PublishRequest request;
    std::string askUpdate, notesFile;
    std::vector<std::filesystem::path> keyFiles;
    std::optional<ReleaseArch> statedArch;
    bool haveNotes = false, haveId = false;
    std::string database = server::DatabaseFromEnvironment();
    for (int i = resign ? 2 : 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--", 0) != 0) {
            if (!request.releaseDir.empty())
                return Usage();
            request.releaseDir = arg;
            continue;
        }
        if (i + 1 >= argc)
            return Usage();
        const std::string value = argv[++i];
        if (arg == "--data") {
            dataDir = value;
        } else if (arg == "--database") {
            // An empty address (a variable that was not set) must not quietly mean a database of this
            // machine's own.
            database = server::TakeArgument(argv[i]);
            if (database.empty())
                return Usage();
        } else if (arg == "--version") {
            request.entry.version = value;
        } else if (arg == "--product") {
            request.product = value;
        } else if (arg == "--id") {
            char* end = nullptr;
            request.productId = static_cast<int>(std::strtol(value.c_str(), &end, 10));
            if (*end != '\0' || value.size() > 9)
                return Usage();
            haveId = true;
        } else if (arg == "--arch") {
            statedArch = ReleaseArchNamed(value);
            if (!statedArch)
                return Usage();
        } else if (arg == "--date") {
            request.entry.date = value;
        } else if (arg == "--notes") {
            request.entry.content = value;
            haveNotes = true;
        } else if (arg == "--notes-file") {
            notesFile = value;
        } else if (arg == "--key") {
            keyFiles.push_back(value);
        } else if (arg == "--ask-update") {
            askUpdate = value;
        } else if (arg == "--expires-in" || arg == "--expires") {
            const std::optional<int64_t> given = ExpiryOf(arg, value, now);
            if (!given)
                return Usage();
            if (*given <= now)
                std::cerr << "nightcap-publish: warning: " << value << " has passed; no updater with keys takes this release\n";
            expires = *given;
        } else {
            return Usage();
        }
    }
    if (dataDir.empty())
        return Usage();
    std::error_code error;
    std::filesystem::create_directories(dataDir, error);
    if (error) {
        std::cerr << "nightcap-publish: cannot make the data folder " << dataDir << ": " << error.message() << "\n";
        return 1;
    }
    const server::OpenedStorage opened = server::OpenStorage(dataDir, database);
    if (!opened.storage) {
        std::cerr << "nightcap-publish: cannot open the database: " << opened.error << "\n";
        return 1;
    }
    Storage& storage = *opened.storage;
    // Only the PostgreSQL storage throws: its database went away while publishing.
    try {
        if (resign) {
            if (request.product.empty() || !request.releaseDir.empty() || keyFiles.empty() || !askUpdate.empty())
                return Usage();
            std::vector<SigningKey> keys;
            if (!ReadKeys(keyFiles, {dataDir}, keys))
                return 1;
            const std::string channel = ChannelName(request.product, statedArch.value_or(ReleaseArch::X86));
            const std::string resignError = ResignRelease(storage, dataDir, channel, keys, expires);
            if (!resignError.empty()) {
                std::cerr << "nightcap-publish: " << resignError << "\n";
                return 1;
            }
            std::cout << "re-signed the live release of " << channel << " until " << UtcTimeText(expires) << "\n";
            return 0;
        }

        if (!askUpdate.empty()) {
            if ((askUpdate != "yes" && askUpdate != "no") || request.product.empty() || !request.releaseDir.empty())
                return Usage();
            const std::string channel = ChannelName(request.product, statedArch.value_or(ReleaseArch::X86));
            if (!storage.SetUpdateRequested(channel, askUpdate == "yes")) {
                std::cerr << "nightcap-publish: no published product " << channel << "\n";
                return 1;
            }
            return 0;
        }

        if (request.releaseDir.empty() || request.entry.version.empty() || (haveNotes && !notesFile.empty()))
            return Usage();
        if (!ReadKeys(keyFiles, {dataDir, request.releaseDir}, request.signingKeys))
            return 1;
        if (!notesFile.empty()) {
            std::ifstream in(notesFile, std::ios::binary);
            std::stringstream text;
            text << in.rdbuf();
            if (!in) {
                std::cerr << "nightcap-publish: cannot read " << notesFile << "\n";
                return 1;
            }
            request.entry.content = text.str();
        }
        if (request.entry.content.empty())
            request.entry.content = "Version " + request.entry.version;
        if (request.entry.date.empty())
            request.entry.date = UtcDay(static_cast<int64_t>(std::time(nullptr)));
        if (request.product.empty())
            request.product = ProductNameOf(request.releaseDir / "config.ini");
        if (request.product.empty()) {
            std::cerr << "nightcap-publish: the release folder's config.ini names no product; give --product\n";
            return 2;
        }
        const ReleaseArchResult arch = ReleaseFolderArch(request.releaseDir, statedArch);
        if (!arch.error.empty()) {
            std::cerr << "nightcap-publish: " << arch.error << "\n";
            return 1;
        }
        request.stampProduct = request.product;
        request.arch = ReleaseArchName(arch.arch);
        request.expires = expires;
        request.product = ChannelName(request.product, arch.arch);
        if (!haveId)
            request.productId = ChannelProductId(arch.arch);

        const PublishResult result = PublishRelease(storage, dataDir, request);
        if (!result.ok) {
            std::cerr << "nightcap-publish: " << result.error << "\n";
            return 1;
        }
        std::cout << "published " << request.product << " " << request.entry.version << " for " << ReleaseArchName(arch.arch)
                  << " (" << result.files.size()
                  << " files, release " << result.releaseId << ", "
                  << (request.signingKeys.empty() ? std::string("unsigned")
                                                  : "signed with " + std::to_string(request.signingKeys.size()) + " key(s)")
                  << ", expires " << UtcTimeText(expires) << ")\n";
        if (result.abandonedRemoved > 0)
            std::cout << "removed " << result.abandonedRemoved << " row(s) and folder(s) left by a publish that died\n";
        if (result.retiredReleases > 0)
            std::cout << "removed the files of " << result.retiredReleases << " older release(s)\n";
        return 0;
    } catch (const StorageUnavailable& unavailable) {
        std::cerr << "nightcap-publish: the database is unavailable: " << unavailable.what() << "\n";
        return 1;
    }
}
