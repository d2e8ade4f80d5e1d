// The HTTP client against the suite's loopback server: what goes on the wire and what comes back.
#include "nightcap/online/CalendarDate.h"
#include "nightcap/online/HttpClient.h"
#include "nightcap/online/HttpDate.h"
#include "tools/test-http-server/LoopbackServer.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

using namespace nightcap;

namespace {

const char kDefaultAccept[] =
    "image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, application/x-shockwave-flash, "
    "application/vnd.ms-excel, application/vnd.ms-powerpoint, application/msword, */*";

class HttpClientTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(server.Port(), 0) << "the loopback server is not running"; }

    // A fresh path with a canned reply; returns its full url.
    std::string Serve(const std::string& name, const std::string& headerLines, const std::string& body,
                      int status = 200) {
        path = LoopbackServer::UniquePath(name);
        EXPECT_TRUE(server.SetReply(path, headerLines, body, status));
        return server.Url(path);
    }
    RecordedRequest OnlyRequest() { return OnlyRequest(path); }
    RecordedRequest OnlyRequest(const std::string& prefix) {
        const std::vector<RecordedRequest> requests = server.Requests(prefix);
        EXPECT_EQ(requests.size(), 1u);
        return requests.empty() ? RecordedRequest() : requests[0];
    }

    LoopbackServer server;
    HttpClient client;
    std::string path;
};

TEST_F(HttpClientTest, PostWithoutBodySendsNoBodyHeaders) {
    const std::string url = Serve("post-empty", "", "1.002");
    EXPECT_EQ(client.PostText(url), "1.002");
    const RecordedRequest r = OnlyRequest();
    EXPECT_EQ(r.method, "POST");
    EXPECT_EQ(r.target, path);
    EXPECT_EQ(r.HeaderCount("Content-Type"), 0);
    // WinINet itself states the empty length of every POST; no length of ours is added to it.
    EXPECT_LE(r.HeaderCount("Content-Length"), 1);
    EXPECT_EQ(r.Header("Content-Length"), r.HeaderCount("Content-Length") ? "0" : "");
    EXPECT_EQ(r.body, "");
}

TEST_F(HttpClientTest, PostWithBodySendsTypeAndLength) {
    const std::string url = Serve("post-body", "", "done");
    const std::string body = "city=\xC9\xEE\xDB\xDA&x=1";  // GBK bytes travel unchanged
    EXPECT_EQ(client.PostTextWithBody(url + "?p_id=2", body), "done");
    const RecordedRequest r = OnlyRequest();
    EXPECT_EQ(r.target, path + "?p_id=2");
    EXPECT_EQ(r.HeaderCount("Content-Type"), 1);
    EXPECT_EQ(r.Header("Content-Type"), "application/x-www-form-urlencoded");
    EXPECT_EQ(r.HeaderCount("Content-Length"), 1);
    EXPECT_EQ(r.Header("Content-Length"), std::to_string(body.size()));
    EXPECT_EQ(r.body, body);
}

TEST_F(HttpClientTest, DefaultHeaderLinesAppearOnce) {
    const std::string url = Serve("defaults", "", "x");
    std::string headers;
    EXPECT_EQ(client.Request(url + "?a=1", "", "", &headers), Bytes{'x'});
    const RecordedRequest r = OnlyRequest();
    EXPECT_EQ(r.method, "GET");  // an empty method sends GET
    EXPECT_EQ(r.HeaderCount("Accept"), 1);
    EXPECT_EQ(r.Header("Accept"), kDefaultAccept);
    EXPECT_EQ(r.HeaderCount("Referer"), 1);
    EXPECT_EQ(r.Header("Referer"), url + "?a=1");
    EXPECT_EQ(r.HeaderCount("Accept-Language"), 1);
    EXPECT_EQ(r.Header("Accept-Language"), "zh-cn");
    EXPECT_EQ(r.Header("User-Agent"), "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)");
    // The caller's header text now holds what was sent, our lines in their order.
    EXPECT_EQ(headers, std::string("Accept: ") + kDefaultAccept + "\r\nReferer: " + url +
                           "?a=1\r\nAccept-Language: zh-cn\r\n");
}

