// The statistics endpoints, the download counter and the stats page, against the real server on each storage.
#include "nightcap/online/StatisticsRules.h"
#include "tests/server/BackendUnderTest.h"
#include "tests/server/ServerProcess.h"

#include <gtest/gtest.h>

using namespace nightcap;

namespace {

constexpr char kVersionSign[] = "/pm/sd_mgr/pts/web/sd_version_sign.php";
constexpr char kUsage[] = "/pm/sd_mgr/pts/web/pm_usage.php";
constexpr char kDown[] = "/pm/sd_mgr/pts/web/pm_down.php";
// The check value of the address 001122AABBCC: MD5 of "2001122AABBCC7QKRT#2HW%", lower case.
constexpr char kAddress[] = "001122AABBCC";
constexpr char kCheck[] = "e65ef01f63c23f4e52d980babc88048e";

std::string AllByteValues() {
    std::string bytes;
    for (int round = 0; round < 1200; ++round)
        for (int b = 0; b < 256; ++b)
            bytes += static_cast<char>(b ^ round);
    return bytes;
}

std::string ReportTarget(const std::string& address, const std::string& check) {
    return std::string(kUsage) + "?p_id=2&macAdd=" + address + "&chk=" + check;
}

class EndpointsTest : public ::testing::TestWithParam<Backend> {
protected:
    void SetUp() override {
        release.Write("Nightcap.exe", "MZ program");
        release.Write("config.ini", "[Product]\r\n\r\nname=Nightcap\r\n");
        release.Write("update/Update.exe", AllByteValues());
        ASSERT_EQ(Publish({"--version", "1.002", release.Path().string()}).exitCode, 0);
    }
    std::filesystem::path Data() const { return scratch.Path() / "data"; }
    int64_t Count(const std::string& sql) const { return database.Number(sql); }
    // The server's arguments on this test's storage, then these.
    std::vector<std::string> Args(std::vector<std::string> more = {}) const {
        std::vector<std::string> args = database.Args();
        args.insert(args.end(), more.begin(), more.end());
        return args;
    }
    ToolRun Publish(const std::vector<std::string>& args) const {
        std::vector<std::string> all = Args({"--data", Data().string()});
        all.insert(all.end(), args.begin(), args.end());
        return RunPublish(all);
    }
    std::string Down(const ServerProcess& server, const std::string& pUrl) const {
        return std::string(kDown) + "?p_id=1&p_url=" + pUrl;
    }

