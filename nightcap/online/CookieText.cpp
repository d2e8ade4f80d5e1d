#include "nightcap/online/CookieText.h"

#include "nightcap/online/CalendarDate.h"
#include "nightcap/online/HttpDate.h"
#include "nightcap/online/TextBytes.h"

namespace nightcap {

namespace {

bool AtCookieStart(std::string_view cookies, size_t at) {
    while (at > 0 && cookies[at - 1] == ' ') --at;
    return at == 0 || cookies[at - 1] == ';';
}

}  // namespace

double CookieDeletionDate() {
    double date = 0;
    DateFromCalendar(1999, 1, 1, 1, 1, 1, date);
    return date;
}

std::string CookieValue(std::string_view cookies, std::string_view name) {
    if (name.empty()) return std::string(cookies);
    for (size_t at = FindNoCase(cookies, name); at != std::string_view::npos; at = FindNoCase(cookies, name, at + 1)) {
        const size_t equals = at + name.size();
        if (!AtCookieStart(cookies, at) || equals >= cookies.size() || cookies[equals] != '=') continue;
        const std::string_view value = cookies.substr(equals + 1);
        return std::string(value.substr(0, value.find(';')));
    }
    return std::string();
}

std::string CookieData(const std::string& value, double expiry) {
    std::string data = value.empty() ? "delete" : value;
    if (value.empty()) expiry = CookieDeletionDate();
    if (ClampDate(expiry) != ClampDate(0.0)) data += "; expires=" + FormatCookieDate(expiry);
    return data + "; path=/";
}

std::string SiteDomain(const std::string& host) {
    return StartsWithNoCase(host, "www.") ? host.substr(3) : host;
}

std::vector<ReplyCookie> ReplyCookies(std::string_view rawHeaders) {
    static const std::string_view kSetCookie = "Set-Cookie: ";
    std::vector<ReplyCookie> cookies;
    size_t start = 0;
    while (start < rawHeaders.size()) {
        size_t end = rawHeaders.find('\n', start);
        if (end == std::string_view::npos) end = rawHeaders.size();
        std::string_view line = rawHeaders.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        start = end + 1;
        const size_t at = FindNoCase(line, kSetCookie);
        if (at == std::string_view::npos) continue;
        const std::string_view cookie = line.substr(at + kSetCookie.size());
        const size_t equals = cookie.find('=');
        if (equals == std::string_view::npos) continue;
        cookies.push_back({std::string(cookie.substr(0, equals)), std::string(cookie.substr(equals + 1))});
    }
    return cookies;
}

}  // namespace nightcap