TEST_F(HttpClientTest, PostBodyLinesFollowTheCallersAndOurs) {
    const std::string url = Serve("post-lines", "", "x");
    std::string headers = "X-Caller: 1";
    EXPECT_EQ(client.Request(url, "POST", "", &headers, "a=1"), Bytes{'x'});
    EXPECT_EQ(headers, std::string("X-Caller: 1\r\nAccept: ") + kDefaultAccept + "\r\nReferer: " + url +
                           "\r\nAccept-Language: zh-cn\r\nContent-Type: application/x-www-form-urlencoded\r\n"
                           "Content-Length: 3\r\n");
    const RecordedRequest r = OnlyRequest();
    EXPECT_EQ(r.Header("X-Caller"), "1");
    EXPECT_EQ(r.body, "a=1");
}

TEST_F(HttpClientTest, CallerAcceptInAnyCaseSuppressesOurs) {
    const std::string url = Serve("caller-accept", "", "x");
    std::string headers = "aCCEPT: text/plain\r\nX-Extra: 1\r\n";
    client.Request(url, "GET", "", &headers);
    const RecordedRequest r = OnlyRequest();
    EXPECT_EQ(r.HeaderCount("Accept"), 1);
    EXPECT_EQ(r.Header("Accept"), "text/plain");
    EXPECT_EQ(r.Header("X-Extra"), "1");
    EXPECT_EQ(r.HeaderCount("Referer"), 1);
}

TEST_F(HttpClientTest, UnknownMethodsFailWithoutSending) {
    const std::string url = Serve("methods", "", "x");
    for (const char* method : {"get", "Post", "PUT", "HEAD"})
        EXPECT_EQ(client.Request(url, method), HttpClient::FailureValue()) << method;
    EXPECT_EQ(HttpClient::FailureValue(), Bytes(255, 0));
    EXPECT_TRUE(server.Requests(path).empty());
}

TEST_F(HttpClientTest, ServerThatIsDownGivesTheFailureValue) {
    // Port 1 on the loopback address: nothing listens there.
    EXPECT_EQ(client.PostText("http://127.0.0.1:1/down"), "");
    EXPECT_EQ(client.PostBytes("http://127.0.0.1:1/down"), Bytes(255, 0));
    EXPECT_EQ(client.FetchText("http://127.0.0.1:1/down"), "");
    EXPECT_TRUE(client.XmlHttpGetBytes("http://127.0.0.1:1/down").empty());
}

TEST_F(HttpClientTest, ErrorPagesAreNoReplies) {
    for (int status : {404, 500, 502}) {
        SCOPED_TRACE(status);
        const std::string url = Serve("error-page", "", "1.003", status);
        EXPECT_EQ(client.PostBytes(url), Bytes(255, 0));
        EXPECT_TRUE(client.XmlHttpGetBytes(url).empty());
        EXPECT_EQ(client.FetchText(url), "");
    }
    // A server that answers with no body gives no bytes, not the failure value.
    EXPECT_EQ(client.PostBytes(Serve("empty-reply", "", "", 204)), Bytes());
}

// A server that takes the request and says nothing: every path gives up within the request limit.
TEST_F(HttpClientTest, SilentServerEndsInFailure) {
    path = LoopbackServer::UniquePath("silent");
    ASSERT_TRUE(server.SetHeldReply(path, "late"));
    const std::string url = server.Url(path);
    EXPECT_EQ(client.PostBytes(url), Bytes(255, 0));
    EXPECT_TRUE(client.XmlHttpGetBytes(url).empty());
    EXPECT_EQ(server.Requests(path).size(), 2u);
    server.Release(path);
}

