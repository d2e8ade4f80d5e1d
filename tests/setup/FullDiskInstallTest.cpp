// Setup's extraction where no file may grow beyond 1 MiB: the test and everything it starts run under a
// file-size limit, so writing Nightcap.exe really comes up short, as on a disk that fills up. The install
// must fail, say so, and leave no truncated program behind.
#include <gtest/gtest.h>

#include <string>

#include "setup/payload/Payload.h"
#include "tests/support/ProgramDriver.h"
#include "tests/support/SetupDriver.h"
#include "tests/support/TempFolder.h"

using namespace setup;

namespace {

constexpr size_t kFileSizeLimit = 1 << 20;  // set by the test's command line
const std::wstring kEntryKey = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Nightcap";

std::wstring Staged(const std::wstring& name) { return BuildFolder() + L"\\..\\payload\\stage\\" + name; }
bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
std::string Bytes(const std::wstring& path) {
    std::string bytes;
    ReadFileBytes(path, &bytes);
    return bytes;
}

class FullDiskInstall : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(WriteFileBytes(temp_ / L"probe", std::string(kFileSizeLimit + 1, 'x')))
            << "the file-size limit is not in force";
        ASSERT_TRUE(WriteFileBytes(temp_ / L"probe", std::string(kFileSizeLimit, 'x')));
        ASSERT_GT(Bytes(Staged(L"Nightcap.exe")).size(), kFileSizeLimit);
        ASSERT_LE(Bytes(Staged(L"config.ini")).size(), kFileSizeLimit);
    }
    // A Setup that wrongly went on must not leave a running program or an entry to the tests after this one.
    void TearDown() override {
        EndProcesses(folder_ + L"Nightcap.exe");
        if (!entryBefore_) RegDeleteKeyW(HKEY_LOCAL_MACHINE, kEntryKey.c_str());
    }
    // What a failed install leaves: the small files ahead of the program, and no part of the program.
    void ExpectStoppedAtTheProgram() {
        EXPECT_EQ(Bytes(folder_ + L"config.ini"), Bytes(Staged(L"config.ini")));
        EXPECT_FALSE(Exists(folder_ + L"Nightcap.exe")) << "a truncated program is left";
        EXPECT_FALSE(Exists(folder_ + L"Uninstall.exe"));
    }

    const bool entryBefore_ = RegKeyExists(HKEY_LOCAL_MACHINE, kEntryKey);
    TempFolder temp_;
    std::wstring folder_ = temp_ / L"Nightcap\\";
};

TEST_F(FullDiskInstall, ExtractionFailsAndRemovesTheProgramItCouldNotWriteWhole) {
    EXPECT_FALSE(ExtractPayload((BuildFolder() + L"\\SetupFull.exe").c_str(), folder_.c_str()));
    ExpectStoppedAtTheProgram();
}

TEST_F(FullDiskInstall, SetupReportsTheUnpackFailureAndNeitherStartsNorRegistersTheProgram) {
    Program setup;
    ASSERT_TRUE(setup.Start(BuildFolder() + L"\\SetupFull.exe"));
    HWND dialog = WaitForSetupDialog(setup.Id());
    ASSERT_NE(dialog, nullptr);
    Click(dialog, 1009);
    ASSERT_TRUE(WaitUntil([&] { return Visible(dialog, 1001); }));
    const std::wstring dir = folder_.substr(0, folder_.size() - 1);
    SendMessageW(GetDlgItem(dialog, 1001), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(dir.c_str()));
    ASSERT_TRUE(Enabled(dialog, IDOK));
    Click(dialog, IDOK);

    HWND box = WaitForMessageBox(setup.Id(), std::wstring(kTitle) + L"安装", 60000);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), L"解压文件失败，请下载完整安装包！");
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(setup.WaitExit(15000));

    ExpectStoppedAtTheProgram();
    EXPECT_EQ(RegKeyExists(HKEY_LOCAL_MACHINE, kEntryKey), entryBefore_);
    EXPECT_TRUE(ProcessesRunning(folder_ + L"Nightcap.exe").empty());
}

}  // namespace