    ScratchFolder scratch;
    ScratchFolder release;
    TestDatabase database{GetParam(), Data()};
};

TEST_P(EndpointsTest, VersionCheckAnswersTheLiveVersionAndPingsAnswerTheMakersRequest) {
    ServerProcess server(Data(), Args());
    ASSERT_TRUE(server.Running());
    // The product posts without a body; the answer is the bare version text.
    for (const auto& result : {server.Post(std::string(kVersionSign) + "?p_id=2&f_id=&RequestType=1"),
                               server.Get(std::string(kVersionSign) + "?p_id=2&f_id=&RequestType=1")}) {
        ASSERT_TRUE(result);
        EXPECT_EQ(result->status, 200);
        EXPECT_EQ(result->body, "1.002");
    }
    // Some HTTP stacks send a POST without any Content-Length.
    EXPECT_EQ(RawRequest(server.Port(), "POST", std::string(kVersionSign) + "?p_id=2&RequestType=1").body, "1.002");

    EXPECT_EQ(server.Post(std::string(kVersionSign) + "?p_id=2&RequestType=2")->body, "0");
    ASSERT_EQ(Publish({"--product", "Nightcap", "--ask-update", "yes"}).exitCode, 0);
    EXPECT_EQ(server.Post(std::string(kVersionSign) + "?p_id=2&RequestType=2")->body, "1");
    ASSERT_EQ(Publish({"--product", "Nightcap", "--ask-update", "no"}).exitCode, 0);
    EXPECT_EQ(server.Post(std::string(kVersionSign) + "?p_id=2&RequestType=2")->body, "0");

    EXPECT_EQ(Count("SELECT sum(count) FROM daily WHERE kind = 0 AND day = '2013-06-26' AND version = '1.002'"), 3);
    EXPECT_EQ(Count("SELECT sum(count) FROM daily WHERE kind = 1 AND day = '2013-06-26'"), 3);
}

// The requests exactly as Nightcap's own rules write them, and its reading of the replies.
TEST_P(EndpointsTest, NightcapsOwnRequestsGetTheAnswersItExpects) {
    ServerProcess server(Data(), Args());
    ASSERT_EQ(InstallReportCheckValue(kAddress), kCheck);
    if (std::string(kProductVersion) != "1.002")  // the build's version, when it is not the one set up
        ASSERT_EQ(Publish({"--version", kProductVersion, release.Path().string()}).exitCode, 0);
    EXPECT_TRUE(VersionReplyIsCurrent(server.Post(kVersionCheckRequest)->body));
    EXPECT_FALSE(PingReplyStartsUpdater(server.Post(kUpdatePingRequest)->body));
    const auto report = server.Post(InstallReportRequest(kAddress));
    ASSERT_TRUE(report);
    EXPECT_EQ(report->status, 200);
    EXPECT_EQ(Count("SELECT reports FROM installs WHERE address = '001122AABBCC'"), 1);
}

TEST_P(EndpointsTest, BadVersionRequestsAreRefusedAndNotCounted) {
    ServerProcess server(Data(), Args());
    const std::string base = kVersionSign;
    EXPECT_EQ(server.Get(base + "?RequestType=1")->status, 400);
    EXPECT_EQ(server.Get(base + "?p_id=&RequestType=1")->status, 400);
    EXPECT_EQ(server.Get(base + "?p_id=2x&RequestType=1")->status, 400);
    EXPECT_EQ(server.Get(base + "?p_id=-2&RequestType=1")->status, 400);
    EXPECT_EQ(server.Get(base + "?p_id=99999999999999999999&RequestType=1")->status, 400);
    EXPECT_EQ(server.Get(base + "?p_id=2&RequestType=3")->status, 400);
    EXPECT_EQ(server.Get(base + "?p_id=2")->status, 400);
    EXPECT_EQ(server.Get(base + "?p_id=7&RequestType=1")->status, 404);  // no such product
    EXPECT_EQ(server.Get(base + "?p_id=2&RequestType=1&pad=" + std::string(20000, 'x'))->status, 414);
    EXPECT_EQ(Count("SELECT count(*) FROM daily"), 0);
    // The server still answers after all that.
    EXPECT_EQ(server.Get(base + "?p_id=2&RequestType=1")->body, "1.002");
}

TEST_P(EndpointsTest, AValidReportIsStoredOncePerAddressWithFirstAndLastSeen) {
    {
        ServerProcess server(Data(), Args());
        const auto first = server.Post(ReportTarget(kAddress, kCheck));
        ASSERT_TRUE(first);
        EXPECT_EQ(first->status, 200);
        EXPECT_EQ(server.Post(ReportTarget(kAddress, kCheck))->status, 200);
    }
    {
        ServerProcess later(Data(), Args(), kTestClock + 86400 * 3);
        EXPECT_EQ(later.Get(ReportTarget(kAddress, kCheck))->status, 200);
    }
    EXPECT_EQ(Count("SELECT count(*) FROM installs"), 1);
    EXPECT_EQ(Count("SELECT reports FROM installs WHERE address = '001122AABBCC'"), 3);
    EXPECT_EQ(Count("SELECT first_seen FROM installs"), kTestClock);
    EXPECT_EQ(Count("SELECT last_seen FROM installs"), kTestClock + 86400 * 3);
    EXPECT_EQ(Count("SELECT count(*) FROM installs WHERE first_day = '2013-06-26' AND first_version = '1.002'"), 1);
}

// A report the database refuses halfway (here its daily count, after the installation row) is answered 503
// so that the product may send it again, and leaves nothing behind; once the database takes writes again the
// same report is stored as a first one.
TEST_P(EndpointsTest, AReportTheDatabaseRefusesIsAnswered503AndStoresNothing) {
    ServerProcess server(Data(), Args());
    ASSERT_TRUE(server.Running());
    const bool sqlite = GetParam() == Backend::Sqlite;
    ASSERT_TRUE(database.Execute(sqlite ? "CREATE TRIGGER refuse BEFORE INSERT ON daily "
                                          "BEGIN SELECT RAISE(ABORT, 'disk full'); END"
                                        : "CREATE FUNCTION refuse() RETURNS trigger LANGUAGE plpgsql AS "
                                          "$$BEGIN RAISE EXCEPTION 'disk full'; END$$; CREATE TRIGGER refuse "
                                          "BEFORE INSERT ON daily FOR EACH ROW EXECUTE FUNCTION refuse()"));
    const auto refused = server.Post(ReportTarget(kAddress, kCheck));
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->status, 503);
    EXPECT_EQ(Count("SELECT count(*) FROM installs"), 0);
    EXPECT_EQ(Count("SELECT count(*) FROM daily"), 0);

