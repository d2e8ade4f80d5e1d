#include "server/ServerCommandLine.h"

#include <cerrno>
#include <cstdlib>

namespace server {
namespace {

bool ReadNumber(const std::string& text, long low, long high, long& value) {
    char* end = nullptr;
    errno = 0;
    value = std::strtol(text.c_str(), &end, 10);
    return errno == 0 && end != text.c_str() && *end == '\0' && value >= low && value <= high;
}

bool ReadCount(const std::string& text, long low, long high, size_t& count) {
    long value = 0;
    if (!ReadNumber(text, low, high, value))
        return false;
    count = static_cast<size_t>(value);
    return true;
}

}  // namespace

std::optional<ServerCommandLine> ParseServerCommandLine(const std::vector<std::string>& args,
                                                        const ServerEnvironment& environment) {
    ServerCommandLine line;
    if (environment.token)
        line.options.token = *environment.token;
    line.database = environment.database;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--demo") {
            line.options.demo = true;
            continue;
        }
        if (i + 1 >= args.size())
            return std::nullopt;
        const std::string& value = args[++i];
        bool accepted = true;
        if (arg == "--data") {
            line.options.dataDir = value;
        } else if (arg == "--database") {
            // An empty address (a variable that was not set) must not quietly mean a database of this
            // machine's own.
            line.database = value;
            line.databaseArguments.push_back(i);
            accepted = !value.empty();
        } else if (arg == "--host") {
            line.host = value;
        } else if (arg == "--port") {
            long port = 0;
            accepted = ReadNumber(value, 0, 65535, port);
            line.port = static_cast<int>(port);
        } else if (arg == "--port-file") {
            line.portFile = value;
        } else if (arg == "--token") {
            line.options.token = value;
        } else if (arg == "--own-host") {
            line.options.ownHosts.push_back(value);
        } else if (arg == "--threads") {
            accepted = ReadCount(value, 1, 256, line.limits.workers);
        } else if (arg == "--per-address") {
            accepted = ReadCount(value, 0, 100000, line.limits.maxPerAddress);
        } else if (arg == "--max-connections") {
            accepted = ReadCount(value, 1, 100000, line.limits.maxConnections);
        } else {
            accepted = false;
        }
        if (!accepted)
            return std::nullopt;
    }
    if (line.options.dataDir.empty())
        return std::nullopt;
    return line;
}

std::string ApplyTestSettings(const ServerEnvironment& environment, ServerOptions& options) {
    if (environment.testClock) {
        long fixedClock = 0;
        if (!ReadNumber(*environment.testClock, 0, 0x7fffffffL, fixedClock))
            return "NIGHTCAP_SERVER_TEST_CLOCK must be seconds since 1970";
        options.clock = [fixedClock] { return int64_t{fixedClock}; };
    }
    if (environment.testFault) {
        const std::optional<TestFault> parsed = ParseTestFault(*environment.testFault);
        if (!parsed)
            return "NIGHTCAP_SERVER_TEST_FAULT must be cut:NAME, corrupt:NAME, missing:NAME or gone-after-log";
        options.fault = *parsed;
    }
    return {};
}

}  // namespace server
