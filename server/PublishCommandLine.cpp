#include "server/PublishCommandLine.h"

#include "server/Publish.h"
#include "server/ServerOptions.h"

#include <cstdlib>

namespace server {
namespace {

using Command = PublishCommandLine::Command;

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

// One option and its value into the command line; false when refused.
bool TakeOption(const std::string& option, const std::string& value, int64_t now, PublishCommandLine& line,
                std::string& askUpdate) {
    if (option == "--data") {
        line.dataDir = value;
    } else if (option == "--database") {
        // An empty address (a variable that was not set) must not quietly mean a database of this machine's own.
        line.database = value;
        return !value.empty();
    } else if (option == "--version") {
        line.version = value;
    } else if (option == "--product") {
        line.product = value;
    } else if (option == "--id") {
        char* end = nullptr;
        line.productId = static_cast<int>(std::strtol(value.c_str(), &end, 10));
        return *end == '\0' && value.size() <= 9;
    } else if (option == "--arch") {
        line.statedArch = ReleaseArchNamed(value);
        return line.statedArch.has_value();
    } else if (option == "--date") {
        line.date = value;
    } else if (option == "--notes") {
        line.notes = value;
    } else if (option == "--notes-file") {
        line.notesFile = value;
    } else if (option == "--key") {
        line.keyFiles.push_back(value);
    } else if (option == "--ask-update") {
        askUpdate = value;
    } else if (option == "--expires-in" || option == "--expires") {
        const std::optional<int64_t> given = ExpiryOf(option, value, now);
        if (!given)
            return false;
        if (*given <= now)
            line.passedExpiries.push_back(value);
        line.expires = *given;
    } else {
        return false;
    }
    return true;
}

// Whether the options fit the command: each command has what it needs and nothing it would quietly ignore.
bool FitsCommand(const PublishCommandLine& line) {
    if (line.dataDir.empty())
        return false;
    switch (line.command) {
    case Command::Resign:
        return !line.product.empty() && line.releaseDir.empty() && !line.keyFiles.empty();
    case Command::AskUpdate:
        return !line.product.empty() && line.releaseDir.empty();
    default:
        return !line.releaseDir.empty() && !line.version.empty() && !(line.notes && !line.notesFile.empty());
    }
}

}  // namespace

std::optional<PublishCommandLine> ParsePublishCommandLine(const std::vector<std::string>& args,
                                                          const std::string& databaseFromEnvironment, int64_t now) {
    PublishCommandLine line;
    if (!args.empty() && (args[0] == "keygen" || args[0] == "public-key")) {
        if (args.size() != 2)
            return std::nullopt;
        line.command = args[0] == "keygen" ? Command::Keygen : Command::PublicKey;
        line.keyFile = args[1];
        return line;
    }
    const bool resign = !args.empty() && args[0] == "resign";
    line.expires = now + kDefaultExpiryDays * 86400;
    line.database = databaseFromEnvironment;
    std::string askUpdate;
    for (size_t i = resign ? 1 : 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.rfind("--", 0) != 0) {
            if (!line.releaseDir.empty())
                return std::nullopt;
            line.releaseDir = arg;
            continue;
        }
        if (i + 1 >= args.size())
            return std::nullopt;
        ++i;
        if (arg == "--database")
            line.databaseArguments.push_back(i);
        if (!TakeOption(arg, args[i], now, line, askUpdate))
            return std::nullopt;
    }
    // An empty --ask-update is no ask-update: the command line is read as a publish.
    if (resign) {
        if (!askUpdate.empty())
            return std::nullopt;
        line.command = Command::Resign;
    } else if (!askUpdate.empty()) {
        if (askUpdate != "yes" && askUpdate != "no")
            return std::nullopt;
        line.command = Command::AskUpdate;
        line.askUpdate = askUpdate == "yes";
    }
    if (!FitsCommand(line))
        return std::nullopt;
    return line;
}

}  // namespace server
