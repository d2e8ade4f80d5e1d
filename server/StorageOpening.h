// Which storage a program works on: SQLite in the data folder unless a PostgreSQL address is given, by
// --database or by NIGHTCAP_SERVER_DATABASE (which keeps a password out of the process list).
#pragma once
#include "server/Storage.h"

#include <filesystem>
#include <memory>
#include <string>

namespace server {

constexpr char kDatabaseVariable[] = "NIGHTCAP_SERVER_DATABASE";

struct OpenedStorage {
    std::unique_ptr<Storage> storage;  // none: error says why (never with a password in it)
    std::string error;
};
// database: empty for <data>/server.db, else a postgresql:// (or postgres://) address. Brings the schema up to
// date, or refuses a database a newer program made.
OpenedStorage OpenStorage(const std::filesystem::path& dataDir, const std::string& database);
// Makes the data folder when it is missing, then opens its storage; error says which of the two failed
// ("cannot make the data folder ..." or "cannot open the database: ...").
OpenedStorage OpenDataFolder(const std::filesystem::path& dataDir, const std::string& database);

// The database named by the environment, or empty.
std::string DatabaseFromEnvironment();
// Copies an argument and blanks it in place, so that the process list no longer shows it.
std::string TakeArgument(char* value);

}  // namespace server
