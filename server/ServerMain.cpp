// nightcap-server: the maker's statistics and update server.
//   nightcap-server --data DIR [--database postgresql://...] [--host ADDRESS] [--port N] [--port-file FILE]
//                   [--token TOKEN] [--own-host NAME]... [--threads N] [--per-address N] [--max-connections N]
//                   [--demo]
// --data holds the releases (and server.db, unless --database names a PostgreSQL database that any number of
// server processes share; NIGHTCAP_SERVER_DATABASE may name it instead, out of the process list).
// --threads: the workers that run the slow routes (the stats page; connections take none); --per-address: the
// connections one client address may hold open (0: no cap, for a proxy in front that caps per client itself).
// The token may come from NIGHTCAP_SERVER_TOKEN instead, so it does not show in the process list.
// NIGHTCAP_SERVER_TEST_CLOCK (seconds since 1970) holds the server's clock still, for tests;
// NIGHTCAP_SERVER_TEST_FAULT plays a fault of the network or of the store (see TestFault).
#include "server/ServerCommandLine.h"
#include "server/ServerRun.h"
#include "server/StorageOpening.h"

#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

using namespace server;

namespace {

int Usage() {
    std::cerr << "usage: nightcap-server --data DIR [--database postgresql://...] [--host ADDRESS] [--port N]\n"
                 "                       [--port-file FILE] [--token TOKEN] [--own-host NAME]... [--threads N]\n"
                 "                       [--per-address N] [--max-connections N] [--demo]\n";
    return 2;
}

std::optional<std::string> Variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
    const ServerEnvironment environment{Variable("NIGHTCAP_SERVER_TOKEN"), DatabaseFromEnvironment(),
                                        Variable("NIGHTCAP_SERVER_TEST_CLOCK"), Variable("NIGHTCAP_SERVER_TEST_FAULT")};
    std::optional<ServerCommandLine> line =
        ParseServerCommandLine(std::vector<std::string>(argv + 1, argv + argc), environment);
    if (!line)
        return Usage();
    for (const size_t at : line->databaseArguments)
        TakeArgument(argv[1 + at]);
    const std::string testError = ApplyTestSettings(environment, line->options);
    if (!testError.empty()) {
        std::cerr << testError << "\n";
        return 2;
    }
    return RunServer(*line);
}
