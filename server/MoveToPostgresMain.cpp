// nightcap-move-to-postgres: moves a deployment's SQLite database (<data>/server.db) into an empty PostgreSQL
// database, so that any number of servers can then run over it with --database and the same data folder.
//   nightcap-move-to-postgres --data DIR [--database postgresql://...]
// The address may come from NIGHTCAP_SERVER_DATABASE instead, out of the process list. Stop the server first;
// server.db is left as it was, but for bringing an older one to the current schema.
#include "server/ReleaseStore.h"
#include "server/SqliteToPostgres.h"
#include "server/StorageOpening.h"

#include <iostream>
#include <string>

using namespace server;

namespace {

int Usage() {
    std::cerr << "usage: nightcap-move-to-postgres --data DIR [--database postgresql://...]\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string dataDir, database = server::DatabaseFromEnvironment();
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string arg = argv[i];
        if (arg == "--data")
            dataDir = argv[i + 1];
        else if (arg == "--database")
            database = server::TakeArgument(argv[i + 1]);
        else
            return Usage();
    }
    if (argc % 2 == 0 || dataDir.empty() || database.empty())
        return Usage();
    const server::MoveResult moved = server::MoveToPostgres(DatabasePath(dataDir).string(), database);
    if (!moved.error.empty()) {
        std::cerr << "nightcap-move-to-postgres: nothing moved: " << moved.error << "\n";
        return 1;
    }
    std::cout << "moved " << moved.products << " product(s), " << moved.releases << " release(s), "
              << moved.installs << " install(s) and " << moved.counts
              << " daily count(s) into PostgreSQL; run the servers with --database and the same --data\n";
    return 0;
}
