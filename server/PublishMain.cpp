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
#include "server/PublishCommandLine.h"
#include "server/PublishCommands.h"
#include "server/StorageOpening.h"

#include <ctime>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

using namespace server;

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

}  // namespace

int main(int argc, char** argv) {
    using Command = PublishCommandLine::Command;
    const std::optional<PublishCommandLine> line = ParsePublishCommandLine(
        std::vector<std::string>(argv + 1, argv + argc), DatabaseFromEnvironment(),
        static_cast<int64_t>(std::time(nullptr)));
    if (!line)
        return Usage();
    for (const size_t at : line->databaseArguments)
        TakeArgument(argv[1 + at]);
    for (const std::string& passed : line->passedExpiries)
        std::cerr << "nightcap-publish: warning: " << passed << " has passed; no updater with keys takes this release\n";
    switch (line->command) {
    case Command::Keygen:
    case Command::PublicKey:
        return RunKeyCommand(*line);
    case Command::Resign:
        return RunResign(*line);
    case Command::AskUpdate:
        return RunAskUpdate(*line);
    case Command::Publish:
        break;
    }
    return RunPublish(*line);
}
