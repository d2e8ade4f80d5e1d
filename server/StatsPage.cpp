#include "server/StatsPage.h"

#include "server/Manifests.h"

#include <algorithm>
#include <map>

namespace server {

namespace {

struct Series {
    const char* label;
    const char* colour;
    int64_t (*value)(const CountRow&);
};

const Series kSeries[] = {
    {"installs", "#2a7ab0", [](const CountRow& r) { return r.installs; }},
    {"checks + pings", "#e08a00", [](const CountRow& r) { return r.checks + r.pings; }},
    {"downloads", "#3a9a3a", [](const CountRow& r) { return r.downloads; }},
};

std::string Cell(int64_t number) {
    return "<td>" + std::to_string(number) + "</td>";
}

std::string CountTable(const char* keyTitle, const std::vector<CountRow>& rows, const CountRow* total) {
    std::string html = "<table><tr><th>" + std::string(keyTitle) +
                       "</th><th>installs</th><th>reports</th><th>version checks</th><th>pings</th>"
                       "<th>downloads</th></tr>\n";
    auto line = [&html](const std::string& key, const CountRow& row) {
        html += "<tr><td>" + XmlEscaped(key) + "</td>" + Cell(row.installs) + Cell(row.reports) + Cell(row.checks) +
                Cell(row.pings) + Cell(row.downloads) + "</tr>\n";
    };
    for (const CountRow& row : rows)
        line(row.key.empty() ? "(none live)" : row.key, row);
    if (total)
        line("all", *total);
    return html + "</table>\n";
}

}  // namespace

std::string DailyChartSvg(const std::vector<CountRow>& rows, const std::vector<std::string>& days) {
    constexpr int width = 720, height = 240, left = 50, right = 10, top = 20, bottom = 30;
    std::map<std::string, const CountRow*> byDay;
    for (const CountRow& row : rows)
        byDay[row.key] = &row;
    const CountRow none;
    std::vector<const CountRow*> points;
    int64_t peak = 1;
    for (const std::string& day : days) {
        const auto found = byDay.find(day);
        points.push_back(found == byDay.end() ? &none : found->second);
        for (const Series& series : kSeries)
            peak = std::max(peak, series.value(*points.back()));
    }
    const double stepX = points.size() > 1 ? double(width - left - right) / double(points.size() - 1) : 0.0;
    auto x = [&](size_t i) { return left + stepX * double(i); };
    auto y = [&](int64_t v) { return top + double(height - top - bottom) * (1.0 - double(v) / double(peak)); };

    std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + std::to_string(width) + "\" height=\"" +
                      std::to_string(height) + "\" viewBox=\"0 0 " + std::to_string(width) + " " +
                      std::to_string(height) + "\" font-family=\"sans-serif\" font-size=\"11\">\n";
    svg += "<rect x=\"" + std::to_string(left) + "\" y=\"" + std::to_string(top) + "\" width=\"" +
           std::to_string(width - left - right) + "\" height=\"" + std::to_string(height - top - bottom) +
           "\" fill=\"#fafafa\" stroke=\"#ccc\"/>\n";
    svg += "<text x=\"" + std::to_string(left - 4) + "\" y=\"" + std::to_string(top + 4) +
           "\" text-anchor=\"end\">" + std::to_string(peak) + "</text>\n";
    svg += "<text x=\"" + std::to_string(left - 4) + "\" y=\"" + std::to_string(height - bottom) +
           "\" text-anchor=\"end\">0</text>\n";
    if (!days.empty()) {
        svg += "<text x=\"" + std::to_string(left) + "\" y=\"" + std::to_string(height - 10) + "\">" +
               XmlEscaped(days.front()) + "</text>\n";
        svg += "<text x=\"" + std::to_string(width - right) + "\" y=\"" + std::to_string(height - 10) +
               "\" text-anchor=\"end\">" + XmlEscaped(days.back()) + "</text>\n";
    }
    int legendX = left + 10;
    for (const Series& series : kSeries) {
        std::string line;
        for (size_t i = 0; i < points.size(); ++i)
            line += (i ? " " : "") + std::to_string(int(x(i))) + "," + std::to_string(int(y(series.value(*points[i]))));
        svg += "<polyline fill=\"none\" stroke=\"" + std::string(series.colour) + "\" stroke-width=\"2\" points=\"" +
               line + "\"/>\n";
        svg += "<text x=\"" + std::to_string(legendX) + "\" y=\"" + std::to_string(top - 6) + "\" fill=\"" +
               series.colour + "\">" + series.label + "</text>\n";
        legendX += 120;
    }
    return svg + "</svg>\n";
}

std::string StatsPageHtml(const StatsSnapshot& stats, const std::vector<std::string>& days, bool demo) {
    std::string html =
        "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>Nightcap server: stats</title>\n"
        "<style>body{font-family:sans-serif;margin:2em}table{border-collapse:collapse;margin:1em 0}"
        "td,th{border:1px solid #ccc;padding:2px 8px;text-align:right}.demo{background:#fe8;padding:4px}"
        "</style></head><body>\n<h1>Nightcap server: stats</h1>\n";
    if (demo)
        html += "<p class=\"demo\">Demo mode: the time, IP, air-quality and weather pages this server answers "
                "are made-up demo data.</p>\n";
    html += "<p>Installs " + std::to_string(stats.total.installs) + ", reports " +
            std::to_string(stats.total.reports) + ", version checks " + std::to_string(stats.total.checks) +
            ", pings " + std::to_string(stats.total.pings) + ", downloads " + std::to_string(stats.total.downloads) +
            ". Days are UTC; a count is filed under the version that was live when it came.</p>\n";
    html += "<h2>The last " + std::to_string(days.size()) + " days</h2>\n" + DailyChartSvg(stats.days, days);
    html += "<h2>Per day</h2>\n" + CountTable("day", stats.days, nullptr);
    html += "<h2>Per version</h2>\n" + CountTable("version", stats.versions, &stats.total);
    html += "<h2>Releases</h2>\n<table><tr><th>product</th><th>version</th><th>date</th><th></th></tr>\n";
    for (const ReleaseRow& release : stats.releases) {
        html += "<tr><td>" + XmlEscaped(release.product) + "</td><td>" + XmlEscaped(release.version) + "</td><td>" +
                XmlEscaped(release.date) + "</td><td>" + (release.current ? "live" : "") + "</td></tr>\n";
    }
    return html + "</table>\n</body></html>\n";
}

}  // namespace server
