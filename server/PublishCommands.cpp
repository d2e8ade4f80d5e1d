#include "server/PublishCommands.h"

#include "server/Publish.h"
#include "server/ReleaseFolderFacts.h"
#include "server/ServerOptions.h"
#include "server/StorageOpening.h"

#include <ctime>
#include <fstream>
#include <functional>
#include <iostream>
#include <sstream>

namespace server {
namespace {

// Runs a command on the data folder's storage.
int OnStorage(const PublishCommandLine& line, const std::function<int(Storage&)>& command) {
    const OpenedStorage opened = OpenDataFolder(line.dataDir, line.database);
    if (!opened.storage) {
        std::cerr << "nightcap-publish: " << opened.error << "\n";
        return 1;
    }
    // Only the PostgreSQL storage throws: its database went away while publishing.
    try {
        return command(*opened.storage);
    } catch (const StorageUnavailable& unavailable) {
        std::cerr << "nightcap-publish: the database is unavailable: " << unavailable.what() << "\n";
        return 1;
    }
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

// The change text: --notes, the notes file or "Version V"; false after saying why the file cannot be read.
bool ReadNotes(const PublishCommandLine& line, std::string& content) {
    content = line.notes.value_or("");
    if (!line.notesFile.empty()) {
        std::ifstream in(line.notesFile, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        if (!in) {
            std::cerr << "nightcap-publish: cannot read " << line.notesFile.string() << "\n";
            return false;
        }
        content = text.str();
    }
    if (content.empty())
        content = "Version " + line.version;
    return true;
}

std::string ChannelOf(const PublishCommandLine& line) {
    return ChannelName(line.product, line.statedArch.value_or(ReleaseArch::X86));
}

int Publish(Storage& storage, const PublishCommandLine& line) {
    PublishRequest request;
    request.releaseDir = line.releaseDir;
    request.entry.version = line.version;
    request.entry.date = line.date;
    if (!ReadKeys(line.keyFiles, {line.dataDir, line.releaseDir}, request.signingKeys) ||
        !ReadNotes(line, request.entry.content))
        return 1;
    if (request.entry.date.empty())
        request.entry.date = UtcDay(static_cast<int64_t>(std::time(nullptr)));
    const std::string product =
        line.product.empty() ? ProductNameOf(line.releaseDir / "config.ini") : line.product;
    if (product.empty()) {
        std::cerr << "nightcap-publish: the release folder's config.ini names no product; give --product\n";
        return 2;
    }
    const ReleaseArchResult arch = ReleaseFolderArch(line.releaseDir, line.statedArch);
    if (!arch.error.empty()) {
        std::cerr << "nightcap-publish: " << arch.error << "\n";
        return 1;
    }
    request.stampProduct = product;
    request.arch = ReleaseArchName(arch.arch);
    request.expires = line.expires;
    request.product = ChannelName(product, arch.arch);
    request.productId = line.productId.value_or(ChannelProductId(arch.arch));

    const PublishResult result = PublishRelease(storage, line.dataDir, request);
    if (!result.ok) {
        std::cerr << "nightcap-publish: " << result.error << "\n";
        return 1;
    }
    std::cout << "published " << request.product << " " << request.entry.version << " for "
              << ReleaseArchName(arch.arch) << " (" << result.files.size() << " files, release " << result.releaseId
              << ", "
              << (request.signingKeys.empty()
                      ? std::string("unsigned")
                      : "signed with " + std::to_string(request.signingKeys.size()) + " key(s)")
              << ", expires " << UtcTimeText(line.expires) << ")\n";
    if (result.abandonedRemoved > 0)
        std::cout << "removed " << result.abandonedRemoved << " row(s) and folder(s) left by a publish that died\n";
    if (result.retiredReleases > 0)
        std::cout << "removed the files of " << result.retiredReleases << " older release(s)\n";
    return 0;
}

}  // namespace

int RunKeyCommand(const PublishCommandLine& line) {
    SigningKey key;
    std::string error = KeyPlaceError(line.keyFile, {});
    if (error.empty())
        error = line.command == PublishCommandLine::Command::Keygen ? MakeSigningKey(line.keyFile, key)
                                                                    : ReadSigningKey(line.keyFile, key);
    if (!error.empty()) {
        std::cerr << "nightcap-publish: " << error << "\n";
        return 1;
    }
    std::cout << PublicKeyHex(key) << "\n";
    return 0;
}

int RunResign(const PublishCommandLine& line) {
    return OnStorage(line, [&line](Storage& storage) {
        std::vector<SigningKey> keys;
        if (!ReadKeys(line.keyFiles, {line.dataDir}, keys))
            return 1;
        const std::string channel = ChannelOf(line);
        const std::string error = ResignRelease(storage, line.dataDir, channel, keys, line.expires);
        if (!error.empty()) {
            std::cerr << "nightcap-publish: " << error << "\n";
            return 1;
        }
        std::cout << "re-signed the live release of " << channel << " until " << UtcTimeText(line.expires) << "\n";
        return 0;
    });
}

int RunAskUpdate(const PublishCommandLine& line) {
    return OnStorage(line, [&line](Storage& storage) {
        const std::string channel = ChannelOf(line);
        if (!storage.SetUpdateRequested(channel, line.askUpdate)) {
            std::cerr << "nightcap-publish: no published product " << channel << "\n";
            return 1;
        }
        return 0;
    });
}

int RunPublish(const PublishCommandLine& line) {
    return OnStorage(line, [&line](Storage& storage) { return Publish(storage, line); });
}

}  // namespace server
