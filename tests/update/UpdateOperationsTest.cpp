// The update operations as the updater runs them, in a test installation under Wine against the loopback
// server: the driver (UpdaterDriver.cpp) is the installation's update\Update.exe, a stand-in plays the
// running product, and copy.bat is the shipped one. After each run the installation holds exactly what it
// should.
#include "LoopbackServer.h"
#include "Md5Digest.h"
#include "ProgramDriver.h"
#include "TempFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::string Md5(const std::string& bytes) { return Md5Digest::Hex(bytes.data(), bytes.size(), false); }

std::string Bytes(size_t size, char seed) {
    std::string bytes;
    for (size_t i = 0; i < size; ++i) bytes.push_back(char(seed + i * 7 + i / 251));
    return bytes;
}

std::wstring Wide(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

std::string FileText(const std::wstring& path) {
    std::string bytes;
    return ReadFileBytes(path, &bytes) ? bytes : std::string("<missing>");
}

// The UTF-16 text the driver wrote, as ASCII (non-ASCII as '#').
std::string DriverText(const std::wstring& path) {
    const std::string bytes = FileText(path);
    std::string text;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const unsigned unit = unsigned(uint8_t(bytes[i])) | unsigned(uint8_t(bytes[i + 1])) << 8;
        text.push_back(unit < 0x80 ? char(unit) : '#');
    }
    return text;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

HWND ProductWindow(const std::wstring& product) { return ::FindWindowW(product.c_str(), nullptr); }

void EndProductWindows(const std::wstring& product) {
    while (HWND window = ProductWindow(product)) {
        DWORD pid = 0;
        ::GetWindowThreadProcessId(window, &pid);
        const UniqueHandle process(::OpenProcess(PROCESS_ALL_ACCESS, FALSE, pid));
        if (!process) return;
        ::TerminateProcess(process.Get(), 0);
        ::WaitForSingleObject(process.Get(), 5000);
    }
}

struct ListedFile {
    std::string name;
    std::string folder;  // "NULL" for the installation folder
    std::string installed;
    std::string served;
};

// A test installation: config.ini naming a product of its own, the product stand-in, update\ with the
// driver as Update.exe and the shipped copy.bat; and the manifests and files on the loopback server.
class Installation {
public:
    explicit Installation(LoopbackServer& server) : server_(server) {
        static int counter = 0;
        product_ = "Nightcap" + std::to_string(::GetCurrentProcessId()) + "x" + std::to_string(++counter);
        const std::wstring config = L"[Product]\r\nname=" + Wide(product_) + L"\r\n";
        EXPECT_TRUE(WriteFileBytes(root_ / L"config.ini", std::string(config.begin(), config.end())));
        EXPECT_TRUE(::CreateDirectoryW(Update().c_str(), nullptr));
        EXPECT_TRUE(CopyFileTo(BuildFolder() + L"\\update_driver.exe", Update() + L"\\Update.exe"));
        EXPECT_TRUE(CopyFileTo(COPY_BAT_SOURCE, Update() + L"\\copy.bat"));
        EXPECT_TRUE(CopyFileTo(BuildFolder() + L"\\product_stand_in.exe", root_ / Product() + L".exe"));
        const std::wstring host = L"127.0.0.1:" + std::to_wstring(server.Port());
        ::SetEnvironmentVariableW(L"NIGHTCAP_UPDATE_HOST", host.c_str());
        ::SetEnvironmentVariableW(L"NIGHTCAP_STATS_HOST", host.c_str());
    }
    ~Installation() { EndProductWindows(Product()); }

    std::wstring Product() const { return Wide(product_); }
    std::wstring Update() const { return root_ / L"update"; }
    std::wstring operator/(const std::wstring& name) const { return root_ / name; }

    // The address the updater asks the statistics server for.
    std::string DownloadTarget(const std::string& folder, const std::string& name) const {
        return "/pm/sd_mgr/pts/web/pm_down.php?p_id=1&p_url=http://127.0.0.1:" + std::to_string(server_.Port()) +
               "/download/" + product_ + (folder == "NULL" ? "" : "/" + folder) + "/" + name;
    }
    std::string ManifestPath(const std::string& manifest) const { return "/update/" + product_ + "/" + manifest; }

    // Lists the files; each is installed with its old bytes and served with its new ones.
    void List(const std::vector<ListedFile>& files, const std::string& extraEntries = "") {
        std::string xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<files>\r\n";
        for (const ListedFile& file : files) {
            xml += "<name>" + file.name + "</name><md5>" + Md5(file.served) + "</md5><folder>" + file.folder +
                   "</folder>\r\n";
            const std::wstring local = file.folder == "NULL" ? root_ / Wide(file.name)
                                                             : root_ / Wide(file.folder) + L"\\" + Wide(file.name);
            if (file.folder != "NULL") ::CreateDirectoryW((root_ / Wide(file.folder)).c_str(), nullptr);
            if (!file.installed.empty()) {
                EXPECT_TRUE(WriteFileBytes(local, file.installed));
            }
            EXPECT_TRUE(server_.SetReply(DownloadTarget(file.folder, file.name),
                                         "Content-Type: application/octet-stream\r\n", file.served));
        }
        EXPECT_TRUE(server_.SetReply(ManifestPath("update_md5.xml"), "Content-Type: text/xml\r\n",
                                     xml + extraEntries + "</files>\r\n"));
        EXPECT_TRUE(server_.SetReply(ManifestPath("update_log.xml"), "Content-Type: text/xml\r\n",
                                     "<?xml version=\"1.0\"?><log><p><u><Date>A</Date><Version>1.1</Version>"
                                     "<Content>X</Content><Date>B</Date><Version>1.0</Version><Content>Y</Content>"
                                     "</u></p></log>"));
    }

    // Starts the product stand-in, runs the driver with the commands and waits for it to end.
    void RunUpdater(const std::wstring& commands) {
        Program product;
        ASSERT_TRUE(product.Start(root_ / Product() + L".exe", L"", root_.Path()));
        ASSERT_TRUE(WaitUntil([&] { return ProductWindow(Product()) != nullptr; }));
        Program updater;
        ASSERT_TRUE(updater.Start(Update() + L"\\Update.exe", commands, Update()));
        ASSERT_TRUE(updater.WaitExit(90000));
        EXPECT_TRUE(product.WaitExit(5000)) << "the running product was not ended";
    }

    std::vector<std::string> Reports() const { return Lines(DriverText(Update() + L"\\reports.txt")); }
    std::vector<RecordedRequest> Downloads() const {
        return server_.Requests("/pm/sd_mgr/pts/web/pm_down.php?p_id=1&p_url=http://127.0.0.1:" +
                                std::to_string(server_.Port()) + "/download/" + product_ + "/");
    }

private:
    LoopbackServer& server_;
    TempFolder root_;
    std::string product_;
};

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
                 "<name>evil.dll</name><md5>0</md5><folder>..\\..\\outside</folder>\r\n");
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

    // The file in folder skin was asked for by its folder; the refused entry and the up-to-date file never.
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
