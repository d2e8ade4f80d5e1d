// What nightcap-publish was asked to do: which command, and its options, checked. No I/O here; main passes in
// the database the environment names and the time now.
#pragma once
#include "server/ReleaseArch.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace server {

struct PublishCommandLine {
    enum class Command {
        Publish,    // a release folder put live
        AskUpdate,  // --ask-update yes|no
        Resign,     // the live release signed again
        Keygen,     // a new key made, its public key shown
        PublicKey,  // a key's public key shown
    };
    Command command = Command::Publish;
    std::filesystem::path keyFile;  // keygen and public-key: the private key's file

    std::filesystem::path dataDir;
    std::string database;  // empty: SQLite in the data folder
    // Where each --database address sits in the arguments, for main to blank it in the process list.
    std::vector<size_t> databaseArguments;
    std::string product;                     // empty: publish reads it from the release folder's config.ini
    std::optional<ReleaseArch> statedArch;   // --arch
    std::vector<std::filesystem::path> keyFiles;
    int64_t expires = 0;                     // seconds since 1970 (UTC)
    // Each --expires or --expires-in that names a time already passed, as given, to warn of.
    std::vector<std::string> passedExpiries;
    bool askUpdate = false;                  // AskUpdate: yes or no

    // Publish only.
    std::filesystem::path releaseDir;
    std::string version;
    std::optional<int> productId;  // nothing: the channel's
    std::string date;              // empty: today
    std::optional<std::string> notes;
    std::filesystem::path notesFile;
};

// args: the arguments after the program's name; now: seconds since 1970, which --expires-in and the default
// expiry count from. Nothing when the arguments are no command the tool takes (main shows the usage).
std::optional<PublishCommandLine> ParsePublishCommandLine(const std::vector<std::string>& args,
                                                          const std::string& databaseFromEnvironment, int64_t now);

}  // namespace server
