// The text rules of the HTTP client: URL pieces, dates, cookies, links, request headers and the connection
// report.
#include "nightcap/online/CalendarDate.h"
#include "nightcap/online/ConnectionReport.h"
#include "nightcap/online/CookieText.h"
#include "nightcap/online/HttpDate.h"
#include "nightcap/online/PageLinks.h"
#include "nightcap/online/RequestHeaders.h"
#include "nightcap/online/UrlPieces.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

using namespace nightcap;

namespace {

using ::testing::ElementsAre;

double Date(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    double date = 0;
    EXPECT_TRUE(DateFromCalendar(y, mo, d, h, mi, s, date));
    return date;
}

TEST(UrlPieces, SchemePortPathAndQuery) {
    const std::string url = "http://Server01:8080/a/b?x=1";
    EXPECT_EQ(UrlHost(url), "server01");
    EXPECT_EQ(UrlPort(url), 8080);
    EXPECT_EQ(UrlPath(url), "/a/b?x=1");
    EXPECT_EQ(UrlHost("Server01"), "server01");
    EXPECT_EQ(UrlPort("Server01"), 80);
    EXPECT_EQ(UrlPath("Server01"), "/");
    EXPECT_EQ(UrlHost("HTTP://Example.COM"), "example.com");
    EXPECT_EQ(UrlPath("HTTP://Example.COM"), "/");
    EXPECT_EQ(UrlPath("example.com/x/y"), "/x/y");
}

TEST(UrlPieces, OddAuthorities) {
    EXPECT_EQ(UrlPort("http://h:/x"), 0);
    EXPECT_EQ(UrlPort("http://h:80abc/x"), 80);
    EXPECT_EQ(UrlPort("http://h:99999999999999/x"), 0);
    EXPECT_EQ(UrlHost("https://h/x"), "https");  // only http is known: the scheme word is taken as the host
    EXPECT_EQ(UrlHost(""), "");
    EXPECT_EQ(UrlPath(""), "/");
    EXPECT_EQ(UrlPath("http://"), "/");
    // A host whose name also occurs in the scheme still gets its own path.
    EXPECT_EQ(UrlPath("http://t/x"), "/x");
    EXPECT_EQ(UrlPath("http://http/x?h"), "/x?h");
}

TEST(HttpDate, ParsesTheDateAsSent) {
    EXPECT_EQ(ParseHttpDateText("Sun, 06 Dec 2026 08:30:00 GMT"), Date(2026, 12, 6, 8, 30, 0));
    EXPECT_EQ(ParseHttpDateText("Xyz, 6 Feb 2024 8:3:9 GMT"), Date(2024, 2, 6, 8, 3, 9));
    EXPECT_EQ(ParseHttpDateText("Thu, 29 Feb 2024 23:59:59 GMT"), Date(2024, 2, 29, 23, 59, 59));
}

TEST(HttpDate, RejectsOtherShapes) {
    for (const char* text : {"Sun, 06 Dec 2026 08:30:00",          // five parts
                             "Sun,  06 Dec 2026 08:30:00 GMT",     // double space: seven parts
                             "Sun, 06 Dec 2026 08:30:00 gmt",      // zone case
                             "Sun, 06 dec 2026 08:30:00 GMT",      // month case
                             "Sun, 06 Dec 2008 08:30:00 GMT",      // year too early
                             "Sun, 06 Dec 5001 08:30:00 GMT",      // year too late
                             "Sun, 00 Dec 2026 08:30:00 GMT",      // day 0
                             "Sun, 32 Dec 2026 08:30:00 GMT",      // day 32
                             "Sun, 31 Nov 2026 08:30:00 GMT",      // no such day
                             "Sun, 29 Feb 2025 08:30:00 GMT",      // no leap year
                             "Sun, 06 Dec 2026 24:00:00 GMT",      // hour
                             "Sun, 06 Dec 2026 08:30 GMT",         // no seconds
                             "Sun, 06 Dec 2026 08:30:00:00 GMT",   // too many fields
                             "Sun, 06 Dec 2026 :30:00 GMT", "", " ", "     "})
        EXPECT_FALSE(ParseHttpDateText(text).has_value()) << text;
}

TEST(HttpDate, ServerClockAddsEightHoursAndWholeSeconds) {
    const double sent = Date(2026, 12, 6, 20, 30, 0);
    EXPECT_NEAR(BeijingServerClock(sent, 0), Date(2026, 12, 7, 4, 30, 0), 1e-9);
    EXPECT_NEAR(BeijingServerClock(sent, 2999), Date(2026, 12, 7, 4, 30, 2), 1e-9);
}

TEST(CookieDate, WrittenWithoutLeadingZerosOrZoneChange) {
    EXPECT_EQ(FormatCookieDate(Date(1999, 5, 5, 1, 1, 1)), "Wed, 5-May-1999 1:1:1 GMT");
    EXPECT_EQ(FormatCookieDate(CookieDeletionDate()), "Fri, 1-Jan-1999 1:1:1 GMT");
    EXPECT_EQ(FormatCookieDate(Date(2026, 12, 6, 23, 59, 59)), "Sun, 6-Dec-2026 23:59:59 GMT");
    EXPECT_EQ(FormatCookieDate(0.0), "Sat, 30-Dec-1899 0:0:0 GMT");
    EXPECT_EQ(FormatCookieDate(-1.25), "Fri, 29-Dec-1899 6:0:0 GMT");
    // Out of range and not-a-number values are limited, not read past the tables.
    EXPECT_EQ(FormatCookieDate(1e300), "Fri, 31-Dec-9999 0:0:0 GMT");
    EXPECT_EQ(FormatCookieDate(-1e300), "Fri, 1-Jan-100 0:0:0 GMT");
    EXPECT_EQ(FormatCookieDate(std::nan("")), "Sat, 30-Dec-1899 0:0:0 GMT");
}

TEST(CalendarDate, RoundTripsAcrossTheRange) {
    for (double date : {-657434.0, -1.5, 0.0, 0.75, 36161.0423726852, 46362.354166666664, 2958465.0}) {
        const CalendarTime t = CalendarFromDate(date);
        double back = 0;
        ASSERT_TRUE(DateFromCalendar(t.year, t.month, t.day, t.hour, t.minute, t.second, back)) << date;
        EXPECT_NEAR(back, date, 1.0 / 86400) << date;
    }
    EXPECT_EQ(CalendarFromDate(Date(2026, 12, 6)).weekday, 0);
    // 23:59:59.9 rounds into the next day.
    const CalendarTime t = CalendarFromDate(Date(2024, 2, 28) + 86399.9 / 86400);
    EXPECT_EQ(t.day, 29);
    EXPECT_EQ(t.hour, 0);
}

TEST(CookieText, ValueByName) {
    EXPECT_EQ(CookieValue("a=1; b=2", "b"), "2");
    EXPECT_EQ(CookieValue("a=1; b=2", "a"), "1");
    EXPECT_EQ(CookieValue("a=1; b=2", "c"), "");
    EXPECT_EQ(CookieValue("a=1; b=2", ""), "a=1; b=2");
    EXPECT_EQ(CookieValue("SID=42", "sid"), "42");
    // A name inside another cookie's name or value is not that cookie.
    EXPECT_EQ(CookieValue("ab=1; b=2", "b"), "2");
    EXPECT_EQ(CookieValue("x=b=3; b=4", "b"), "4");
    EXPECT_EQ(CookieValue("ab=1", "b"), "");
    EXPECT_EQ(CookieValue("a=", "a"), "");
    EXPECT_EQ(CookieValue("a", "a"), "");
}

TEST(CookieText, DataForWritingAndDeleting) {
    EXPECT_EQ(CookieData("", 0.0), "delete; expires=Fri, 1-Jan-1999 1:1:1 GMT; path=/");
    EXPECT_EQ(CookieData("42", 0.0), "42; path=/");
    EXPECT_EQ(CookieData("42", Date(2030, 1, 2, 3, 4, 5)), "42; expires=Wed, 2-Jan-2030 3:4:5 GMT; path=/");
    EXPECT_EQ(SiteDomain("www.example.com"), ".example.com");
    EXPECT_EQ(SiteDomain("WWW.example.com"), ".example.com");
    EXPECT_EQ(SiteDomain("example.com"), "example.com");
    EXPECT_EQ(SiteDomain("www"), "www");
}

TEST(CookieText, CookiesOfAReply) {
    const std::vector<ReplyCookie> cookies = ReplyCookies(
        "HTTP/1.1 200 OK\r\nSet-Cookie: sid=42; path=/\r\nset-cookie: b=x=y\r\nSet-Cookie: broken\r\nX: 1\r\n\r\n");
    ASSERT_EQ(cookies.size(), 2u);
    EXPECT_EQ(cookies[0].name, "sid");
    EXPECT_EQ(cookies[0].data, "42; path=/");
    EXPECT_EQ(cookies[1].name, "b");
    EXPECT_EQ(cookies[1].data, "x=y");
    EXPECT_TRUE(ReplyCookies("HTTP/1.1 200 OK\r\n\r\n").empty());
    EXPECT_TRUE(ReplyCookies("").empty());
}

TEST(RequestHeaders, OurLinesOnlyWhenMissing) {
    std::string headers;
    CompleteRequestHeaders(headers, "http://h/p?q=1");
    EXPECT_EQ(headers,
              "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, application/x-shockwave-flash, "
              "application/vnd.ms-excel, application/vnd.ms-powerpoint, application/msword, */*\r\n"
              "Referer: http://h/p?q=1\r\nAccept-Language: zh-cn\r\n");
    std::string own = "accept: text/plain\r\nREFERER: x\r\naccept-language: en\r\n";
    CompleteRequestHeaders(own, "http://h/");
    EXPECT_EQ(own, "accept: text/plain\r\nREFERER: x\r\naccept-language: en\r\n");
    // A last caller line without its line break is ended before ours follow.
    std::string unended = "X-A: 1";
    CompleteRequestHeaders(unended, "h");
    EXPECT_EQ(unended.substr(0, 16), "X-A: 1\r\nAccept: ");
    std::string halfEnded = "X-A: 1\r";
    CompleteRequestHeaders(halfEnded, "h");
    EXPECT_EQ(halfEnded.substr(0, 16), "X-A: 1\r\nAccept: ");
    std::string post;
    AppendBodyHeaders(post, 12);
    EXPECT_EQ(post, "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: 12\r\n");
}

TEST(PageLinks, BasesFromTheUrl) {
    const std::optional<LinkBases> b = LinkBasesOf("HTTP://Example.com/Dir/Sub/page.html");
    ASSERT_TRUE(b);
    EXPECT_EQ(b->site, "http://example.com");
    EXPECT_EQ(b->folder, "http://example.com/dir/sub/");
    EXPECT_EQ(LinkBasesOf("example.com")->folder, "http://example.com/");
    EXPECT_EQ(LinkBasesOf("example.com/")->folder, "http://example.com/");
    EXPECT_FALSE(LinkBasesOf(""));
    EXPECT_FALSE(LinkBasesOf("http://"));
}

TEST(PageLinks, SrcThenHrefMadeAbsolute) {
    const LinkBases b{"http://h", "http://h/d/"};
    EXPECT_THAT(LinksOf("<a HREF=\"/x\">a</a><img src=\"i.png\"><a href=\"http://o/y\"><a href=\"HTTP://z\">"
                        "<a href=\"open",
                        b),
                ElementsAre("http://h/d/i.png", "http://h/x", "http://o/y", "http://h/d/HTTP://z"));
    EXPECT_TRUE(LinksOf("", b).empty());
    EXPECT_THAT(LinksOf("href=\"\"", b), ElementsAre("http://h/d/"));
}

TEST(ConnectionReport, LinesForTheFlags) {
    EXPECT_EQ(ConnectionReport(true, 0x02 | 0x40, "LAN"),
              "已连接到Internet,连接名称: LAN\r\n使用局域网连接到Internet.\r\n连接已经设定.\r\n\r\n");
    EXPECT_EQ(ConnectionReport(false, 0x01 | 0x04 | 0x10 | 0x20, ""),
              "没有连接到Internet,连接名称: \r\n使用modem连接到Internet.\r\n通过代理服务器连接到Internet.\r\n"
              "现在连接处于离线状态.\r\n没有设定好连接.\r\n已经安装了远程服务功能.\r\n\r\n");
}

}  // namespace
