// What nightcap-server was started with: its command line and the environment variables it reads, checked and
// turned into the server's settings. No I/O here; main reads the environment and passes it in.
#pragma once
#include "server/HttpServer.h"
#include "server/ServerOptions.h"

#include <optional>
#include <string>
#include <vector>

namespace server {

// The variables, each missing when unset.
struct ServerEnvironment {
    std::optional<std::string> token;      // NIGHTCAP_SERVER_TOKEN
    std::string database;                  // NIGHTCAP_SERVER_DATABASE (empty when unset)
    std::optional<std::string> testClock;  // NIGHTCAP_SERVER_TEST_CLOCK
    std::optional<std::string> testFault;  // NIGHTCAP_SERVER_TEST_FAULT
};

struct ServerCommandLine {
    ServerOptions options;
    std::string host = "127.0.0.1";
    int port = 8080;
    std::string portFile;  // empty: none written
    ServerLimits limits;
    std::string database;  // empty: SQLite in the data folder
    // Where each --database address sits in the arguments, for main to blank it in the process list.
    std::vector<size_t> databaseArguments;
};

// args: the arguments after the program's name. Nothing when they are not a command line the server takes
// (main shows the usage).
std::optional<ServerCommandLine> ParseServerCommandLine(const std::vector<std::string>& args,
                                                        const ServerEnvironment& environment);

// Sets the test clock and fault the environment asks for; the message to show (exit code 2) when it asks for
// something malformed, else empty.
std::string ApplyTestSettings(const ServerEnvironment& environment, ServerOptions& options);

}  // namespace server
