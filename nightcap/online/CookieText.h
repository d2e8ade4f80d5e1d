// The text side of cookies: reading a value out of a cookie text, the data written for a cookie, the site
// domain, and the cookies a reply sets.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace nightcap {

// Written to delete a cookie: 1999-01-01 01:01:01.
double CookieDeletionDate();

// The value of the cookie called name in a text such as "a=1; b=2": from after "name=" to the next ";".
// The name is compared ignoring case and only where a cookie begins. An empty name gives the whole text;
// a name that is not there gives the empty text.
std::string CookieValue(std::string_view cookies, std::string_view name);

// The data stored for a cookie: the value (or "delete" with the deletion date when it is empty), then
// "; expires=" and the expiry unless it is the zero date, then "; path=/".
std::string CookieData(const std::string& value, double expiry);

// The host without "www" when it begins with "www." (so that it begins with the dot), else the host.
std::string SiteDomain(const std::string& host);

struct ReplyCookie {
    std::string name;
    std::string data;  // the value with its attributes, as sent
};

// Every "Set-Cookie: name=data" line of a raw reply header block (lines without "=" are skipped).
std::vector<ReplyCookie> ReplyCookies(std::string_view rawHeaders);

}  // namespace nightcap
