// Moving a deployment from its SQLite file to a PostgreSQL database, so that several servers can share it.
#pragma once
#include <cstdint>
#include <string>

namespace server {

struct MoveResult {
    std::string error;  // empty when everything was moved
    int64_t products = 0, releases = 0, installs = 0, counts = 0;
};

// Brings both databases to the current schema, then copies every row of the SQLite file into the PostgreSQL
// database, which must hold none yet, in one transaction: all of it or nothing. Release ids and the order they
// went live in stay as they were, so the release folders in the data folder stay valid as they are. Past its
// schema the file is only read (stop the server first, or the reports it takes meanwhile stay behind in it).
MoveResult MoveToPostgres(const std::string& sqlitePath, const std::string& address);

}  // namespace server
