// Several nightcap-server instances over one PostgreSQL database and one release store: exact counts under
// concurrent load on both, a publish that goes live for both at once, an instance killed and the database
// restarted in the middle of load, the bad database addresses and schemas a server must refuse, and a
// deployment moved over from SQLite.
#include "server/PgConnection.h"
#include "tests/server/BackendUnderTest.h"
#include "tests/server/ManifestReading.h"
#include "tests/server/NginxFront.h"
#include "tests/server/ServerProcess.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <mutex>
#include <set>
#include <thread>

using namespace server;

namespace fs = std::filesystem;

namespace {

constexpr char kVersionCheck[] = "/pm/sd_mgr/pts/web/sd_version_sign.php?p_id=2&RequestType=1";

std::string Address(int number) {
    char text[16];
    std::snprintf(text, sizeof text, "%012X", 0x100000000 + number);
    return text;
}

std::string ReportTarget(const std::string& address) {
    return "/pm/sd_mgr/pts/web/pm_usage.php?p_id=2&macAdd=" + address + "&chk=" + Md5Hex("2" + address + "7QKRT#2HW%");
}

// Waits for a condition other threads bring about; false when it has not come within the time.
bool WaitUntil(const std::function<bool()>& condition, int seconds = 30) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

std::set<std::string> StoredAddresses(const TestDatabase& database) {
    server::PgConnection connection(database.Address());
    const server::PgResult rows = connection.Execute("SELECT address FROM installs");
    std::set<std::string> addresses;
    for (int i = 0; i < rows.Rows(); ++i)
        addresses.insert(rows.Text(i, 0));
    return addresses;
}

// Reports from fresh addresses on a few kept-alive connections to each running instance, until stopped; what
// each instance answered is kept by status.
class ReportLoad {
public:
    ReportLoad(const std::vector<const ServerProcess*>& instances, int connectionsEach) : answered_(instances.size()) {
        for (size_t i = 0; i < instances.size(); ++i)
            for (int c = 0; c < connectionsEach; ++c)
                threads_.emplace_back([this, i, port = instances[i]->Port()] { Send(i, port); });
    }
    ~ReportLoad() { Stop(); }
    void Stop() {
        running_ = false;
        for (auto& thread : threads_)
            if (thread.joinable())
                thread.join();
    }
    int Accepted(size_t instance) const { return answered_[instance].accepted; }
    int Refused(size_t instance) const { return answered_[instance].refused; }
    int Other() const { return other_; }
    int Sent() const { return next_; }
    std::set<std::string> AcceptedAddresses() {
        std::lock_guard<std::mutex> lock(mutex_);
        return accepted_;
    }

private:
    struct Answered {
        std::atomic<int> accepted{0}, refused{0};
    };
    void Send(size_t instance, int port) {
        httplib::Client client("127.0.0.1", port);
        client.set_keep_alive(true);
        while (running_) {
            const std::string address = Address(next_++);
            const auto result = client.Post(ReportTarget(address));
            if (!result)
                return;  // the instance is gone
            if (result->status == 200) {
                std::lock_guard<std::mutex> lock(mutex_);
                accepted_.insert(address);
                ++answered_[instance].accepted;
            } else if (result->status == 503) {
                ++answered_[instance].refused;
                // As a client would: a refused report is sent again a little later, not at once.
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            } else {
                ++other_;
            }
        }
    }

    std::vector<Answered> answered_;
    std::atomic<bool> running_{true};
    std::atomic<int> next_{0}, other_{0};
    std::mutex mutex_;
    std::set<std::string> accepted_;
    std::vector<std::thread> threads_;
};

class SharedDatabaseTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(Publish("1.0").exitCode, 0); }
    fs::path Data() const { return scratch.Path() / "data"; }
    ToolRun Publish(const std::string& version) {
        ScratchFolder release;
        WriteTestRelease(release);
        release.Write("version.txt", version);
        std::vector<std::string> args = database.Args();
        args.insert(args.end(), {"--data", Data().string(), "--version", version, release.Path().string()});
        return RunPublish(args);
    }
    // The database's every report row counted once, and counted alike in its three places.
    void ExpectCountsAgree() const {
        const int64_t installs = database.Number("SELECT count(*) FROM installs");
        EXPECT_EQ(database.Number("SELECT sum(reports) FROM installs"), installs);
        EXPECT_EQ(database.Number("SELECT sum(count) FROM install_days"), installs);
        EXPECT_EQ(database.Number("SELECT sum(count) FROM daily WHERE kind = 3"), installs);
    }

    ScratchFolder scratch;
    TestDatabase database{Backend::Postgres, Data()};
};

