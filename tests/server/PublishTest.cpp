// nightcap-publish: the manifests it writes (read back as the updater reads them), what it refuses, publishes
// racing each other and readers, and a server restart.
#include "tests/server/ManifestReading.h"
#include "tests/server/ServerProcess.h"
#include "update/manifest/FilePaths.h"
#include "update/manifest/ManifestText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <thread>

using namespace update;

namespace fs = std::filesystem;

namespace {

// A release folder like the installer's payload tree.
void WriteRelease(const ScratchFolder& folder, const std::string& version, size_t bigSize = 1000) {
    folder.Write("Nightcap.exe", "Nightcap " + version);
    folder.Write("Uninstall.exe", "uninstaller");
    folder.Write("config.ini", "[Product]\r\n\r\nname=Nightcap\r\n\r\n[set]\r\ntime=0\r\n");
    folder.Write("version.txt", version);
    folder.Write("update/Update.exe", "updater " + version);
    folder.Write("update/XLUE.dll", "engine");
    folder.Write("update/skin/deep/View.xar", std::string(bigSize, static_cast<char>('a' + version.back() % 26)));
}

class PublishTest : public ::testing::Test {
protected:
    fs::path Data() const { return scratch.Path() / "data"; }
    ToolRun Publish(const ScratchFolder& release, const std::string& version, std::vector<std::string> more = {}) {
        std::vector<std::string> args = {"--data", Data().string(), "--version", version};
        args.insert(args.end(), more.begin(), more.end());
        args.push_back(release.Path().string());
        return RunPublish(args);
    }
    ScratchFolder scratch;
};

TEST_F(PublishTest, TheUpdaterFindsEveryFileOfTheDigestListWhereItLooks) {
    ScratchFolder release;
    WriteRelease(release, "1.002");
    const ToolRun run = Publish(release, "1.002");
    ASSERT_EQ(run.exitCode, 0) << run.output;
    ServerProcess server(Data());
    const auto xml = server.Get("/update/Nightcap/update_md5.xml");
    ASSERT_TRUE(xml);
    ASSERT_EQ(xml->status, 200);
    const DigestList list = DigestListOf(xml->body);
    std::map<std::string, std::string> digests;
    for (size_t i = 0; i < list.fileNames.size(); ++i)
        digests[Utf8(list.fileNames[i])] = Utf8(list.fileDigests[i]);
    // The settings file is left out: an update must not replace the user's settings.
    ASSERT_EQ(digests.size(), 6u);
    EXPECT_EQ(digests.count("config.ini"), 0u);
    EXPECT_EQ(digests["Nightcap.exe"], Md5Hex("Nightcap 1.002"));
    EXPECT_EQ(digests["Update.exe"], Md5Hex("updater 1.002"));
    EXPECT_EQ(Utf8(LocalPath(list, u"Nightcap.exe")), "..\\Nightcap.exe");
    // The updater's own executable is staged in Temp\Update, where copy.bat takes it from.
    EXPECT_EQ(Utf8(StagingPath(list, u"Update.exe")), "..\\Update\\Temp\\Update\\Update.exe");
    EXPECT_EQ(Utf8(LocalPath(list, u"View.xar")), "..\\Update/skin/deep\\View.xar");
    // Every listed file comes from the download counter at the address the updater builds, with its digest.
    const std::u16string host = FromAscii(server.HostPort());
    for (const std::u16string& name : list.fileNames) {
        const std::string address = Utf8(DownloadAddress(host, host, RemotePath(u"Nightcap", list, name), name));
        const std::string prefix = "http://" + server.HostPort();
        ASSERT_EQ(address.rfind(prefix, 0), 0u) << address;
        const auto body = server.Get(address.substr(prefix.size()));
        ASSERT_TRUE(body);
        EXPECT_EQ(body->status, 200) << address;
        EXPECT_EQ(Md5Hex(body->body), digests[Utf8(name)]) << address;
    }
}

TEST_F(PublishTest, EachPublishPutsItsEntryInFrontOfTheChangeLog) {
    ScratchFolder first, second;
    WriteRelease(first, "1.001");
    WriteRelease(second, "1.002");
    ASSERT_EQ(Publish(first, "1.001", {"--date", "2013-05-01", "--notes", "First release"}).exitCode, 0);
    ASSERT_EQ(Publish(second, "1.002", {"--date", "2013-06-01", "--notes", "Weather <panel> & faster\nSecond line"})
                  .exitCode,
              0);
    ServerProcess server(Data());
    EXPECT_EQ(Utf8(ChangeLogOf(server.Get("/update/Nightcap/update_log.xml")->body)),
              "2013-06-01(1.002)\nWeather <panel> & faster\nSecond line\n\n2013-05-01(1.001)\nFirst release");
    EXPECT_EQ(server.Get("/pm/sd_mgr/pts/web/sd_version_sign.php?p_id=2&RequestType=1")->body, "1.002");
}

// Only the newest two releases keep their files in the store; older ones lose them with the next publish,
// while the change log still lists every release and the live one is served as before.
TEST_F(PublishTest, OlderReleasesLoseTheirFilesButNotTheirEntries) {
    std::vector<std::unique_ptr<ScratchFolder>> releases;
    for (const char* version : {"1.001", "1.002", "1.003", "1.004"}) {
        releases.push_back(std::make_unique<ScratchFolder>());
        WriteRelease(*releases.back(), version);
        const ToolRun run = Publish(*releases.back(), version, {"--notes", std::string("release ") + version});
        ASSERT_EQ(run.exitCode, 0) << run.output;
    }
    std::set<std::string> kept;
    for (const auto& entry : fs::directory_iterator(Data() / "releases" / "Nightcap"))
        kept.insert(entry.path().filename().string());
    EXPECT_EQ(kept, (std::set<std::string>{"3", "4", "live"}));
    EXPECT_EQ(fs::read_symlink(Data() / "releases" / "Nightcap" / "live"), "4");

    ServerProcess server(Data());
    EXPECT_EQ(server.Get("/download/Nightcap/version.txt")->body, "1.004");
    const std::string log = Utf8(ChangeLogOf(server.Get("/update/Nightcap/update_log.xml")->body));
    for (const char* version : {"1.001", "1.002", "1.003", "1.004"})
        EXPECT_NE(log.find(std::string("release ") + version), std::string::npos) << version;
}

TEST_F(PublishTest, AReleaseThatCouldEscapeOrConfuseTheUpdaterIsRefusedWhole) {
    ScratchFolder good;
    WriteRelease(good, "1.0");
    ASSERT_EQ(Publish(good, "1.0").exitCode, 0);
    const ScratchFolder outside;
    outside.Write("secret.txt", "secret");

    auto refused = [&](const std::function<void(const ScratchFolder&)>& shape, const std::string& version,
                       std::vector<std::string> more = {}) {
        ScratchFolder release;
        WriteRelease(release, "2.0");
        shape(release);
        return Publish(release, version, more);
    };
    const std::vector<std::pair<std::string, ToolRun>> runs = {
        {"backslash name", refused([](const ScratchFolder& r) { r.Write("..\\..\\evil.exe", "x"); }, "2.0")},
        {"folder with a colon", refused([](const ScratchFolder& r) { r.Write("C:/evil.exe", "x"); }, "2.0")},
        {"blank in a name", refused([](const ScratchFolder& r) { r.Write("my file.exe", "x"); }, "2.0")},
        {"device name", refused([](const ScratchFolder& r) { r.Write("update/nul.txt", "x"); }, "2.0")},
        {"link to the outside", refused([&](const ScratchFolder& r) {
             fs::create_symlink(outside.Path() / "secret.txt", r.Path() / "update" / "secret.txt");
         }, "2.0")},
        {"linked folder", refused([&](const ScratchFolder& r) {
             fs::create_directory_symlink(outside.Path(), r.Path() / "outside");
         }, "2.0")},
        {"one name twice", refused([](const ScratchFolder& r) { r.Write("update/nightcap.EXE", "x"); }, "2.0")},
        {"version already live", refused([](const ScratchFolder&) {}, "1.0")},
        {"version that is a path", refused([](const ScratchFolder&) {}, "../2.0")},
        {"product that is a path", refused([](const ScratchFolder&) {}, "2.0", {"--product", "../../x"})},
        {"product id of another product", refused([](const ScratchFolder&) {}, "2.0", {"--product", "Other"})},
    };
    for (const auto& [what, run] : runs) {
        EXPECT_NE(run.exitCode, 0) << what;
        EXPECT_FALSE(run.output.empty()) << what;
    }
    ScratchFolder empty;
    empty.Write("config.ini", "[Product]\r\nname=Nightcap\r\n");
    EXPECT_NE(Publish(empty, "3.0").exitCode, 0);
    EXPECT_NE(RunPublish({"--data", Data().string(), "--version", "3.0", (scratch.Path() / "missing").string()}).exitCode,
              0);

    // Nothing changed: 1.0 is live, the store holds its one release and no leftovers, nothing went outside.
    ServerProcess server(Data());
    EXPECT_EQ(server.Get("/pm/sd_mgr/pts/web/sd_version_sign.php?p_id=2&RequestType=1")->body, "1.0");
    const std::string log = Utf8(ChangeLogOf(server.Get("/update/Nightcap/update_log.xml")->body));
    EXPECT_EQ(std::count(log.begin(), log.end(), '('), 1) << log;
    EXPECT_NE(log.find("(1.0)\nVersion 1.0"), std::string::npos) << log;
    std::set<std::string> stored;
    for (const auto& entry : fs::directory_iterator(Data() / "releases" / "Nightcap"))
        stored.insert(entry.path().filename().string());
    EXPECT_EQ(stored, std::set<std::string>({"1", "live"}));
    EXPECT_EQ(fs::read_symlink(Data() / "releases" / "Nightcap" / "live"), "1");
    std::set<std::string> beside;
    for (const auto& entry : fs::directory_iterator(scratch.Path()))
        beside.insert(entry.path().filename().string());
    EXPECT_EQ(beside, std::set<std::string>({"data", "data.port"}));
}

TEST_F(PublishTest, ConcurrentPublishesAndReadersNeverSeeHalfARelease) {
    const std::vector<std::string> versions = {"2.0", "2.1", "2.2", "2.3"};
    ScratchFolder base;
    WriteRelease(base, "1.0");
    ASSERT_EQ(Publish(base, "1.0").exitCode, 0);
    std::vector<std::unique_ptr<ScratchFolder>> releases;
    std::set<std::string> known = {"1.0"};
    for (const std::string& version : versions) {
        releases.push_back(std::make_unique<ScratchFolder>());
        WriteRelease(*releases.back(), version, 300000);
        known.insert(version);
    }
    std::set<std::string> knownDigests;
    for (const std::string& version : known)
        knownDigests.insert(Md5Hex(version));

    ServerProcess server(Data());
    std::atomic<bool> publishing{true};
    std::atomic<int> reads{0}, faults{0};
    auto reader = [&] {
        httplib::Client client("127.0.0.1", server.Port());
        while (publishing) {
            const auto manifest = client.Get("/update/Nightcap/update_md5.xml");
            const auto check = client.Get("/pm/sd_mgr/pts/web/sd_version_sign.php?p_id=2&RequestType=1");
            const auto marker = client.Get("/download/Nightcap/version.txt");
            if (!manifest || !check || !marker || manifest->status != 200 || check->status != 200 ||
                marker->status != 200) {
                ++faults;
                continue;
            }
            const DigestList list = DigestListOf(manifest->body);
            bool whole = list.fileNames.size() == 6;
            for (size_t i = 0; whole && i < list.fileNames.size(); ++i)
                whole = list.fileNames[i] != u"version.txt" || knownDigests.count(Utf8(list.fileDigests[i]));
            if (!whole || !known.count(check->body) || !known.count(marker->body))
                ++faults;
            ++reads;
        }
    };
    std::vector<std::thread> readers;
    for (int i = 0; i < 3; ++i)
        readers.emplace_back(reader);
    std::vector<ToolRun> runs(versions.size());
    std::vector<std::thread> publishers;
    for (size_t i = 0; i < versions.size(); ++i)
        publishers.emplace_back([&, i] { runs[i] = Publish(*releases[i], versions[i]); });
    for (auto& publisher : publishers)
        publisher.join();
    publishing = false;
    for (auto& thread : readers)
        thread.join();

    for (const ToolRun& run : runs)
        EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_GT(reads.load(), 0);
    EXPECT_EQ(faults.load(), 0);
    // Every release went live once; the one that went live last is what every reader sees now.
    // Entries "date(version)\ncontent", newest first.
    const std::string log = Utf8(ChangeLogOf(server.Get("/update/Nightcap/update_log.xml")->body));
    std::vector<std::string> logged;
    for (size_t at = log.find('('); at != std::string::npos; at = log.find('(', at + 1))
        logged.push_back(log.substr(at + 1, log.find(')', at) - at - 1));
    ASSERT_EQ(logged.size(), 5u);
    EXPECT_EQ(std::set<std::string>(logged.begin(), logged.end()), known);
    EXPECT_EQ(logged.back(), "1.0");
    EXPECT_EQ(server.Get("/pm/sd_mgr/pts/web/sd_version_sign.php?p_id=2&RequestType=1")->body, logged.front());
    EXPECT_EQ(server.Get("/download/Nightcap/version.txt")->body, logged.front());
}

TEST_F(PublishTest, ARestartedServerKeepsReleasesAndCounts) {
    ScratchFolder release;
    WriteRelease(release, "1.002");
    ASSERT_EQ(Publish(release, "1.002").exitCode, 0);
    std::string pageBefore, manifestBefore;
    {
        ServerProcess server(Data());
        server.Post("/pm/sd_mgr/pts/web/sd_version_sign.php?p_id=2&f_id=&RequestType=1");
        server.Post("/pm/sd_mgr/pts/web/sd_version_sign.php?p_id=2&RequestType=2");
        server.Post("/pm/sd_mgr/pts/web/pm_usage.php?p_id=2&macAdd=001122AABBCC&chk=e65ef01f63c23f4e52d980babc88048e");
        server.Get("/pm/sd_mgr/pts/web/pm_down.php?p_id=1&p_url=http://" + server.HostPort() +
                   "/download/Nightcap/Nightcap.exe");
        pageBefore = server.Get("/stats")->body;
        manifestBefore = server.Get("/update/Nightcap/update_md5.xml")->body;
        EXPECT_EQ(server.Stop(), 0);  // SIGTERM ends it cleanly
    }
    ServerProcess again(Data());
    ASSERT_TRUE(again.Running());
    EXPECT_EQ(again.Get("/stats")->body, pageBefore);
    EXPECT_NE(pageBefore.find("Installs 1, reports 1, version checks 1, pings 1, downloads 1"), std::string::npos);
    EXPECT_EQ(again.Get("/update/Nightcap/update_md5.xml")->body, manifestBefore);
    EXPECT_EQ(again.Get("/pm/sd_mgr/pts/web/sd_version_sign.php?p_id=2&RequestType=1")->body, "1.002");
}

}  // namespace

