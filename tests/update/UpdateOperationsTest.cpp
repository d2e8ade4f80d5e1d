// The update operations as the updater runs them, in a test installation under Wine against the loopback
// server: the driver (UpdaterDriver.cpp) is the installation's update\Update.exe, a stand-in plays the
// running product, and copy.bat is the shipped one. After each run the installation holds exactly what it
// should.
#include "common/InstallRecordFile.h"
#include "tests/update/TestInstallation.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class UpdateOperations : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(server_.Port(), 0) << "no loopback server"; }
    LoopbackServer server_;
};

TEST_F(UpdateOperations, ChangedFilesLandAndTheUpdaterIsReplacedAfterItEnds) {
    Installation install(server_);
    const std::string newUpdater = "new updater " + Bytes(3000, 'u');
    install.List({{"a.dll", "NULL", "old a", Bytes(70000, 'a')},
                  {"b.png", "skin", "old b", Bytes(1500, 'b')},
                  {"same.txt", "NULL", "same", "same"},
                  {"Update.exe", "Update", "", newUpdater},
                  {"zz.txt", "NULL", "", "last"}},
                 "<name>evil.dll</name><md5>0</md5><folder>..\\..\\outside</folder>\r\n"
                 // The 8.3 short name of the updater: it would pass for another file than its own.
                 "<name>UPDATE~1.EXE</name><md5>0</md5><folder>Update</folder>\r\n");
    // Left staged by an earlier run: the change-log request empties the staging folder first.
    ASSERT_TRUE(::CreateDirectoryW((install.Update() + L"\\Temp").c_str(), nullptr));
    ASSERT_TRUE(WriteFileBytes(install.Update() + L"\\Temp\\stale.dll", "stale"));
    const std::string ownUpdater = FileText(install.Update() + L"\\Update.exe");
    install.RunUpdater(L"log update install run hold");

    EXPECT_EQ(DriverText(install.Update() + L"\\log.txt"), "A(1.1)\nX\n\nB(1.0)\nY");
    const std::vector<std::string> reports = install.Reports();
    ASSERT_FALSE(reports.empty());
    EXPECT_EQ(reports.front(), "0,1");
    EXPECT_EQ(reports.back(), "100,1");
    for (size_t i = 1; i < reports.size(); ++i) EXPECT_LT(std::stoi(reports[i - 1]), std::stoi(reports[i]));

    EXPECT_EQ(Md5(FileText(install / L"a.dll")), Md5(Bytes(70000, 'a')));
    EXPECT_EQ(Md5(FileText(install / L"skin\\b.png")), Md5(Bytes(1500, 'b')));
    EXPECT_EQ(FileText(install / L"same.txt"), "same");
    EXPECT_EQ(FileText(install / L"zz.txt"), "last");
    EXPECT_EQ(FileText(install / L"stale.dll"), "<missing>");
    EXPECT_EQ(::GetFileAttributesW((install / L"..\\outside").c_str()), INVALID_FILE_ATTRIBUTES);
    // The install record lists every file of the release, for the uninstaller; the refused entry not.
    EXPECT_THAT(ReadInstallRecordFile(install / L""), ElementsAre(u"a.dll", u"skin\\b.png", u"same.txt",
                                                                 u"Update\\Update.exe", u"zz.txt"));

    // The file in folder skin was asked for by its folder; the refused entries and the up-to-date file never.
    std::vector<std::string> targets;
    for (const RecordedRequest& request : install.Downloads()) targets.push_back(request.target);
    EXPECT_THAT(targets, ::testing::UnorderedElementsAre(install.DownloadTarget("NULL", "a.dll"),
                                                         install.DownloadTarget("skin", "b.png"),
                                                         install.DownloadTarget("Update", "Update.exe"),
                                                         install.DownloadTarget("NULL", "zz.txt")));

    // copy.bat left the updater alone while it ran, and replaced it once it had ended.
    EXPECT_EQ(DriverText(install.Update() + L"\\held.txt"), "unchanged");
    EXPECT_TRUE(WaitUntil([&] { return FileText(install.Update() + L"\\Update.exe") == newUpdater; }, 15000))
        << "Update.exe was not replaced";
    EXPECT_NE(ownUpdater, newUpdater);
    EXPECT_TRUE(WaitUntil([&] { return ProductWindow(install.Product()) != nullptr; })) << "product not restarted";
}