TEST_F(SharedDatabaseTest, TwoInstancesStoreEveryReportOnceAndCountEveryAnswer) {
    // The second instance's clock is a minute ahead: the address both report moves to its time.
    ServerProcess first(Data(), database.Args()), second(Data(), database.Args(), kTestClock + 60);
    ASSERT_TRUE(first.Running() && second.Running());
    constexpr int kConnections = 64, kReports = 20000;
    const std::string shared = Address(kReports);
    std::atomic<int> next{0}, reports{0}, checks{0}, sharedReports{0}, failures{0};
    std::vector<std::thread> clients;
    for (int c = 0; c < kConnections; ++c) {
        clients.emplace_back([&, port = (c % 2 ? second : first).Port()] {
            httplib::Client client("127.0.0.1", port);
            client.set_keep_alive(true);
            auto ok = [&](const std::string& target, std::atomic<int>& answered) {
                const auto result = client.Post(target);
                ++(result && result->status == 200 ? answered : failures);
            };
            for (int n; (n = next++) < kReports;) {
                ok(ReportTarget(Address(n)), reports);
                if (n % 10 == 0) {
                    ok(kVersionCheck, checks);
                    ok(ReportTarget(shared), sharedReports);
                }
            }
        });
    }
    for (auto& client : clients)
        client.join();

    EXPECT_EQ(failures.load(), 0);
    EXPECT_EQ(reports.load(), kReports);
    EXPECT_EQ(database.Number("SELECT count(*) FROM installs"), kReports + 1);
    EXPECT_EQ(database.Number("SELECT count(*) FROM installs WHERE reports = 1"), kReports);
    EXPECT_EQ(database.Number("SELECT reports FROM installs WHERE address = '" + shared + "'"), sharedReports.load());
    EXPECT_EQ(database.Number("SELECT last_seen FROM installs WHERE address = '" + shared + "'"), kTestClock + 60);
    EXPECT_EQ(database.Number("SELECT sum(count) FROM install_days"), kReports + 1);
    EXPECT_EQ(database.Number("SELECT sum(count) FROM daily WHERE kind = 3"), kReports + sharedReports.load());
    EXPECT_EQ(database.Number("SELECT sum(count) FROM daily WHERE kind = 0"), checks.load());
}

// Readers take the digest list from one instance and the file it lists from the other, then the list again:
// when the two lists agree, no publish came between, and the file must be the one the list names. nginx in
// front, serving both from the store through the live link, is read the same way.
TEST_F(SharedDatabaseTest, APublishUnderLoadGoesLiveForEveryInstanceAtOnce) {
    ServerProcess first(Data(), database.Args()), second(Data(), database.Args());
    ASSERT_TRUE(first.Running() && second.Running());
    ScratchFolder front;
    NginxFront nginx(front.Path(), Data(), {first.Port(), second.Port()});
    ASSERT_TRUE(nginx.Running()) << nginx.ErrorLog();
    std::atomic<bool> publishing{true};
    std::atomic<int> matched{0}, faults{0};
    auto reader = [&](int listPort, int filePort) {
        httplib::Client lists("127.0.0.1", listPort), files("127.0.0.1", filePort);
        while (publishing) {
            const auto before = lists.Get("/update/Nightcap/update_md5.xml");
            const auto file = files.Get("/download/Nightcap/version.txt");
            const auto after = lists.Get("/update/Nightcap/update_md5.xml");
            if (!before || !file || !after || before->status != 200 || file->status != 200) {
                ++faults;
                continue;
            }
            if (before->body != after->body)
                continue;
            const DigestList list = DigestListOf(before->body);
            bool found = false;
            for (size_t i = 0; i < list.fileNames.size(); ++i)
                found |= list.fileNames[i] == u"version.txt" && Utf8(list.fileDigests[i]) == Md5Hex(file->body);
            ++(found ? matched : faults);
        }
    };
    std::vector<std::thread> readers;
    readers.emplace_back(reader, first.Port(), second.Port());
    readers.emplace_back(reader, second.Port(), first.Port());
    readers.emplace_back(reader, nginx.Port(), nginx.Port());
    for (const std::string version : {"2.0", "2.1", "2.2"}) {
        const ToolRun run = Publish(version);
        EXPECT_EQ(run.exitCode, 0) << run.output;
        // Live for both the moment publish is done, and for a static server in front through the live link.
        EXPECT_EQ(first.Get(kVersionCheck)->body, version);
        EXPECT_EQ(second.Get(kVersionCheck)->body, version);
        EXPECT_EQ(ReadFileBytes(Data() / "releases" / "Nightcap" / "live" / "files" / "version.txt"), version);
    }
    publishing = false;
    for (auto& thread : readers)
        thread.join();
    EXPECT_GT(matched.load(), 0);
    EXPECT_EQ(faults.load(), 0);
}

