// The server's storage in a PostgreSQL database that any number of server processes (and publish tools) share.
// Every statement that changes counts is one atomic upsert, so concurrent requests on any process never lose
// an update, and a report is stored once per address whichever process took it. Each thread that calls in
// takes a connection of its own from a small pool; a connection that broke (the database restarted or went
// away) is dropped, and the next call connects again. While the database cannot be reached the calls throw
// StorageUnavailable (the requests are answered 503), failing at once for a second after each failed connect
// so that a gone database does not hold up every request for its connect time-out; so does a statement that
// waits longer than 5 seconds (the routes run on the server's one watching thread).
//
// The requests' writes commit without waiting for the database's disk flush (synchronous_commit off): what
// was answered survives the server process dying and the database restarting, and only the database machine
// losing power may lose its last fraction of a second, as with the SQLite storage in WAL mode.
#pragma once
#include "server/PgConnection.h"
#include "server/Storage.h"

#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace server {

class PostgresStorage : public Storage {
public:
    // address: a libpq connection string. Open connects, brings the schema up to date and says why not.
    explicit PostgresStorage(std::string address) : address_(std::move(address)) {}
    bool Open();
    const std::string& Error() const { return error_; }

    std::optional<ProductState> ProductById(int productId) override;
    std::optional<LiveRelease> CurrentRelease(std::string_view product) override;
    std::vector<ChangeEntry> ChangeLog(std::string_view product) override;

    void CountEvent(std::string_view day, EventKind kind, std::string_view version) override;
    ReportOutcome RecordReport(std::string_view address, int64_t now, std::string_view day,
                               std::string_view version) override;
    StatsSnapshot Stats(std::string_view firstDay) override;

    StageResult StageRelease(std::string_view product, int productId, const ChangeEntry& entry) override;
    std::string MakeLive(int64_t releaseId) override;
    void DropRelease(int64_t releaseId) override;
    std::vector<int64_t> StagedReleases(std::string_view product) override;
    std::vector<int64_t> RetiredReleases(std::string_view product, int keep) override;
    bool SetUpdateRequested(std::string_view product, bool requested) override;

private:
    // A pooled connection for the length of one call; back to the pool when it is still good.
    class Lease {
    public:
        explicit Lease(PostgresStorage& storage);
        ~Lease();
        Lease(const Lease&) = delete;
        Lease& operator=(const Lease&) = delete;
        PgConnection& operator*() { return *connection_; }
        PgConnection* operator->() { return connection_.get(); }

    private:
        PostgresStorage& storage_;
        std::unique_ptr<PgConnection> connection_;
    };

    std::unique_ptr<PgConnection> Connect();
    // The result of a statement that must succeed; a failure throws StorageUnavailable.
    PgResult Must(PgConnection& connection, const char* sql, const std::vector<PgParam>& params = {});

    std::string address_;
    std::string error_;
    std::mutex mutex_;
    std::vector<std::unique_ptr<PgConnection>> idle_;
    std::chrono::steady_clock::time_point retryAfter_{};
};

}  // namespace server
