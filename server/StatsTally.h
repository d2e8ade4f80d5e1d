// How both storages count: the request kinds as stored in the daily table, and the stats page's figures
// folded from its rows (per day from a first day on, per version, and in total).
#pragma once
#include "server/Storage.h"

#include <cstdint>
#include <map>
#include <string>

namespace server {

// daily.kind; reports are counted there too, beside the one row per address in installs.
enum DailyKind : int64_t { kCheck = 0, kPing = 1, kDownload = 2, kReport = 3 };
int64_t DailyKindOf(EventKind kind);

class StatsTally {
public:
    explicit StatsTally(std::string firstDay) : firstDay_(std::move(firstDay)) {}
    // A row of daily (kind as stored), and one of install_days.
    void AddEvents(const std::string& day, const std::string& version, int64_t kind, int64_t count);
    void AddInstalls(const std::string& day, const std::string& version, int64_t count);
    void AddRelease(ReleaseRow release) { stats_.releases.push_back(std::move(release)); }
    // The snapshot: days oldest first, versions by their text.
    StatsSnapshot Finish();

private:
    std::string firstDay_;
    std::map<std::string, CountRow> days_, versions_;
    StatsSnapshot stats_;
};

}  // namespace server