TEST_F(UpdateOperations, AFailedPassInstallsNothingAndSaysSo) {
    Installation install(server_);
    install.List({{"a.dll", "NULL", "old a", Bytes(20000, 'a')},
                  {"cut.dll", "NULL", "old cut", Bytes(40000, 'c')},
                  {"wrong.dll", "skin", "old wrong", Bytes(3000, 'w')},
                  {"gone.dll", "NULL", "old gone", Bytes(3000, 'g')},
                  {"Update.exe", "Update", "", "new updater"},
                  {"same.txt", "NULL", "same", "same"}});
    ASSERT_TRUE(server_.SetCutReply(install.DownloadTarget("NULL", "cut.dll"), Bytes(40000, 'c'), 10000));
    ASSERT_TRUE(server_.SetReply(install.DownloadTarget("skin", "wrong.dll"), "", Bytes(3000, 'x')));
    ASSERT_TRUE(server_.SetReply(install.DownloadTarget("NULL", "gone.dll"), "", "not here", 404));
    const std::string ownUpdater = FileText(install.Update() + L"\\Update.exe");
    install.RunUpdater(L"log update install run");

    const std::vector<std::string> reports = install.Reports();
    ASSERT_FALSE(reports.empty());
    EXPECT_EQ(reports.back(), "-1,0");
    for (const std::string& report : reports) EXPECT_NE(report.substr(0, 4), "100,");

    for (const auto& [name, bytes] : std::vector<std::pair<std::wstring, std::string>>{
             {L"a.dll", "old a"}, {L"cut.dll", "old cut"}, {L"skin\\wrong.dll", "old wrong"},
             {L"gone.dll", "old gone"}, {L"same.txt", "same"}})
        EXPECT_EQ(FileText(install / name), bytes) << std::string(name.begin(), name.end());
    EXPECT_EQ(Md5(FileText(install.Update() + L"\\Update.exe")), Md5(ownUpdater));
    // What failed is not left staged; what arrived whole waits there.
    const std::wstring staging = install.Update() + L"\\Temp\\";
    EXPECT_EQ(FileText(staging + L"cut.dll"), "<missing>");
    EXPECT_EQ(FileText(staging + L"skin\\wrong.dll"), "<missing>");
    EXPECT_EQ(FileText(staging + L"gone.dll"), "<missing>");
    EXPECT_EQ(Md5(FileText(staging + L"a.dll")), Md5(Bytes(20000, 'a')));
    EXPECT_TRUE(WaitUntil([&] { return ProductWindow(install.Product()) != nullptr; })) << "product not restarted";
}

// Between the downloads and the install a staged file is changed, or a DLL dropped into the staging folder:
// the install is refused whole, with every installed file as it was (none recorded as installed).
TEST_F(UpdateOperations, AStagingFolderChangedAfterTheDownloadsInstallsNothing) {
    for (const wchar_t* change : {L"tamper:a.dll", L"drop:version.dll"}) {
        SCOPED_TRACE(std::string(change, change + wcslen(change)));
        Installation install(server_);
        install.List({{"a.dll", "NULL", "old a", Bytes(20000, 'a')},
                      {"b.png", "skin", "old b", Bytes(1500, 'b')},
                      {"Update.exe", "Update", "", "new updater"}});
        install.RunUpdater(std::wstring(L"log update ") + change + L" install run");
        EXPECT_EQ(install.Reports().back(), "100,1");
        EXPECT_EQ(FileText(install / L"a.dll"), "old a");
        EXPECT_EQ(FileText(install / L"skin\\b.png"), "old b");
        EXPECT_EQ(FileText(install / L"version.dll"), "<missing>");
        EXPECT_THAT(ReadInstallRecordFile(install / L""), IsEmpty());
        EXPECT_TRUE(WaitUntil([&] { return ProductWindow(install.Product()) != nullptr; })) << "product not restarted";
    }
}

