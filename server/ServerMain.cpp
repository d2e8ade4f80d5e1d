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
#include "server/AbandonedPublishes.h"
#include "server/HttpServer.h"
#include "server/ReleaseStore.h"
#include "server/Routes.h"
#include "server/ServerOptions.h"
#include "server/StorageOpening.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <pthread.h>
#include <string>
#include <thread>

namespace {

int Usage() {
    std::cerr << "usage: nightcap-server --data DIR [--database postgresql://...] [--host ADDRESS] [--port N]\n"
                 "                       [--port-file FILE] [--token TOKEN] [--own-host NAME]... [--threads N]\n"
                 "                       [--per-address N] [--max-connections N] [--demo]\n";
    return 2;
}

bool ReadNumber(const char* text, long low, long high, long& value) {
    char* end = nullptr;
    errno = 0;
    value = std::strtol(text, &end, 10);
    return errno == 0 && end != text && *end == '\0' && value >= low && value <= high;
}

bool ReadCount(const char* text, long low, long high, size_t& count) {
    long value = 0;
    if (!ReadNumber(text, low, high, value))
        return false;
    count = static_cast<size_t>(value);
    return true;
}

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

int main(int argc, char** argv) {
    ServerOptions options;
    std::string host = "127.0.0.1", portFile;
    long port = 8080;
    ServerLimits limits;
    if (const char* token = std::getenv("NIGHTCAP_SERVER_TOKEN"))
        options.token = token;
    std::string database = server::DatabaseFromEnvironment();
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (arg == "--demo") {
            options.demo = true;
            continue;
        }
        if (!value)
            return Usage();
        ++i;
        if (arg == "--data") {
            options.dataDir = value;
        } else if (arg == "--database") {
            // An empty address (a variable that was not set) must not quietly mean a database of this
            // machine's own.
            database = server::TakeArgument(argv[i]);
            if (database.empty())
                return Usage();
        } else if (arg == "--host") {
            host = value;
        } else if (arg == "--port") {
            if (!ReadNumber(value, 0, 65535, port))
                return Usage();
        } else if (arg == "--port-file") {
            portFile = value;
        } else if (arg == "--token") {
            options.token = value;
        } else if (arg == "--own-host") {
            options.ownHosts.push_back(value);
        } else if (arg == "--threads") {
            if (!ReadCount(value, 1, 256, limits.workers))
                return Usage();
        } else if (arg == "--per-address") {
            if (!ReadCount(value, 0, 100000, limits.maxPerAddress))
                return Usage();
        } else if (arg == "--max-connections") {
            if (!ReadCount(value, 1, 100000, limits.maxConnections))
                return Usage();
        } else {
            return Usage();
        }
    }
    if (options.dataDir.empty())
        return Usage();
    long fixedClock = 0;
    if (const char* clock = std::getenv("NIGHTCAP_SERVER_TEST_CLOCK")) {
        if (!ReadNumber(clock, 0, 0x7fffffffL, fixedClock)) {
            std::cerr << "NIGHTCAP_SERVER_TEST_CLOCK must be seconds since 1970\n";
            return 2;
        }
        options.clock = [fixedClock] { return int64_t{fixedClock}; };
    }
    if (const char* fault = std::getenv("NIGHTCAP_SERVER_TEST_FAULT")) {
        const auto parsed = ParseTestFault(fault);
        if (!parsed) {
            std::cerr << "NIGHTCAP_SERVER_TEST_FAULT must be cut:NAME, corrupt:NAME, missing:NAME or gone-after-log\n";
            return 2;
        }
        options.fault = *parsed;
    }

    std::error_code error;
    std::filesystem::create_directories(options.dataDir, error);
    if (error) {
        std::cerr << "nightcap-server: cannot make the data folder " << options.dataDir << ": " << error.message()
                  << "\n";
        return 1;
    }
    const server::OpenedStorage opened = server::OpenStorage(options.dataDir, database);
    if (!opened.storage) {
        std::cerr << "nightcap-server: cannot open the database: " << opened.error << "\n";
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

    HttpServer server(limits);
    InstallRoutes(server, storage, options);
    const int bound = server.Bind(host, static_cast<int>(port));
    if (bound <= 0) {
        std::cerr << "nightcap-server: cannot listen on " << host << ":" << port << "\n";
        return 1;
    }
    if (!portFile.empty() && !WritePortFile(portFile, bound)) {
        std::cerr << "nightcap-server: cannot write " << portFile << "\n";
        return 1;
    }
    std::thread stopper([&server, &stopSignals] {
        int signal = 0;
        sigwait(&stopSignals, &signal);
        server.Stop();
    });
    std::cerr << "nightcap-server: listening on " << host << ":" << bound << ", data in " << options.dataDir
              << (database.empty() ? "" : ", database on PostgreSQL") << (options.demo ? ", demo sites on" : "")
              << "\n";
    const bool ok = server.Run();
    // A listen that ended by itself (not by a signal) must still let the stopper thread go.
    pthread_kill(stopper.native_handle(), SIGTERM);
    stopper.join();
    return ok ? 0 : 1;
}
