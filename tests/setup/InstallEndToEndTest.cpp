// The built installer with its payload, run under Wine into a temporary folder: install, the up-to-date
// page, reinstall, the running-copy question, and Uninstall.exe removing everything again.
// The install folder comes from an earlier install's "UninstallString", which the test writes first.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <algorithm>

#include "ProductVersion.h"
#include "tests/support/ProgramDriver.h"
#include "tests/support/Screenshot.h"
#include "tests/support/SetupDriver.h"
#include "tests/support/SetupInstallation.h"
#include "tests/support/TempFolder.h"

namespace {

const std::wstring kEntryKey = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Nightcap";
const std::wstring kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::wstring kSetupCaption = std::wstring(kTitle) + L"安装";
const std::wstring kUninstallCaption = std::wstring(kTitle) + L"卸载";
// The file version of the Nightcap.exe in the payload, from the build's version setting.
const std::wstring kProgramVersion = [] {
    std::string text = NIGHTCAP_FILE_VERSION_TEXT;
    return std::wstring(text.begin(), text.end());
}();

uint64_t FileVersionOf(const std::wstring& path) {
    BYTE buffer[4096];
    VS_FIXEDFILEINFO* info = nullptr;
    UINT size = 0;
    if (!GetFileVersionInfoW(path.c_str(), 0, sizeof buffer, buffer) ||
        !VerQueryValueW(buffer, L"\\", reinterpret_cast<void**>(&info), &size))
        return 0;
    return (uint64_t(info->dwFileVersionMS) << 32) | info->dwFileVersionLS;
}

class InstallEndToEnd : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(installation_.Offer()); }

    static std::wstring Screenshots() { return SetupInstallation::Screenshots(); }
    static std::wstring SetupExe() { return BuildFolder() + L"\\SetupFull.exe"; }
    static std::wstring Stage() { return BuildFolder() + L"\\..\\payload\\stage"; }
    static std::vector<std::wstring> Links() { return SetupInstallation::Links(); }

    // Starts Setup and waits for its dialog.
    HWND StartSetup(Program& setup) {
        if (!setup.Start(SetupExe())) return nullptr;
        return WaitForSetupDialog(setup.Id());
    }

    void ExpectInstalledFilesMatchThePayload() { installation_.ExpectFilesOf(Stage()); }

    void ExpectShortcutsAndEntry() {
        std::wstring program = folder_ + L"Nightcap.exe";
        std::vector<std::wstring> targets = {program, program, folder_ + L"Uninstall.exe"};
        std::vector<std::wstring> links = Links();
        for (size_t i = 0; i < links.size(); ++i) {
            std::wstring target, working;
            ASSERT_TRUE(ReadShellLink(links[i], &target, &working)) << i;
            EXPECT_EQ(target, targets[i]);
            EXPECT_EQ(working, dir_);
        }
        EXPECT_EQ(GetFileAttributesW(SetupInstallation::QuickLaunchLink().c_str()), INVALID_FILE_ATTRIBUTES);
        EXPECT_EQ(ReadRegString(HKEY_LOCAL_MACHINE, kEntryKey, L"DisplayIcon"), program);
        EXPECT_EQ(ReadRegString(HKEY_LOCAL_MACHINE, kEntryKey, L"DisplayName"), kTitle);
        EXPECT_EQ(ReadRegString(HKEY_LOCAL_MACHINE, kEntryKey, L"DisplayVersion"), kProgramVersion);
        EXPECT_EQ(ReadRegString(HKEY_LOCAL_MACHINE, kEntryKey, L"Publisher"), L"青禾岭有限公司");
        EXPECT_EQ(ReadRegString(HKEY_LOCAL_MACHINE, kEntryKey, L"UninstallString"), folder_ + L"Uninstall.exe");
    }

    bool ProgramStartedFromInstallFolder() {
        return WaitUntil([&] { return !ProcessesRunning(folder_ + L"Nightcap.exe").empty(); }, 10000);
    }

    SetupInstallation installation_;
    const std::wstring folder_ = installation_.Folder();
    const std::wstring dir_ = folder_.substr(0, folder_.size() - 1);  // without the trailing backslash
};

