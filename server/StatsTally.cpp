#include "server/StatsTally.h"

namespace server {

namespace {

void AddCount(CountRow& row, int64_t kind, int64_t count) {
    switch (kind) {
    case kCheck: row.checks += count; break;
    case kPing: row.pings += count; break;
    case kDownload: row.downloads += count; break;
    case kReport: row.reports += count; break;
    default: break;
    }
}

}  // namespace

int64_t DailyKindOf(EventKind kind) {
    switch (kind) {
    case EventKind::VersionCheck: return kCheck;
    case EventKind::UpdatePing: return kPing;
    case EventKind::Download: return kDownload;
    }
    return kCheck;
}

void StatsTally::AddEvents(const std::string& day, const std::string& version, int64_t kind, int64_t count) {
    if (day >= firstDay_)
        AddCount(days_[day], kind, count);
    AddCount(versions_[version], kind, count);
    AddCount(stats_.total, kind, count);
}

void StatsTally::AddInstalls(const std::string& day, const std::string& version, int64_t count) {
    if (day >= firstDay_)
        days_[day].installs += count;
    versions_[version].installs += count;
    stats_.total.installs += count;
}

StatsSnapshot StatsTally::Finish() {
    for (auto& [key, row] : days_) {
        row.key = key;
        stats_.days.push_back(row);
    }
    for (auto& [key, row] : versions_) {
        row.key = key;
        stats_.versions.push_back(row);
    }
    return std::move(stats_);
}

}  // namespace server
