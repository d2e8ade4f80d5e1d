// What the server keeps: releases, counters and installation reports. Request handling and the publish tool
// see only this interface: SqliteStorage keeps them in one file beside the releases (one server process),
// PostgresStorage in a shared database that any number of server processes answer from.
#pragma once
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace server {

// A release a client may see: published completely and switched live.
struct LiveRelease {
    int64_t id = 0;
    std::string product;
    std::string version;
};

// A product as the statistics requests name it, by its numeric id.
struct ProductState {
    std::string name;
    std::optional<LiveRelease> live;  // none before the first publish goes live
    bool updateRequested = false;      // the maker asks installs to run their updater
};

struct ChangeEntry {
    std::string date;
    std::string version;
    std::string content;
};

// The request kinds counted per day, with the product version that was live when they came.
enum class EventKind { VersionCheck, UpdatePing, Download };

enum class ReportOutcome { FirstReport, RepeatReport, NotStored };

// One row of the stats: a day (or a version) and what happened on it.
struct CountRow {
    std::string key;  // "YYYY-MM-DD" or a version text
    int64_t installs = 0;
    int64_t reports = 0;
    int64_t checks = 0;
    int64_t pings = 0;
    int64_t downloads = 0;
};

struct ReleaseRow {
    std::string product;
    std::string version;
    std::string date;
    bool current = false;
};

struct StatsSnapshot {
    std::vector<CountRow> days;      // oldest first, only days with something on them
    std::vector<CountRow> versions;  // by version text
    CountRow total;
    std::vector<ReleaseRow> releases;  // every live release of every product, newest first
};

// Thrown by a storage whose database cannot be reached (gone, restarting, refusing connections): the request
// is answered 503 and nothing of it is kept, so the client may send it again.
class StorageUnavailable : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class Storage {
public:
    virtual ~Storage() = default;

    // Products are named in URLs; the statistics requests name them by their numeric id instead, and get
    // all they need of it in one read.
    virtual std::optional<ProductState> ProductById(int productId) = 0;
    virtual std::optional<LiveRelease> CurrentRelease(std::string_view product) = 0;
    // The change entries of every live release of the product, the newest first.
    virtual std::vector<ChangeEntry> ChangeLog(std::string_view product) = 0;

    virtual void CountEvent(std::string_view day, EventKind kind, std::string_view version) = 0;
    // Stores a report for an adapter address: the first one makes a row, later ones move its last-seen time.
    // NotStored when the database could not take it (the caller must not claim it was kept).
    virtual ReportOutcome RecordReport(std::string_view address, int64_t now, std::string_view day,
                                       std::string_view version) = 0;
    virtual StatsSnapshot Stats(std::string_view firstDay) = 0;

    // Publishing, in three steps so that the files are in place before anyone can see the release:
    // StageRelease reserves an id; MakeLive switches the product to it in one step; DropRelease forgets a
    // staged release whose files could not be put in place. Both refuse a version already live.
    struct StageResult {
        int64_t id = 0;  // 0: refused, error says why
        std::string error;
    };
    virtual StageResult StageRelease(std::string_view product, int productId, const ChangeEntry& entry) = 0;
    virtual std::string MakeLive(int64_t releaseId) = 0;  // empty, or why it was refused
    virtual void DropRelease(int64_t releaseId) = 0;
    // The product's staged releases (not live, and not dropped).
    virtual std::vector<int64_t> StagedReleases(std::string_view product) = 0;
    // The live releases of the product older than its newest `keep` ones: requests are served from the newest
    // only, so their files are no longer needed (their change entries stay).
    virtual std::vector<int64_t> RetiredReleases(std::string_view product, int keep) = 0;
    virtual bool SetUpdateRequested(std::string_view product, bool requested) = 0;
};

}  // namespace server