TEST_F(SharedDatabaseTest, AKilledInstanceLeavesTheOtherAnsweringAndNothingHalfWritten) {
    ServerProcess first(Data(), database.Args()), second(Data(), database.Args());
    ASSERT_TRUE(first.Running() && second.Running());
    ReportLoad load({&first, &second}, 8);
    ASSERT_TRUE(WaitUntil([&] { return load.Accepted(0) >= 500; }));
    first.Kill();
    const int beforeKill = load.Accepted(1);
    EXPECT_TRUE(WaitUntil([&] { return load.Accepted(1) >= beforeKill + 1000; }));
    load.Stop();

    EXPECT_EQ(load.Other(), 0);
    EXPECT_EQ(load.Refused(1), 0);
    const std::set<std::string> stored = StoredAddresses(database);
    const std::set<std::string> accepted = load.AcceptedAddresses();
    for (const std::string& address : accepted)
        EXPECT_EQ(stored.count(address), 1u) << address << " was answered but is not stored";
    EXPECT_LE(stored.size(), static_cast<size_t>(load.Sent()));
    ExpectCountsAgree();
}

TEST_F(SharedDatabaseTest, WhileTheDatabaseRestartsInstancesAnswer503AndRecoverByThemselves) {
    ServerProcess first(Data(), database.Args()), second(Data(), database.Args());
    ASSERT_TRUE(first.Running() && second.Running());
    ReportLoad load({&first, &second}, 4);
    ASSERT_TRUE(WaitUntil([&] { return load.Accepted(0) >= 200 && load.Accepted(1) >= 200; }));
    const std::string cluster = "sh " + std::string(NIGHTCAP_TEST_CLUSTER_SCRIPT) + " ";
    ASSERT_EQ(std::system((cluster + "stop-server " + TestClusterFolder().string()).c_str()), 0);
    // Once both have refused for a while, no answer from before the stop is still on its way.
    EXPECT_TRUE(WaitUntil([&] { return load.Refused(0) > 20 && load.Refused(1) > 20; }));
    const int acceptedWhileGone[] = {load.Accepted(0), load.Accepted(1)};
    EXPECT_TRUE(WaitUntil([&] { return load.Refused(0) > 40 && load.Refused(1) > 40; }));
    EXPECT_EQ(load.Accepted(0), acceptedWhileGone[0]);
    EXPECT_EQ(load.Accepted(1), acceptedWhileGone[1]);
    ASSERT_EQ(std::system((cluster + "start-server " + TestClusterFolder().string()).c_str()), 0);
    EXPECT_TRUE(WaitUntil([&] {
        return load.Accepted(0) > acceptedWhileGone[0] + 100 && load.Accepted(1) > acceptedWhileGone[1] + 100;
    }));
    load.Stop();

    EXPECT_EQ(load.Other(), 0);
    const std::set<std::string> stored = StoredAddresses(database);
    for (const std::string& address : load.AcceptedAddresses())
        EXPECT_EQ(stored.count(address), 1u) << address << " was answered but is not stored";
    ExpectCountsAgree();
}