TEST_F(HttpClientTest, ReplyCookiesAreStoredAndSentBack) {
    const std::string url = Serve("cookie", "Set-Cookie: sid=42; path=/\r\n", "ok");
    client.DeleteSiteCookies("127.0.0.1");
    ASSERT_EQ(client.GetCookie(url, "sid"), "");
    EXPECT_EQ(client.PostText(url), "ok");
    EXPECT_EQ(client.GetCookie(url, "sid"), "42");
    EXPECT_NE(client.GetCookie(url).find("sid=42"), std::string::npos);

    client.PostText(url);
    const std::vector<RecordedRequest> requests = server.Requests(path);
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_NE(requests[1].Header("Cookie").find("sid=42"), std::string::npos);

    EXPECT_TRUE(client.SetCookie(url, "extra", "7"));
    EXPECT_EQ(client.GetCookie(url, "extra"), "7");
    EXPECT_TRUE(client.SetCookie(url, "gone", "1"));
    EXPECT_TRUE(client.SetCookie(url, "gone"));  // no value: written with the deletion date
    EXPECT_EQ(client.GetCookie(url, "gone"), "");
    EXPECT_EQ(client.GetCookie(url, "extra"), "7");
    EXPECT_TRUE(client.SetCookie(url));  // clears every cookie of the host
    EXPECT_EQ(client.GetCookie(url), "");
}

TEST_F(HttpClientTest, ClearingReachesCookiesTooLongToRead) {
    const std::string url = "http://cookies.nightcap.test/page";  // the cookie store alone, no request
    client.SetCookie(url);
    EXPECT_TRUE(client.SetCookie(url, "long", std::string(300, 'v')));
    EXPECT_TRUE(client.SetCookie(url, "short", "1"));
    EXPECT_EQ(client.GetCookie(url), "");  // more than 255 bytes: not read
    EXPECT_EQ(client.GetCookie(url, "short"), "");
    EXPECT_TRUE(client.SetCookie(url));
    EXPECT_TRUE(client.SetCookie(url, "probe", "1"));
    EXPECT_EQ(client.GetCookie(url), "probe=1");  // nothing else was left
    EXPECT_TRUE(client.DeleteSiteCookies("cookies.nightcap.test"));
    EXPECT_EQ(client.GetCookie(url), "");
}

TEST_F(HttpClientTest, CookiesOfAWwwHostAreWrittenForTheWholeSite) {
    const std::string url = "http://www.site.nightcap.test/a/b";  // the cookie store alone, no request
    const std::string sibling = "http://img.site.nightcap.test/";
    client.SetCookie(url);
    EXPECT_TRUE(client.SetCookie(url, "site", "1"));
    EXPECT_EQ(client.GetCookie(url, "site"), "1");
    EXPECT_EQ(client.GetCookie(sibling, "site"), "1");  // the second write, for ".site.nightcap.test"
    EXPECT_TRUE(client.SetCookie(url, "site"));
    EXPECT_EQ(client.GetCookie(url), "");
    EXPECT_EQ(client.GetCookie(sibling), "");
}

TEST_F(HttpClientTest, XmlHttpReturnsTheExactReplyBytes) {
    std::string body;
    for (int round = 0; round < 3; ++round)
        for (int i = 0; i < 256; ++i) body += char(i);
    const std::string url = Serve("xmlhttp", "Content-Type: application/octet-stream\r\n", body);
    const Bytes reply = client.XmlHttpGetBytes(url, "", "", "", "X-Probe", "1");
    EXPECT_EQ(reply, Bytes(body.begin(), body.end()));
    const RecordedRequest r = OnlyRequest();
    EXPECT_EQ(r.method, "GET");
    EXPECT_EQ(r.Header("X-Probe"), "1");
    EXPECT_EQ(client.XmlHttpGetText(url), "");  // the text ends at the first byte, a zero
}

TEST_F(HttpClientTest, XmlHttpAnswersAChallengeWithTheUserGiven) {
    const std::string url = Serve("xmlhttp-auth", "WWW-Authenticate: Basic realm=\"n\"\r\n", "denied", 401);
    EXPECT_EQ(client.XmlHttpGetText(url), "");  // the refusal is no answer
    EXPECT_EQ(OnlyRequest().HeaderCount("Authorization"), 0);
    client.XmlHttpGetText(url, "get", "u", "p");
    const std::vector<RecordedRequest> requests = server.Requests(path);
    ASSERT_GE(requests.size(), 2u);
    EXPECT_EQ(requests.back().Header("Authorization"), "Basic dTpw");  // "u:p"
}

