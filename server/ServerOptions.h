// How one server process answers: its data folder, who may see the stats page, the names it is reached by,
// whether the demo stand-ins are on, and its clock.
#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

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
};

// "YYYY-MM-DD" of a time in UTC.
std::string UtcDay(int64_t seconds);
