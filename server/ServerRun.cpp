#include "server/ServerRun.h"

#include "server/AbandonedPublishes.h"
#include "server/ReleaseStore.h"
#include "server/Routes.h"
#include "server/StorageOpening.h"

#include <csignal>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <pthread.h>
#include <thread>

namespace server {
namespace {

// Written under another name and renamed, so a reader never sees half a number.
bool WritePortFile(const std::string& path, int port) {
    const std::string temporary = path + ".tmp";
    {
        std::ofstream out(temporary, std::ios::trunc);
        out << port << "\n";
        if (!out.flush())
            return false;
    }
    return std::rename(temporary.c_str(), path.c_str()) == 0;
}

}  // namespace

int RunServer(const ServerCommandLine& line) {
    const ServerOptions& options = line.options;
    const OpenedStorage opened = OpenDataFolder(options.dataDir, line.database);
    if (!opened.storage) {
        std::cerr << "nightcap-server: " << opened.error << "\n";
        return 1;
    }
    Storage& storage = *opened.storage;

    try {
        if (const int removed = RemoveAbandonedPublishes(storage, options.dataDir))
            std::cerr << "nightcap-server: removed " << removed << " row(s) and folder(s) left by publishes that died\n";
    } catch (const StorageUnavailable& unavailable) {
        std::cerr << "nightcap-server: the database went away: " << unavailable.what() << "\n";
        return 1;
    }

    // SIGINT and SIGTERM end the server cleanly: every thread started from here on has them blocked, and one
    // thread waits for them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    HttpServer server(line.limits);
    InstallRoutes(server, storage, options);
    const int bound = server.Bind(line.host, line.port);
    if (bound <= 0) {
        std::cerr << "nightcap-server: cannot listen on " << line.host << ":" << line.port << "\n";
        return 1;
    }
    if (!line.portFile.empty() && !WritePortFile(line.portFile, bound)) {
        std::cerr << "nightcap-server: cannot write " << line.portFile << "\n";
        return 1;
    }
    std::thread stopper([&server, &stopSignals] {
        int signal = 0;
        sigwait(&stopSignals, &signal);
        server.Stop();
    });
    std::cerr << "nightcap-server: listening on " << line.host << ":" << bound << ", data in " << options.dataDir
              << (line.database.empty() ? "" : ", database on PostgreSQL") << (options.demo ? ", demo sites on" : "")
              << "\n";
    const bool ok = server.Run();
    // A listen that ended by itself (not by a signal) must still let the stopper thread go.
    pthread_kill(stopper.native_handle(), SIGTERM);
    stopper.join();
    return ok ? 0 : 1;
}

}  // namespace server
