// A publish that died between staging and going live (kill -9, a machine gone down) leaves its staged rows
// and folders; the server's start and the next publish remove them, never the live release, and never while
// a publish of the product runs.
#include "server/AbandonedPublishes.h"
#include "server/ReleaseStore.h"
#include "server/SqliteStorage.h"
#include "tests/server/ServerProcess.h"

#include <gtest/gtest.h>

#include <sqlite3.h>

using namespace server;

namespace fs = std::filesystem;

namespace {

class AbandonedPublishTest : public ::testing::Test {
protected:
    void SetUp() override {
        release.Write("Nightcap.exe", "MZ program");
        release.Write("config.ini", "[Product]\r\n\r\nname=Nightcap\r\n");
        ASSERT_EQ(Publish("1.002").exitCode, 0);
        live = ReleaseFolder(Data(), "Nightcap", 1);
        ASSERT_TRUE(fs::is_directory(live));
    }
    fs::path Data() const { return scratch.Path() / "data"; }
    ToolRun Publish(const std::string& version) const {
        return RunPublish({"--data", Data().string(), "--version", version, release.Path().string()});
    }
    // What a publish killed while copying leaves, and one killed after renaming its folder: staged rows, a
    // ".staging-N" folder with part of the files, and a complete folder of a release that never went live.
    void LeaveDeadPublishes() {
        SqliteStorage storage;
        ASSERT_TRUE(storage.Open(DatabasePath(Data()).string()));
        const int64_t copying = storage.StageRelease("Nightcap", 2, {"today", "1.003", "notes"}).id;
        const int64_t renamed = storage.StageRelease("Nightcap", 2, {"today", "1.004", "notes"}).id;
        ASSERT_GT(copying, 0);
        ASSERT_GT(renamed, 0);
        leftovers = {StagingFolder(Data(), "Nightcap", copying), ReleaseFolder(Data(), "Nightcap", renamed)};
        for (const fs::path& folder : leftovers) {
            fs::create_directories(folder / "files");
            std::ofstream(folder / "files" / "Nightcap.exe") << std::string(100000, 'x');
        }
    }
    int StagedRows() const {
        sqlite3* db = nullptr;
        int count = -1;
        sqlite3_open_v2(DatabasePath(Data()).c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_stmt* query = nullptr;
        if (sqlite3_prepare_v2(db, "SELECT count(*) FROM releases WHERE seq IS NULL", -1, &query, nullptr) ==
                SQLITE_OK &&
            sqlite3_step(query) == SQLITE_ROW)
            count = sqlite3_column_int(query, 0);
        sqlite3_finalize(query);
        sqlite3_close(db);
        return count;
    }
    bool LeftoversThere() const {
        return std::all_of(leftovers.begin(), leftovers.end(), [](const fs::path& f) { return fs::exists(f); });
    }
    bool LeftoversGone() const {
        return std::none_of(leftovers.begin(), leftovers.end(), [](const fs::path& f) { return fs::exists(f); });
    }

    ScratchFolder scratch;
    ScratchFolder release;
    fs::path live;
    std::vector<fs::path> leftovers;
};

TEST_F(AbandonedPublishTest, TheServersStartRemovesThemUnlessAPublishIsRunning) {
    LeaveDeadPublishes();
    {
        // A publish of the product is running: its staging is not touched.
        const auto running = PublishLock::Take(Data(), "Nightcap", false);
        ASSERT_TRUE(running);
        ServerProcess server(Data());
        ASSERT_TRUE(server.Running());
        EXPECT_TRUE(LeftoversThere());
        EXPECT_EQ(StagedRows(), 2);
    }
    ServerProcess server(Data());
    ASSERT_TRUE(server.Running());
    EXPECT_TRUE(LeftoversGone());
    EXPECT_EQ(StagedRows(), 0);
    EXPECT_TRUE(fs::is_directory(live));
    EXPECT_EQ(server.Get("/pm/sd_mgr/pts/web/sd_version_sign.php?p_id=2&RequestType=1")->body, "1.002");
    EXPECT_EQ(server.Get("/download/Nightcap/Nightcap.exe")->body, "MZ program");
}

TEST_F(AbandonedPublishTest, TheNextPublishRemovesThemAndGoesLive) {
    LeaveDeadPublishes();
    const ToolRun run = Publish("1.003");
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find("left by a publish that died"), std::string::npos) << run.output;
    EXPECT_TRUE(LeftoversGone());
    EXPECT_EQ(StagedRows(), 0);
    EXPECT_TRUE(fs::is_directory(live));
    ServerProcess server(Data());
    EXPECT_EQ(server.Get("/pm/sd_mgr/pts/web/sd_version_sign.php?p_id=2&RequestType=1")->body, "1.003");
}

}  // namespace
