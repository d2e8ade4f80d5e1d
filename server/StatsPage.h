// The maker's stats page: totals, a chart of the last days drawn as inline SVG, and tables per day, per
// version and of the releases. Plain HTML, no scripts.
#pragma once
#include "server/Storage.h"

#include <string>
#include <vector>

namespace server {

// days: the days the chart spans, oldest first ("YYYY-MM-DD").
std::string StatsPageHtml(const StatsSnapshot& stats, const std::vector<std::string>& days, bool demo);
// A line chart of installs, version checks and pings, and downloads on those days.
std::string DailyChartSvg(const std::vector<CountRow>& rows, const std::vector<std::string>& days);

}  // namespace server
