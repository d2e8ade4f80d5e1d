// A whole update under Wine as a user makes it: the real Update.exe with XLUE.dll and View.xar in a test
// installation whose product (a stand-in) runs, against the loopback server, driven by the package's
// buttons. After it, the installation holds the new files, copy.bat has replaced Update.exe once the
// updater ended, and the product runs again; a failed download leaves every installed file as it was.
#include "tests/update/PackageUpdate.h"

#include <gtest/gtest.h>

namespace {

class UpdateEndToEnd : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(server_.Port(), 0) << "no loopback server"; }

    LoopbackServer server_;
};

TEST_F(UpdateEndToEnd, ChangedFilesLandTheUpdaterIsReplacedAndTheProductRunsAgain) {
    Installation install(server_, Installation::kRealUpdater);
    const std::string newUpdater = "new updater " + Bytes(2000, 'u');
    install.List({{"a.dll", "NULL", "old a", Bytes(300000, 'a')},
                  {"b.png", "skin", "old b", Bytes(1500, 'b')},
                  {"same.txt", "NULL", "same", "same"},
                  {"Update.exe", "Update", "", newUpdater}});
    UpdateThroughPackage(install, PackageOutcome::Done);
    // Update.exe is built without a release key: it never asks for a signature.
    EXPECT_TRUE(server_.Requests(install.ManifestPath("update_md5.xml.sig")).empty());
    EXPECT_EQ(Md5(FileText(install / L"a.dll")), Md5(Bytes(300000, 'a')));
    EXPECT_EQ(Md5(FileText(install / L"skin\\b.png")), Md5(Bytes(1500, 'b')));
    EXPECT_EQ(FileText(install / L"same.txt"), "same");
    EXPECT_TRUE(WaitUntil([&] { return FileText(install.Update() + L"\\Update.exe") == newUpdater; }, 15000))
        << "Update.exe was not replaced";
    EXPECT_TRUE(WaitUntil([&] { return ProductWindow(install.Product()) != nullptr; })) << "product not restarted";
}

// A download cut halfway, or one whose server takes the request and says nothing: the pass fails within the
// download stall limit, well before the package's own time-out, and leaves every file as it was.
TEST_F(UpdateEndToEnd, AFailedDownloadLeavesTheInstallationAsItWas) {
    for (bool stalled : {false, true}) {
        SCOPED_TRACE(stalled ? "stalled" : "cut");
        Installation install(server_, Installation::kRealUpdater);
        install.List({{"a.dll", "NULL", "old a", Bytes(20000, 'a')},
                      {"cut.dll", "NULL", "old cut", Bytes(40000, 'c')},
                      {"Update.exe", "Update", "", "new updater"}});
        const std::string target = install.DownloadTarget("NULL", "cut.dll");
        ASSERT_TRUE(stalled ? server_.SetHeldReply(target, Bytes(40000, 'c'))
                            : server_.SetCutReply(target, Bytes(40000, 'c'), 10000));
        const std::string ownUpdater = FileText(install.Update() + L"\\Update.exe");
        UpdateThroughPackage(install, PackageOutcome::Failed);
        server_.Release(target);
        EXPECT_EQ(FileText(install / L"a.dll"), "old a");
        EXPECT_EQ(FileText(install / L"cut.dll"), "old cut");
        EXPECT_EQ(Md5(FileText(install.Update() + L"\\Update.exe")), Md5(ownUpdater));
        EXPECT_TRUE(WaitUntil([&] { return ProductWindow(install.Product()) != nullptr; })) << "product not restarted";
    }
}

}  // namespace
