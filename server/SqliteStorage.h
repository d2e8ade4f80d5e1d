// The server's storage in one SQLite file (WAL mode). Every thread may call it. The requests' reads and writes go
// through one connection (the server answers them on one thread, and a connection that made the last write
// keeps its page cache, where another would read the changed pages again); the stats page has a connection of
// its own, so requests never wait for it, nor it for a write in progress.
#pragma once
#include "server/Sqlite.h"
#include "server/Storage.h"

#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

namespace server {

class SqliteStorage : public Storage {
public:
    // Opens or creates the database; false with a reason in Error() when it cannot.
    bool Open(const std::string& path);
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
    struct Connection {
        std::mutex mutex;
        SqliteDatabase db;
        std::unordered_map<const char*, std::unique_ptr<SqliteStatement>> statements;
        // The statement for sql, reset; prepared once per connection. Call with the mutex held.
        SqliteStatement& Prepared(const char* sql);
    };

    Connection main_;
    Connection stats_;
    std::string error_;
};

}  // namespace server