namespace {

// A program file whose headers name the machine it was built for, as the build's programs do.
std::string ProgramBytes(uint16_t machine, const std::string& body) {
    std::string bytes(0x80, '\0');
    bytes[0] = 'M';
    bytes[1] = 'Z';
    bytes[0x3c] = '\x80';
    bytes += std::string("PE\0\0", 4);
    bytes += static_cast<char>(machine & 0xff);
    bytes += static_cast<char>(machine >> 8);
    return bytes + body;
}

void WriteProgramRelease(const ScratchFolder& folder, uint16_t machine, const std::string& version) {
    WriteRelease(folder, version);
    folder.Write("Nightcap.exe", ProgramBytes(machine, "Nightcap " + version));
    folder.Write("update/Update.exe", ProgramBytes(machine, "updater " + version));
}

constexpr uint16_t kI386 = 0x14c, kAmd64 = 0x8664;

}  // namespace

// The 64-bit programs have a channel of their own: a newer 32-bit release is never offered or given to them,
// and a release whose programs are of the other or of both architectures does not go out at all.
TEST_F(PublishTest, EachArchitectureIsOfferedAndGivenOnlyItsOwnPrograms) {
    ScratchFolder x86, x64, x86Next, mixed;
    WriteProgramRelease(x86, kI386, "1.002");
    WriteProgramRelease(x64, kAmd64, "1.002");
    WriteProgramRelease(x86Next, kI386, "1.003");
    WriteProgramRelease(mixed, kI386, "1.004");
    mixed.Write("update/XLUE.dll", ProgramBytes(kAmd64, "engine"));
    ASSERT_EQ(Publish(x86, "1.002").exitCode, 0);
    ASSERT_EQ(Publish(x64, "1.002").exitCode, 0);
    ASSERT_EQ(Publish(x86Next, "1.003").exitCode, 0);
    const ToolRun mixedRun = Publish(mixed, "1.004");
    EXPECT_NE(mixedRun.exitCode, 0);
    EXPECT_NE(mixedRun.output.find("XLUE.dll"), std::string::npos) << mixedRun.output;
    EXPECT_NE(Publish(x64, "1.005", {"--arch", "x86"}).exitCode, 0);

    ServerProcess server(Data());
    auto versionOf = [&server](const std::string& id) {
        const auto reply = server.Get("/pm/sd_mgr/pts/web/sd_version_sign.php?p_id=" + id + "&f_id=&RequestType=1");
        return reply && reply->status == 200 ? reply->body : std::string("(no answer)");
    };
    EXPECT_EQ(versionOf("2"), "1.003");
    EXPECT_EQ(versionOf("3"), "1.002");
    for (const auto& [product, expected] : {std::pair{"Nightcap", &x86Next}, std::pair{"Nightcap-x64", &x64}}) {
        const auto xml = server.Get(std::string("/update/") + product + "/update_md5.xml");
        ASSERT_TRUE(xml && xml->status == 200) << product;
        const DigestList list = DigestListOf(xml->body);
        const auto at = std::find(list.fileNames.begin(), list.fileNames.end(), u"Nightcap.exe");
        ASSERT_NE(at, list.fileNames.end());
        const std::string digest = Utf8(list.fileDigests[size_t(at - list.fileNames.begin())]);
        EXPECT_EQ(digest, Md5Hex(ReadFileBytes(expected->Path() / "Nightcap.exe"))) << product;
        const auto file = server.Get(std::string("/download/") + product + "/Nightcap.exe");
        ASSERT_TRUE(file && file->status == 200) << product;
        EXPECT_EQ(Md5Hex(file->body), digest) << product;
    }
}