    ASSERT_TRUE(database.Execute(sqlite ? "DROP TRIGGER refuse" : "DROP TRIGGER refuse ON daily"));
    EXPECT_EQ(server.Post(ReportTarget(kAddress, kCheck))->status, 200);
    EXPECT_EQ(Count("SELECT reports FROM installs WHERE address = '001122AABBCC'"), 1);
    EXPECT_EQ(Count("SELECT count FROM daily WHERE kind = 3"), 1);
}

TEST_P(EndpointsTest, InvalidReportsAreAnswered400AndStoreNothing) {
    ServerProcess server(Data(), Args());
    std::string upper = kCheck;
    for (char& c : upper)
        c = static_cast<char>(toupper(c));
    const std::vector<std::string> bad = {
        ReportTarget(kAddress, upper),                        // the check value is lower case
        ReportTarget(kAddress, "e65ef01f63c23f4e52d980babc88048f"),
        ReportTarget("001122aabbcc", kCheck),                 // the address is upper case
        ReportTarget("001122AABBC", kCheck),
        ReportTarget("", "8d5ecdbbbbaf1d1f1e9c8d6bd5ab7e58"),  // no adapter: nothing identifies the install
        ReportTarget("00-11-22-AA-BB-CC", kCheck),
        ReportTarget(std::string(4000, 'A'), kCheck),
        std::string(kUsage) + "?p_id=2&macAdd=001122AABBCC",
        std::string(kUsage) + "?p_id=2&chk=" + kCheck,
    };
    for (const std::string& target : bad) {
        const auto result = server.Post(target);
        ASSERT_TRUE(result) << target;
        EXPECT_EQ(result->status, 400) << target;
    }
    EXPECT_EQ(Count("SELECT count(*) FROM installs"), 0);
    EXPECT_EQ(Count("SELECT count(*) FROM daily"), 0);
}

TEST_P(EndpointsTest, TheDownloadCounterHandsOutStoredFilesAndCountsThem) {
    ServerProcess server(Data(), Args());
    const std::string url = "http://" + server.HostPort() + "/download/Nightcap/Update/Update.exe";
    const auto counted = server.Get(Down(server, url));
    ASSERT_TRUE(counted);
    EXPECT_EQ(counted->status, 200);
    EXPECT_TRUE(counted->body == AllByteValues());
    EXPECT_EQ(server.Get(Down(server, "http://" + server.HostPort() + "/download/Nightcap/Nightcap.exe"))->body,
              "MZ program");
    // The download tree itself serves the same files, uncounted.
    EXPECT_TRUE(server.Get("/download/Nightcap/Update/Update.exe")->body == AllByteValues());
    EXPECT_EQ(Count("SELECT sum(count) FROM daily WHERE kind = 2 AND version = '1.002'"), 2);
}