TEST_F(HttpClientTest, XmlHttpPostsItsBody) {
    const std::string url = Serve("xmlhttp-post", "", "\xE6\x99\xB4");
    EXPECT_EQ(client.XmlHttpGetText(url, "POST", "", "", "", "", "a=1"), "\xE6\x99\xB4");
    const RecordedRequest r = OnlyRequest();
    EXPECT_EQ(r.method, "POST");
    EXPECT_EQ(r.body, "a=1");
}

TEST_F(HttpClientTest, ServerTimeIsTheDateHeaderPlusEightHours) {
    const std::string base = server.Url(LoopbackServer::UniquePath("clock"));
    path = base.substr(base.find('/', 7)) + "/12.123.aa";
    ASSERT_TRUE(server.SetReply(path, "Date: Sun, 06 Dec 2026 20:30:00 GMT\r\n", ""));
    const double expected = *ParseHttpDateText("Mon, 07 Dec 2026 04:30:00 GMT");
    const double clock = client.ServerTime(base);
    // Plus the whole seconds the request took: none on the loopback, but allow a slow machine a few.
    EXPECT_GE(clock, expected - 1e-9);
    EXPECT_LT(clock, expected + 5.0 / 86400);
    EXPECT_EQ(OnlyRequest().method, "HEAD");
}

TEST_F(HttpClientTest, ServerTimeReadsTheRedirectItselfNotItsTarget) {
    const std::string base = server.Url(LoopbackServer::UniquePath("clock-moved"));
    const std::string elsewhere = LoopbackServer::UniquePath("clock-elsewhere");
    ASSERT_TRUE(server.SetReply(elsewhere, "Date: Tue, 01 Jan 2030 00:00:00 GMT\r\n", ""));
    path = base.substr(base.find('/', 7)) + "/12.123.aa";
    ASSERT_TRUE(server.SetReply(path, "Location: " + server.Url(elsewhere) + "\r\nDate: Sun, 06 Dec 2026 20:30:00 GMT\r\n",
                                "", 302));
    const double clock = client.ServerTime(base);
    const double expected = *ParseHttpDateText("Mon, 07 Dec 2026 04:30:00 GMT");
    EXPECT_GE(clock, expected - 1e-9);
    EXPECT_LT(clock, expected + 5.0 / 86400);
    EXPECT_TRUE(server.Requests(elsewhere).empty());
}

double LocalNow() {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    double date = 0;
    EXPECT_TRUE(DateFromCalendar(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, date));
    return date;
}

TEST(HttpDate, ClientParseLeavesTheCurrentTimeOnFailure) {
    double date = -1, past = 0, sent = 0;
    ASSERT_TRUE(DateFromCalendar(2020, 1, 1, 0, 0, 0, past));
    ASSERT_TRUE(DateFromCalendar(2026, 12, 6, 8, 30, 0, sent));
    EXPECT_FALSE(HttpClient::ParseHttpDate("Sun, 06 Dec 2026 08:30:00", date));
    EXPECT_GT(date, past);  // now, not the old value
    EXPECT_TRUE(HttpClient::ParseHttpDate("Sun, 06 Dec 2026 08:30:00 GMT", date));
    EXPECT_EQ(date, sent);
}

TEST_F(HttpClientTest, ServerTimeWithoutADateIsLocalTimePlusEightHours) {
    const std::string base = server.Url(LoopbackServer::UniquePath("clock-undated"));
    path = base.substr(base.find('/', 7)) + "/12.123.aa";
    ASSERT_TRUE(server.SetReply(path, "", ""));
    const double before = LocalNow();
    const double clock = client.ServerTime(base);
    const double after = LocalNow();
    EXPECT_GE(clock, before + 8.0 / 24 - 1e-9);
    EXPECT_LT(clock, after + 8.0 / 24 + 5.0 / 86400);
}

TEST_F(HttpClientTest, ConcurrentRequestsEachGetTheirOwnReply) {
    std::string bodyA(100000, 'a'), bodyB(70001, 'b');
    for (size_t i = 0; i < bodyA.size(); i += 997) bodyA[i] = 'A';
    const std::string urlA = Serve("thread-a", "", bodyA);
    const std::string urlB = Serve("thread-b", "", bodyB);
    Bytes replyA[4], replyB[4];
    std::thread a([&] {
        for (Bytes& reply : replyA) reply = client.PostBytes(urlA);
    });
    std::thread b([&] {
        for (Bytes& reply : replyB) reply = client.PostBytesWithBody(urlB, "x=1");
    });
    a.join();
    b.join();
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(replyA[i], Bytes(bodyA.begin(), bodyA.end())) << i;
        EXPECT_EQ(replyB[i], Bytes(bodyB.begin(), bodyB.end())) << i;
    }
}

