#include "server/StorageOpening.h"

#include "server/PgConnection.h"
#include "server/PostgresStorage.h"
#include "server/ReleaseStore.h"
#include "server/SqliteStorage.h"

#include <cstdlib>
#include <cstring>
#include <sstream>

namespace server {

OpenedStorage OpenStorage(const std::filesystem::path& dataDir, const std::string& database) {
    OpenedStorage opened;
    if (database.empty()) {
        auto sqlite = std::make_unique<SqliteStorage>();
        if (sqlite->Open(DatabasePath(dataDir).string()))
            opened.storage = std::move(sqlite);
        else
            opened.error = sqlite->Error();
        return opened;
    }
    // The address itself is never repeated: a malformed one could hold the password anywhere.
    if (!IsPostgresAddress(database)) {
        opened.error = "the database must be a well-formed postgresql:// address";
        return opened;
    }
    auto postgres = std::make_unique<PostgresStorage>(database);
    if (postgres->Open())
        opened.storage = std::move(postgres);
    else
        opened.error = "PostgreSQL: " + postgres->Error();
    return opened;
}

OpenedStorage OpenDataFolder(const std::filesystem::path& dataDir, const std::string& database) {
    std::error_code error;
    std::filesystem::create_directories(dataDir, error);
    if (error) {
        std::ostringstream message;
        message << "cannot make the data folder " << dataDir << ": " << error.message();
        return {nullptr, message.str()};
    }
    OpenedStorage opened = OpenStorage(dataDir, database);
    if (!opened.storage)
        opened.error = "cannot open the database: " + opened.error;
    return opened;
}

std::string DatabaseFromEnvironment() {
    const char* value = std::getenv(kDatabaseVariable);
    return value ? value : "";
}

std::string TakeArgument(char* value) {
    std::string copy = value;
    std::memset(value, 'x', copy.size());
    return copy;
}

}  // namespace server
