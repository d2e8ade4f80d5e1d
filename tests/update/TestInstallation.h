// A test installation of the product for the updater's tests under Wine, its files and their digests,
// and the loopback server's manifests and files for it.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "common/Handles.h"
#include "common/Md5Digest.h"
#include "common/ReleaseChannel.h"
#include "tests/support/ProgramDriver.h"
#include "tests/support/TempFolder.h"
#include "tools/test-http-server/LoopbackServer.h"

inline std::string Md5(const std::string& bytes) { return Md5Digest::Hex(bytes.data(), bytes.size(), false); }

inline std::string Bytes(size_t size, char seed) {
    std::string bytes;
    for (size_t i = 0; i < size; ++i) bytes.push_back(char(seed + i * 7 + i / 251));
    return bytes;
}

inline std::wstring Wide(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

inline std::string FileText(const std::wstring& path) {
    std::string bytes;
    return ReadFileBytes(path, &bytes) ? bytes : std::string("<missing>");
}

// The UTF-16 text the driver wrote, as ASCII (non-ASCII as '#').
inline std::string DriverText(const std::wstring& path) {
    const std::string bytes = FileText(path);
    std::string text;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const unsigned unit = unsigned(uint8_t(bytes[i])) | unsigned(uint8_t(bytes[i + 1])) << 8;
        text.push_back(unit < 0x80 ? char(unit) : '#');
    }
    return text;
}

inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

inline HWND ProductWindow(const std::wstring& product) { return ::FindWindowW(product.c_str(), nullptr); }

inline void EndProductWindows(const std::wstring& product) {
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
    std::string sha256 = {};  // the text of the entry's sha256 element; none when empty
};

// A test installation: config.ini naming a product of its own, the product stand-in, update\ with the
// updater (the driver, or the real Update.exe with its engine and package, or the real one built with the
// tests' release key) and the shipped copy.bat; and the manifests and files on the loopback server.
class Installation {
public:
    enum Updater { kDriver, kRealUpdater, kSignedUpdater, kRotatingUpdater, kNewKeyUpdater };
    explicit Installation(LoopbackServer& server, Updater updater = kDriver) : server_(server) {
        static int counter = 0;
        product_ = "Nightcap" + std::to_string(::GetCurrentProcessId()) + "x" + std::to_string(++counter);
        const std::wstring config = L"[Product]\r\nname=" + Wide(product_) + L"\r\n";
        EXPECT_TRUE(WriteFileBytes(root_ / L"config.ini", std::string(config.begin(), config.end())));
        EXPECT_TRUE(::CreateDirectoryW(Update().c_str(), nullptr));
        if (updater == kDriver) {
            EXPECT_TRUE(CopyFileTo(BuildFolder() + L"\\update_driver.exe", Update() + L"\\Update.exe"));
        } else {
            const wchar_t* exe = updater == kSignedUpdater     ? L"Update_signed.exe"
                                 : updater == kRotatingUpdater ? L"Update_rotating.exe"
                                 : updater == kNewKeyUpdater   ? L"Update_new_key.exe"
                                                               : L"Update.exe";
            EXPECT_TRUE(CopyFileTo(BuildFolder() + L"\\" + exe, Update() + L"\\Update.exe"));
            for (const wchar_t* file : {L"XLUE.dll", L"View.xar"})
                EXPECT_TRUE(CopyFileTo(BuildFolder() + L"\\" + file, Update() + L"\\" + file));
        }
        EXPECT_TRUE(CopyFileTo(COPY_BAT_SOURCE, Update() + L"\\copy.bat"));
        EXPECT_TRUE(CopyFileTo(BuildFolder() + L"\\product_stand_in.exe", root_ / Product() + L".exe"));
        const std::wstring host = L"127.0.0.1:" + std::to_wstring(server.Port());
        ::SetEnvironmentVariableW(L"NIGHTCAP_UPDATE_HOST", host.c_str());
        ::SetEnvironmentVariableW(L"NIGHTCAP_STATS_HOST", host.c_str());
    }
    ~Installation() { EndProductWindows(Product()); }