TEST_F(SharedDatabaseTest, BadAddressesAndNewerSchemasAreRefusedAndNoPasswordIsShown) {
    const std::string password = "pw-Secret-7781";
    const std::string server = NIGHTCAP_SERVER_BIN;
    const std::string data = Data().string();
    const std::vector<std::string> refused = {
        "postgresql://nightcap:" + password + "@127.0.0.1:1/nightcap",              // nothing listens there
        "postgresql://nightcap:" + password + "%zz@127.0.0.1/nightcap",              // malformed
        "mysql://nightcap:" + password + "@127.0.0.1/nightcap",                      // not PostgreSQL
        database.Address() + "&password=" + password + "&dbname=no_such_database",  // no such database
    };
    for (const std::string& address : refused) {
        const ToolRun run = RunTool({server, "--data", data, "--database", address, "--port", "0"});
        EXPECT_EQ(run.exitCode, 1) << address;
        EXPECT_NE(run.output.find("cannot open the database"), std::string::npos) << run.output;
        EXPECT_EQ(run.output.find(password), std::string::npos) << run.output;
        const ToolRun publish = RunTool({NIGHTCAP_PUBLISH_BIN, "--data", data, "--database", address, "--product",
                                         "Nightcap", "--ask-update", "yes"});
        EXPECT_EQ(publish.exitCode, 1) << address;
        EXPECT_EQ(publish.output.find(password), std::string::npos) << publish.output;
    }

    // An empty address (an unset variable) never quietly means a database of the machine's own.
    EXPECT_EQ(RunTool({server, "--data", data, "--database", ""}).exitCode, 2);

    // The address, password and all, stays out of the process list, from the environment or the command line.
    const std::string withPassword = database.Address() + "&password=" + password;
    for (const bool fromEnvironment : {true, false}) {
        ServerProcess running(Data(), fromEnvironment ? std::vector<std::string>{} : std::vector<std::string>{"--database", withPassword},
                              kTestClock, {{"NIGHTCAP_SERVER_DATABASE", withPassword}});
        ASSERT_TRUE(running.Running());
        EXPECT_EQ(running.Get(kVersionCheck)->body, "1.0");
        EXPECT_EQ(ReadFileBytes("/proc/" + std::to_string(running.Pid()) + "/cmdline").find(password),
                  std::string::npos);
    }

    // A database a newer server has moved on is left alone, by the server and by publish, on either storage.
    ASSERT_TRUE(database.Execute("UPDATE schema_version SET version = 99"));
    const ToolRun newer = RunTool({server, "--data", data, "--database", database.Address(), "--port", "0"});
    EXPECT_EQ(newer.exitCode, 1);
    EXPECT_NE(newer.output.find("schema version 99"), std::string::npos) << newer.output;
    EXPECT_EQ(Publish("3.0").exitCode, 1);
    EXPECT_EQ(database.Number("SELECT version FROM schema_version"), 99);
    ScratchFolder sqlite;
    TestDatabase file(Backend::Sqlite, sqlite.Path());
    ASSERT_TRUE(file.Execute("PRAGMA user_version = 99"));
    const ToolRun newerFile = RunTool({server, "--data", sqlite.Path().string(), "--port", "0"});
    EXPECT_EQ(newerFile.exitCode, 1);
    EXPECT_NE(newerFile.output.find("schema version 99"), std::string::npos) << newerFile.output;
    EXPECT_EQ(file.Number("SELECT count(*) FROM sqlite_master"), 0);
}

// What the servers answered on SQLite they answer the same after the move, counts, releases and change text
// (tabs, line breaks and backslashes in it) included, and publishing goes on from there.
TEST(MoveToPostgresTest, ADeploymentMovesOverWholeIntoAnEmptyDatabaseOnly) {
    ScratchFolder scratch, release;
    const fs::path data = scratch.Path() / "data";
    TestDatabase target(Backend::Postgres, data);
    WriteTestRelease(release);
    auto publish = [&](std::vector<std::string> args) {
        args.insert(args.end(), {"--data", data.string()});
        return RunPublish(args);
    };
    ASSERT_EQ(publish({"--version", "1.0", "--notes", "first\tline\nsecond \\ line", release.Path().string()}).exitCode, 0);
    ASSERT_EQ(publish({"--version", "1.1", release.Path().string()}).exitCode, 0);
    ASSERT_EQ(publish({"--product", "Nightcap", "--ask-update", "yes"}).exitCode, 0);
    std::string stats, log;
    {
        ServerProcess sqlite(data);
        for (const std::string& address : {Address(1), Address(2), Address(2)})
            ASSERT_EQ(sqlite.Post(ReportTarget(address))->status, 200);
        ASSERT_EQ(sqlite.Post(kVersionCheck)->body, "1.1");
        stats = sqlite.Get("/stats")->body;
        log = sqlite.Get("/update/Nightcap/update_log.xml")->body;
    }

    const std::vector<std::string> move = {NIGHTCAP_MOVE_BIN, "--data", data.string(), "--database", target.Address()};
    const ToolRun moved = RunTool(move);
    ASSERT_EQ(moved.exitCode, 0) << moved.output;
    ServerProcess postgres(data, target.Args());
    EXPECT_EQ(postgres.Get("/stats")->body, stats);
    EXPECT_EQ(postgres.Get("/update/Nightcap/update_log.xml")->body, log);
    EXPECT_EQ(postgres.Post("/pm/sd_mgr/pts/web/sd_version_sign.php?p_id=2&RequestType=2")->body, "1");
    std::vector<std::string> next = target.Args();
    next.insert(next.end(), {"--version", "1.2", release.Path().string()});
    EXPECT_EQ(publish(next).exitCode, 0);
    EXPECT_EQ(postgres.Post(kVersionCheck)->body, "1.2");
    EXPECT_EQ(fs::read_symlink(data / "releases" / "Nightcap" / "live"), "3");

    const ToolRun again = RunTool(move);
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_NE(again.output.find("holds data already"), std::string::npos) << again.output;
}

}  // namespace