// A file of the installation is locked while the install copies: whatever was replaced before it is put
// back, so the installation holds the old release whole, the updater is not replaced, nothing is recorded,
// and the product runs again.
TEST_F(UpdateOperations, ALockedFileLeavesTheOldReleaseWhole) {
    Installation install(server_);
    install.List({{"a.dll", "NULL", "old a", Bytes(20000, 'a')},
                  {"b.png", "skin", "old b", Bytes(1500, 'b')},
                  {"locked.dll", "NULL", "old locked", Bytes(3000, 'l')},
                  {"c.dll", "NULL", "old c", Bytes(3000, 'c')},
                  {"new.dll", "NULL", "", Bytes(100, 'n')},
                  {"Update.exe", "Update", "", "new updater"}});
    install.RunUpdater(L"log update lock:locked.dll install run");
    EXPECT_EQ(install.Reports().back(), "100,1");
    for (const auto& [name, bytes] : std::vector<std::pair<std::wstring, std::string>>{
             {L"a.dll", "old a"}, {L"skin\\b.png", "old b"}, {L"locked.dll", "old locked"}, {L"c.dll", "old c"},
             {L"new.dll", "<missing>"}})
        EXPECT_EQ(FileText(install / name), bytes) << std::string(name.begin(), name.end());
    EXPECT_THAT(ReadInstallRecordFile(install / L""), IsEmpty());
    EXPECT_EQ(FileText(install.Update() + L"\\Backup\\a.dll"), "<missing>");
    EXPECT_TRUE(WaitUntil([&] { return ProductWindow(install.Product()) != nullptr; })) << "product not restarted";
}

// The server stopped answering after the change log: with no digest list the pass cannot even begin. The
// package hears of the failure, nothing is fetched or installed, and the product runs again.
TEST_F(UpdateOperations, ADigestListNotDeliveredIsAFailedPass) {
    Installation install(server_);
    install.List({{"a.dll", "NULL", "old a", Bytes(2000, 'a')}});
    ASSERT_TRUE(server_.SetReply(install.ManifestPath("update_md5.xml"), "", "not here", 404));
    install.RunUpdater(L"log update install run");
    EXPECT_THAT(install.Reports(), ElementsAre("-1,0"));
    EXPECT_THAT(install.Downloads(), IsEmpty());
    EXPECT_EQ(FileText(install / L"a.dll"), "old a");
    EXPECT_TRUE(WaitUntil([&] { return ProductWindow(install.Product()) != nullptr; })) << "product not restarted";
}

TEST_F(UpdateOperations, ASecondUpdateWhileTheWorkerRunsIsIgnored) {
    Installation install(server_);
    install.List({{"big.dll", "NULL", "old", Bytes(4000000, 'b')}});
    install.RunUpdater(L"again");
    const std::vector<std::string> reports = install.Reports();
    ASSERT_FALSE(reports.empty());
    EXPECT_EQ(reports.back(), "100,1");
    EXPECT_EQ(std::count(reports.begin(), reports.end(), "100,1"), 1);
    EXPECT_EQ(server_.Requests(install.ManifestPath("update_md5.xml")).size(), 1u);
    EXPECT_EQ(install.Downloads().size(), 1u);
    EXPECT_EQ(Md5(FileText(install.Update() + L"\\Temp\\big.dll")), Md5(Bytes(4000000, 'b')));
}

}  // namespace
