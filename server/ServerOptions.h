// How one server process answers: its data folder, who may see the stats page, the names it is reached by,
// whether the demo stand-ins are on, and its clock.
#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace server {

// A fault the server plays for tests of the programs' failure paths. On a store file (NAME as the digest list
// names it below the product, "Nightcap.exe", "Update/Update.exe"), its first download only: Cut ends the
// connection halfway through the file, Corrupt changes one byte of it, Missing answers 404. GoneAfterLog stops
// the server once it has answered the change log.
struct TestFault {
    enum class Kind { None, Cut, Corrupt, Missing, GoneAfterLog };
    Kind kind = Kind::None;
    std::string file;
};
// "cut:NAME", "corrupt:NAME", "missing:NAME" or "gone-after-log"; nothing for anything else.
std::optional<TestFault> ParseTestFault(const std::string& text);

struct ServerOptions {
    std::filesystem::path dataDir;
    // With a token the stats page wants it (?token= or "Authorization: Bearer"), from anywhere; without
    // one it is served to loopback callers only.
    std::string token;
    // Host names (as "host" or "host:port") a download-counter address may name, besides the Host header
    // the request came with.
    std::vector<std::string> ownHosts;
    bool demo = false;
    // Seconds since 1970 (UTC).
    std::function<int64_t()> clock;
    TestFault fault;
};

// "YYYY-MM-DD" of a time in UTC.
std::string UtcDay(int64_t seconds);
// "YYYY-MM-DDThh:mm:ssZ" of a time in UTC, and back (nullopt for any other text).
std::string UtcTimeText(int64_t seconds);
std::optional<int64_t> ParseUtcTimeText(const std::string& text);

}  // namespace server
