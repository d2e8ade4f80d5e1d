// The deployment with nginx in front (server/deploy/nginx-nightcap.conf): the programs' requests get the
// server's answers through it, the download counter still knows the host, ranges pass through, and nginx holds
// the limits at the edge. Skipped where nginx is not installed (tools/install-deps.sh installs it).
#include "tests/server/NginxFront.h"
#include "tests/server/RawConnection.h"
#include "tests/server/ServerProcess.h"

#include <gtest/gtest.h>

namespace {

constexpr char kCheck[] = "/pm/sd_mgr/pts/web/sd_version_sign.php?p_id=2&RequestType=1";

TEST(BehindNginxTest, TheProgramsRequestsAreAnsweredAsWithoutItAndItsLimitsHold) {
    if (NginxFront::Program().empty())
        GTEST_SKIP() << "nginx is not installed";
    ScratchFolder scratch, release, front;
    const std::string updater = WriteTestRelease(release);
    const auto data = scratch.Path() / "data";
    ASSERT_EQ(RunPublish({"--data", data.string(), "--version", "1.002", release.Path().string()}).exitCode, 0);
    ServerProcess server(data, {"--per-address", "0", "--token", "s3cret-token"});
    ASSERT_TRUE(server.Running());
    NginxFront nginx(front.Path(), data, {server.Port()});
    ASSERT_TRUE(nginx.Running()) << nginx.ErrorLog();
    const int port = nginx.Port();

    // The product's POST without a body (nor a Content-Length), and a GET.
    EXPECT_EQ(RawRequest(port, "POST", kCheck).body, "1.002");
    EXPECT_EQ(RawRequest(port, "GET", kCheck).body, "1.002");
    EXPECT_EQ(RawRequest(port, "GET", "/pm/sd_mgr/pts/web/pm_down.php?p_id=1&p_url=http://127.0.0.1:" +
                                          std::to_string(port) + "/download/Nightcap/Nightcap.exe")
                  .body,
              "MZ program");
    const RawReply whole = RawRequest(port, "GET", "/download/Nightcap/Update/Update.exe");
    EXPECT_TRUE(whole.body == updater);
    RawConnection part(port);
    part.Send("GET /download/Nightcap/Update/Update.exe HTTP/1.1\r\nHost: x\r\nRange: bytes=1000-1999\r\n"
              "Connection: close\r\n\r\n");
    const std::string partial = part.ReadToEnd();
    EXPECT_EQ(StatusOf(partial), 206);
    EXPECT_TRUE(ContentOf(partial) == updater.substr(1000, 1000));
    // Every request reaches the server from loopback: the stats page wants its token.
    EXPECT_EQ(RawRequest(port, "GET", "/stats").status, 403);
    EXPECT_EQ(RawRequest(port, "GET", "/stats?token=s3cret-token").status, 200);

    // The store's files come from the live release folder only: no way out of it.
    for (const char* target : {"/download/Nightcap/../../server.db", "/download/Nightcap/%2e%2e/%2e%2e/server.db",
                               "/download/Nightcap/..%2f..%2fserver.db", "/update/Nightcap/..%2f..%2fserver.db"})
        EXPECT_EQ(RawRequest(port, "GET", target).status, 404) << target;

    RawConnection body(port);
    body.Send("POST " + std::string(kCheck) + " HTTP/1.1\r\nHost: x\r\nContent-Length: 209715200\r\n\r\n");
    EXPECT_EQ(StatusOf(body.ReadAnswers(1)), 413);
    RawConnection line(port);
    line.Send("GET /" + std::string(64 * 1024, 'a') + " HTTP/1.1\r\n\r\n");
    EXPECT_EQ(StatusOf(line.ReadAnswers(1)), 414);

    // nginx serves the live release's files and digest list from the store itself, with no server left.
    server.Stop();
    EXPECT_TRUE(RawRequest(port, "GET", "/download/Nightcap/Update/Update.exe").body == updater);
    EXPECT_EQ(RawRequest(port, "GET", "/update/Nightcap/update_md5.xml").body,
              ReadFileBytes(data / "releases" / "Nightcap" / "1" / "update_md5.xml"));
}

}  // namespace