TEST_F(HttpClientTest, FetchTextIsAPlainGetWhoseChunksEndAtZero) {
    const std::string url = Serve("fetch", "", std::string("ab\0cd", 5));
    EXPECT_EQ(client.FetchText(url), "ab");
    const RecordedRequest r = OnlyRequest();
    EXPECT_EQ(r.method, "GET");
    EXPECT_EQ(r.Header("User-Agent"), url);  // the agent name is the url itself
}

TEST_F(HttpClientTest, DownloadToFileWritesTheReply) {
    const std::string body = "line 1\r\nline 2\0tail";
    const std::string url = Serve("download", "Content-Type: application/octet-stream\r\n", body);
    char folder[MAX_PATH];
    ASSERT_GT(::GetTempPathA(MAX_PATH, folder), 0u);
    const std::string file = std::string(folder) + "nightcap-download-" + std::to_string(::GetCurrentProcessId());
    ASSERT_TRUE(client.DownloadToFile(url, file));
    std::ifstream in(file, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), body);
    in.close();
    ::DeleteFileA(file.c_str());
    EXPECT_FALSE(client.DownloadToFile("http://127.0.0.1:1/x", file));
}

TEST_F(HttpClientTest, ExtractLinksFetchesThePage) {
    const std::string url =
        Serve("links", "", "<img src=\"logo.png\"><a href=\"/top\">t</a><a HREF=\"http://other/x\">o</a>");
    std::vector<std::string> links{"kept"};
    EXPECT_EQ(client.ExtractLinks(url + "/page.html", links), 0);  // no reply configured: the 404 page has none
    const std::string site = server.Url("");
    EXPECT_EQ(client.ExtractLinks(url, links), 3);
    EXPECT_EQ(links, (std::vector<std::string>{"kept", site + "/logo.png", site + "/top", "http://other/x"}));
    EXPECT_EQ(client.ExtractLinks("", links), -1);
}

// The calling thread's windows get their messages while a request waits; a quit request is kept for the
// thread's own message loop.
int delivered = 0;

LRESULT CALLBACK CountingWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP) ++delivered;
    return ::DefWindowProcA(hwnd, message, wParam, lParam);
}

TEST_F(HttpClientTest, RequestsPumpTheCallersMessages) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = CountingWindowProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "HttpClientTestPump";
    ::RegisterClassA(&wc);
    HWND window = ::CreateWindowA(wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    ASSERT_TRUE(window);
    const std::string url = Serve("pump", "", "x");

    delivered = 0;
    ::PostMessageA(window, WM_APP, 0, 0);
    client.PostText(url);
    EXPECT_EQ(delivered, 1);
    ::PostMessageA(window, WM_APP, 0, 0);
    client.XmlHttpGetBytes(url);
    EXPECT_EQ(delivered, 2);

    ::PostQuitMessage(3);
    client.FetchText(url);
    MSG msg;
    ASSERT_TRUE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 3u);
    ::DestroyWindow(window);
}

TEST_F(HttpClientTest, ConnectionReportHasItsFrame) {
    const std::string report = client.DescribeConnection();
    EXPECT_TRUE(report.rfind("已连接到Internet,连接名称: ", 0) == 0 || report.rfind("没有连接到Internet,连接名称: ", 0) == 0)
        << report;
    EXPECT_EQ(report.substr(report.size() - 4), "\r\n\r\n");
}

TEST_F(HttpClientTest, ProxyGetsTheAbsoluteUrl) {
    Serve("proxied", "", "via proxy");
    const std::string target = "http://127.0.0.1:1" + path;
    EXPECT_EQ(TextOf(client.Request(target, "GET", "  127.0.0.1:" + std::to_string(server.Port()) + " ")),
              "via proxy");
    EXPECT_EQ(OnlyRequest(target).target, target);
}

}  // namespace