TEST_P(EndpointsTest, TheDownloadCounterIsNoProxyAndKeepsToItsOwnTree) {
    ServerProcess server(Data(), Args({"--own-host", "update.example"}));
    const std::string own = "http://" + server.HostPort();
    // Another name of ours, given at start, is accepted like the Host the request came to.
    EXPECT_EQ(RawRequest(server.Port(), "GET", Down(server, "http://update.example/download/Nightcap/Nightcap.exe")).status,
              200);
    const std::vector<std::string> refused = {
        "http://other.example/download/Nightcap/Nightcap.exe",
        "http://127.0.0.2:" + std::to_string(server.Port()) + "/download/Nightcap/Nightcap.exe",
        "https://" + server.HostPort() + "/download/Nightcap/Nightcap.exe",
        "file:///etc/passwd",
        own,
        own + "/",
        own + "/update/Nightcap/update_md5.xml",
        own + "/download/Nightcap/Missing.exe",
        own + "/download/Nightcap/",
        own + "/download/Nightcap",
        own + "/download/Nightcap/../../server.db",
        own + "/download/Nightcap/Update/../../../server.db",
        own + "/download/Nightcap/%2e%2e/%2e%2e/server.db",
        own + "/download/Nightcap/%252e%252e/%252e%252e/server.db",
        own + "/download/Nightcap/..%2f..%2fserver.db",
        own + "/download/Nightcap//etc/passwd",
        own + "/download/Nightcap/Update%5c..%5c..%5cserver.db",
        own + "/download/..%2fNightcap/Nightcap.exe",
        own + "/download/Other/Nightcap.exe",
        own + "/download/Nightcap/Nightcap.exe%3Fx=1",
        own + "/download/Nightcap/" + std::string(3000, 'a'),
        "http://" + server.HostPort() + "@other.example/download/Nightcap/Nightcap.exe",
    };
    for (const std::string& url : refused) {
        const RawReply reply = RawRequest(server.Port(), "GET", Down(server, url));
        EXPECT_EQ(reply.status, 404) << url;
    }
    EXPECT_EQ(RawRequest(server.Port(), "GET", kDown).status, 404);
    for (const std::string& target :
         {"/download/Nightcap/../../server.db", "/download/%2e%2e/%2e%2e/server.db", "/download/Nightcap/%2e%2e/x",
          "/download/..%2f..%2fserver.db", "/update/..%2f..%2f/update_md5.xml", "/update/../update_md5.xml",
          "/update/Night%2fcap/update_md5.xml", "/update/Other/update_md5.xml"}) {
        EXPECT_EQ(RawRequest(server.Port(), "GET", target).status, 404) << target;
    }
    EXPECT_EQ(Count("SELECT coalesce(sum(count), 0) FROM daily WHERE kind = 2"), 1);
}

TEST_P(EndpointsTest, TheStatsPageShowsTheCountsToLoopbackOrWithTheToken) {
    {
        ServerProcess server(Data(), Args());
        server.Post(std::string(kVersionSign) + "?p_id=2&RequestType=2");
        server.Post(ReportTarget(kAddress, kCheck));
        const auto page = server.Get("/stats");
        ASSERT_TRUE(page);
        EXPECT_EQ(page->status, 200);
        EXPECT_NE(page->body.find("<svg"), std::string::npos);
        EXPECT_NE(page->body.find("<td>2013-06-26</td><td>1</td><td>1</td><td>0</td><td>1</td><td>0</td>"),
                  std::string::npos);
        EXPECT_EQ(page->body.find("Demo mode"), std::string::npos);
    }
    ServerProcess guarded(Data(), Args({"--token", "s3cret-token"}));
    EXPECT_EQ(guarded.Get("/stats")->status, 403);
    EXPECT_EQ(guarded.Get("/stats?token=s3cret")->status, 403);
    EXPECT_EQ(guarded.Get("/stats?token=s3cret-token")->status, 200);
    EXPECT_EQ(RawRequest(guarded.Port(), "GET", "/stats", "Authorization: Bearer s3cret-token\r\n").status, 200);
    EXPECT_EQ(RawRequest(guarded.Port(), "GET", "/stats", "Authorization: Bearer wrong\r\n").status, 403);
}

FOR_BOTH_BACKENDS(EndpointsTest);

}  // namespace