    std::string ProductName() const { return product_; }
    std::wstring Product() const { return Wide(product_); }
    std::wstring Update() const { return root_ / L"update"; }
    std::wstring operator/(const std::wstring& name) const { return root_ / name; }

    // The address the updater asks the statistics server for.
    std::string DownloadTarget(const std::string& folder, const std::string& name) const {
        return "/pm/sd_mgr/pts/web/pm_down.php?p_id=1&p_url=http://127.0.0.1:" + std::to_string(server_.Port()) +
               "/download/" + Channel() + (folder == "NULL" ? "" : "/" + folder) + "/" + name;
    }
    std::string ManifestPath(const std::string& manifest) const { return "/update/" + Channel() + "/" + manifest; }

    // Lists the files; each is installed with its old bytes and served with its new ones. Gives the digest
    // list served, with the release element first when one is given.
    std::string List(const std::vector<ListedFile>& files, const std::string& extraEntries = "",
                     const std::string& release = "") {
        std::string xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<files>\r\n" + release;
        for (const ListedFile& file : files) {
            xml += "<name>" + file.name + "</name><md5>" + Md5(file.served) + "</md5><folder>" + file.folder +
                   "</folder>" + (file.sha256.empty() ? "" : "<sha256>" + file.sha256 + "</sha256>") + "\r\n";
            const std::wstring local = file.folder == "NULL" ? root_ / Wide(file.name)
                                                             : root_ / Wide(file.folder) + L"\\" + Wide(file.name);
            if (file.folder != "NULL") ::CreateDirectoryW((root_ / Wide(file.folder)).c_str(), nullptr);
            if (!file.installed.empty()) {
                EXPECT_TRUE(WriteFileBytes(local, file.installed));
            }
            EXPECT_TRUE(server_.SetReply(DownloadTarget(file.folder, file.name),
                                         "Content-Type: application/octet-stream\r\n", file.served));
        }
        xml += extraEntries + "</files>\r\n";
        EXPECT_TRUE(server_.SetReply(ManifestPath("update_md5.xml"), "Content-Type: text/xml\r\n", xml));
        EXPECT_TRUE(server_.SetReply(ManifestPath("update_log.xml"), "Content-Type: text/xml\r\n",
                                     "<?xml version=\"1.0\"?><log><p><u><Date>A</Date><Version>1.1</Version>"
                                     "<Content>X</Content><Date>B</Date><Version>1.0</Version><Content>Y</Content>"
                                     "</u></p></log>"));
        return xml;
    }

    // Starts the product stand-in, runs the driver with the commands and waits for it to end.
    void RunUpdater(const std::wstring& commands) {
        Program product;
        ASSERT_TRUE(StartProduct(product));
        Program updater;
        ASSERT_TRUE(updater.Start(Update() + L"\\Update.exe", commands, Update()));
        ASSERT_TRUE(updater.WaitExit(90000));
        EXPECT_TRUE(product.WaitExit(5000)) << "the running product was not ended";
    }
    bool StartProduct(Program& product) {
        return product.Start(root_ / Product() + L".exe", L"", root_.Path()) &&
               WaitUntil([&] { return ProductWindow(Product()) != nullptr; });
    }

    std::vector<std::string> Reports() const { return Lines(DriverText(Update() + L"\\reports.txt")); }
    std::vector<RecordedRequest> Downloads() const {
        return server_.Requests("/pm/sd_mgr/pts/web/pm_down.php?p_id=1&p_url=http://127.0.0.1:" +
                                std::to_string(server_.Port()) + "/download/" + Channel() + "/");
    }
    // The product's name on the update server: the updater asks for its architecture's release channel.
    std::string Channel() const { return product_ + NIGHTCAP_CHANNEL_NAME_SUFFIX; }

private:
    LoopbackServer& server_;
    TempFolder root_;
    std::string product_;
};