TEST_F(InstallEndToEnd, InstallUpToDatePageReinstallRunningCopyAndUninstall) {
    // 1. A fresh install with the default choices, pressed by message.
    {
        const std::wstring gateName = L"SetupTestGate-" + std::to_wstring(GetCurrentProcessId());
        UniqueHandle gate(CreateEventW(nullptr, TRUE, FALSE, gateName.c_str()));
        ASSERT_TRUE(gate);
        SetEnvironmentVariableW(L"SETUP_TEST_EXTRACTION_GATE", gateName.c_str());
        Program setup;
        HWND dialog = StartSetup(setup);
        SetEnvironmentVariableW(L"SETUP_TEST_EXTRACTION_GATE", nullptr);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(ItemText(dialog, 1001), dir_);
        EXPECT_TRUE(Visible(dialog, 1009));
        EXPECT_FALSE(Visible(dialog, 1012));
        EXPECT_FALSE(Visible(dialog, 1001));
        EXPECT_TRUE(Enabled(dialog, IDOK));
        EXPECT_EQ(ItemText(dialog, 1003).rfind(L"所需空间: ", 0), 0u) << "space text";
        SaveScreenshot(dialog, Screenshots() + L"\\setup-default.png");

        Click(dialog, 1009);
        ASSERT_TRUE(WaitUntil([&] { return Visible(dialog, 1001); }));
        EXPECT_TRUE(Visible(dialog, 1010) && !Visible(dialog, 1009) && Visible(dialog, 1016));
        EXPECT_TRUE(Checked(dialog, 1004) && !Checked(dialog, 1005) && Checked(dialog, 1006) && !Checked(dialog, 1007));
        SaveScreenshot(dialog, Screenshots() + L"\\setup-custom.png");
        SendMessageW(GetDlgItem(dialog, 1001), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"C:"));
        EXPECT_FALSE(Enabled(dialog, IDOK));
        EXPECT_EQ(ItemText(dialog, 1003), L"所选目录无法安装，请选择其它目录");
        Click(dialog, 1010);
        ASSERT_TRUE(WaitUntil([&] { return !Visible(dialog, 1001); }));
        EXPECT_EQ(ItemText(dialog, 1001), dir_);
        EXPECT_TRUE(Enabled(dialog, IDOK));

        // The worker waits at the gate until the installing state has been looked at.
        Click(dialog, IDOK);
        ASSERT_TRUE(WaitUntil([&] { return Visible(dialog, 1011); }));
        for (int id : {IDOK, 1001, 1002, 1009, 1010}) EXPECT_FALSE(Enabled(dialog, id)) << id;
        EXPECT_FALSE(Visible(dialog, 1009));
        // A close during extraction is ignored: the dialog waits for the worker's result.
        PostMessageW(dialog, WM_CLOSE, 0, 0);
        Click(dialog, IDCANCEL);
        DWORD_PTR ignored;
        SendMessageTimeoutW(dialog, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &ignored);
        EXPECT_TRUE(IsWindow(dialog));
        SaveScreenshot(dialog, Screenshots() + L"\\setup-installing.png");
        SetEvent(gate.Get());
        DWORD code = 1;
        ASSERT_TRUE(setup.WaitExit(60000, &code));
    }
    ExpectInstalledFilesMatchThePayload();
    ExpectShortcutsAndEntry();
    EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, kRunKey, L"Nightcap"), L"");  // 1007 was off
    EXPECT_TRUE(ProgramStartedFromInstallFolder());
    EndProcesses(folder_ + L"Nightcap.exe");

    // 2. The up-to-date page: the installed program is at least as new as Setup.
    EXPECT_GE(FileVersionOf(folder_ + L"Nightcap.exe"), FileVersionOf(SetupExe()));
    std::string programBefore;
    ASSERT_TRUE(ReadFileBytes(folder_ + L"Nightcap.exe", &programBefore));
    {
        Program setup;
        HWND dialog = StartSetup(setup);
        ASSERT_NE(dialog, nullptr);
        EXPECT_TRUE(Visible(dialog, 1012) && Visible(dialog, 1008) && !Visible(dialog, 1009));
        EXPECT_EQ(ItemText(dialog, 1012), std::wstring(L"您已经安装了最新") + kTitle + L"，建议退出");
        SaveScreenshot(dialog, Screenshots() + L"\\setup-uptodate.png");
        Click(dialog, IDOK);  // quits without changes
        ASSERT_TRUE(setup.WaitExit(15000));
    }
    std::string programAfter;
    ASSERT_TRUE(ReadFileBytes(folder_ + L"Nightcap.exe", &programAfter));
    EXPECT_TRUE(programAfter == programBefore);
    EXPECT_TRUE(ProcessesRunning(folder_ + L"Nightcap.exe").empty());

    // 3. The link installs over the earlier folder, this time with the Run value.
    {
        Program setup;
        HWND dialog = StartSetup(setup);
        ASSERT_NE(dialog, nullptr);
        SendMessageW(GetDlgItem(dialog, 1007), BM_SETCHECK, BST_CHECKED, 0);
        Click(dialog, 1008, STN_CLICKED);
        ASSERT_TRUE(setup.WaitExit(60000));
    }
    ExpectInstalledFilesMatchThePayload();
    EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, kRunKey, L"Nightcap"),
              L"\"" + folder_ + L"Nightcap.exe\" -1 /s");
    ASSERT_TRUE(ProgramStartedFromInstallFolder());

    // 4. A copy running from the install folder: Cancel changes nothing, OK ends every copy and installs.
    std::vector<DWORD> running = ProcessesRunning(folder_ + L"Nightcap.exe");
    for (bool answerOk : {false, true}) {
        Program setup;
        HWND dialog = StartSetup(setup);
        ASSERT_NE(dialog, nullptr);
        ASSERT_TRUE(Visible(dialog, 1008)) << "the installed program is up to date";
        Click(dialog, 1008, STN_CLICKED);
        HWND question = WaitForMessageBox(setup.Id(), kSetupCaption);
        ASSERT_NE(question, nullptr);
        EXPECT_NE(MessageBoxText(question).find(std::wstring(kTitle) + L"正在运行中"), std::wstring::npos);
        PostMessageW(question, WM_COMMAND, answerOk ? IDOK : IDCANCEL, 0);
        ASSERT_TRUE(setup.WaitExit(60000));
        if (!answerOk) {
            EXPECT_EQ(ProcessesRunning(folder_ + L"Nightcap.exe"), running);
        } else {
            for (DWORD id : running) {
                std::vector<DWORD> now = ProcessesRunning(folder_ + L"Nightcap.exe");
                EXPECT_EQ(std::count(now.begin(), now.end(), id), 0) << "copy " << id << " still runs";
            }
        }
    }
    ExpectInstalledFilesMatchThePayload();
    ExpectShortcutsAndEntry();  // made again over the earlier ones
    // 1007 was off this time: the Run value written before stays (nothing deletes it).
    EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, kRunKey, L"Nightcap"), L"\"" + folder_ + L"Nightcap.exe\" -1 /s");
    ASSERT_TRUE(ProgramStartedFromInstallFolder());

    // 5. Uninstall.exe (with the program still running) removes everything of ours.
    {
        Program uninstall;
        ASSERT_TRUE(uninstall.Start(folder_ + L"Uninstall.exe"));
        HWND confirm = WaitForMessageBox(uninstall.Id(), kUninstallCaption);
        ASSERT_NE(confirm, nullptr);
        PostMessageW(confirm, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(uninstall.WaitExit(15000));
        HWND done = WaitForMessageBox(0, kUninstallCaption, 30000);
        ASSERT_NE(done, nullptr);
        DWORD copyId = 0;
        GetWindowThreadProcessId(done, &copyId);
        UniqueHandle copy(OpenProcess(SYNCHRONIZE, FALSE, copyId));
        PostMessageW(done, WM_COMMAND, IDOK, 0);
        if (copy) {
            EXPECT_EQ(WaitForSingleObject(copy.Get(), 15000), WAIT_OBJECT_0);
        }
        // The copy in the temp folder is left for deletion at the next restart; the test removes it now.
        wchar_t tempPath[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, tempPath);
        std::wstring tempCopy = tempPath + (L"NightcapUninstall-" + std::to_wstring(uninstall.Id()) + L".exe");
        EXPECT_TRUE(DeleteFileW(tempCopy.c_str()));
    }
    EXPECT_EQ(GetFileAttributesW(dir_.c_str()), INVALID_FILE_ATTRIBUTES) << "install folder left";
    for (const std::wstring& link : Links()) EXPECT_EQ(GetFileAttributesW(link.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesW(SetupInstallation::StartMenuFolder().c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, kRunKey, L"Nightcap"), L"");
    EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, kEntryKey));
    EXPECT_TRUE(ProcessesRunning(folder_ + L"Nightcap.exe").empty());
}

}  // namespace
