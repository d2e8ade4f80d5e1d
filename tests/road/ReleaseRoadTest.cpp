// The whole road of a release, under Wine: the maker's server (started by road_test.py on loopback, with
// the build's release and the later one published) answers every host of the programs. SetupFull.exe
// installs the build's release into a temporary folder and starts Nightcap.exe, whose version check starts
// the updater; the package shows the later release's change log, the update installs it, copy.bat puts the
// new Update.exe in place after the updater ended and Nightcap.exe runs again at the later version.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <algorithm>

#include "Screenshot.h"
#include "SetupDriver.h"
#include "TempFolder.h"
#include "UpdaterFixture.h"

namespace {

const std::wstring kEntryKey = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Nightcap";
constexpr int kVersionLabel = 1011;
constexpr DWORD kStepMs = 60000;

std::wstring Environment(const wchar_t* name) {
    wchar_t value[1024] = {};
    DWORD n = GetEnvironmentVariableW(name, value, 1024);
    return n > 0 && n < 1024 ? std::wstring(value, n) : std::wstring();
}

// A Unix path of the harness as Wine sees it.
std::wstring WinePath(const std::wstring& unixPath) {
    std::wstring path = L"Z:" + unixPath;
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

// The top-level window with the title in any process, or null.
HWND TitledWindow(const std::wstring& title) { return FindWindowW(nullptr, title.c_str()); }

struct ChildSearch {
    int id;
    HWND found;
};
BOOL CALLBACK MatchId(HWND hwnd, LPARAM lParam) {
    auto* search = reinterpret_cast<ChildSearch*>(lParam);
    if (GetDlgCtrlID(hwnd) != search->id) return TRUE;
    search->found = hwnd;
    return FALSE;
}

// The version label's text (GBK bytes) of a Nightcap.exe running from folder, or the empty text.
std::string RunningVersionLabel(const std::wstring& folder) {
    std::vector<DWORD> running = ProcessesRunning(folder + L"Nightcap.exe");
    for (HWND hwnd = FindWindowW(L"Nightcap", nullptr); hwnd; hwnd = FindWindowExW(nullptr, hwnd, L"Nightcap", nullptr)) {
        DWORD id = 0;
        GetWindowThreadProcessId(hwnd, &id);
        if (std::find(running.begin(), running.end(), id) == running.end()) continue;
        ChildSearch search{kVersionLabel, nullptr};
        EnumChildWindows(hwnd, MatchId, reinterpret_cast<LPARAM>(&search));
        if (search.found) return WindowTextA(search.found);
    }
    return {};
}

class ReleaseRoad : public ::testing::Test {
protected:
    void SetUp() override {
        server_ = Environment(L"ROAD_SERVER");
        nextTree_ = WinePath(Environment(L"ROAD_NEXT_TREE"));
        notes_ = Environment(L"ROAD_NEXT_NOTES");
        ASSERT_FALSE(server_.empty()) << "road_test.py starts the server and names it in ROAD_SERVER";
        ASSERT_FALSE(notes_.empty());
        SetEnvironmentVariableW(L"WINEDLLOVERRIDES", L"mscoree,mshtml=;winemenubuilder.exe=d");
        // Every Nightcap of the road writes its power requests and clock settings down, never making them.
        SetEnvironmentVariableW(L"NIGHTCAP_TEST_POWER_LOG", (temp_ / L"power.log").c_str());
        SetEnvironmentVariableW(L"NIGHTCAP_TEST_SET_CLOCK_LOG", (temp_ / L"clock.log").c_str());
        SetEnvironmentVariableW(L"NIGHTCAP_TEST_SET_CLOCK_REFUSED", L"1");
        for (const wchar_t* role : {L"STATS", L"UPDATE", L"TIME", L"IP", L"AIR", L"WEATHER"})
            SetEnvironmentVariableW((std::wstring(L"NIGHTCAP_") + role + L"_HOST").c_str(), server_.c_str());
        dir_ = temp_ / L"Nightcap";
        folder_ = dir_ + L"\\";
        CleanUp();
        // Setup offers the folder of an earlier install: the temporary one.
        UniqueRegKey key;
        ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kEntryKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                  key.Receive(), nullptr),
                  ERROR_SUCCESS);
        std::wstring earlier = folder_ + L"Uninstall.exe";
        RegSetValueExW(key.Get(), L"UninstallString", 0, REG_SZ, reinterpret_cast<const BYTE*>(earlier.c_str()),
                       DWORD((earlier.size() + 1) * sizeof(wchar_t)));
        CreateDirectoryW(Screenshots().c_str(), nullptr);
    }

    void TearDown() override { CleanUp(); }

    void CleanUp() {
        EndProcesses(folder_ + L"update\\Update.exe");
        EndProcesses(folder_ + L"Nightcap.exe");
        for (int csidl : {CSIDL_DESKTOPDIRECTORY, CSIDL_COMMON_PROGRAMS}) {
            std::wstring base = ShellFolder(csidl) + L"\\" + kTitle;
            DeleteFileW((base + L".lnk").c_str());
            DeleteFileW((base + L"\\" + kTitle + L".lnk").c_str());
            DeleteFileW((base + L"\\卸载" + kTitle + L".lnk").c_str());
            RemoveDirectoryW(base.c_str());
        }
        RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run", L"Nightcap");
        RegDeleteKeyW(HKEY_LOCAL_MACHINE, kEntryKey.c_str());
        RemoveTree(dir_);
    }

    static std::wstring Screenshots() { return BuildFolder() + L"\\screenshots"; }

    // Every file of the release tree is in the installation with the same bytes.
    void ExpectInstallationIs(const std::wstring& tree) {
        std::vector<std::wstring> files = FilesUnder(tree);
        ASSERT_GE(files.size(), 5u);
        for (const std::wstring& file : files) {
            std::string expected, actual;
            ASSERT_TRUE(ReadFileBytes(tree + L"\\" + file, &expected));
            EXPECT_TRUE(ReadFileBytes(folder_ + file, &actual)) << "missing " << Narrow(file);
            EXPECT_TRUE(actual == expected) << "differs " << Narrow(file);
        }
    }

    bool SameBytes(const std::wstring& a, const std::wstring& b) {
        std::string x, y;
        return ReadFileBytes(a, &x) && ReadFileBytes(b, &y) && x == y;
    }

    std::wstring server_, nextTree_, notes_, dir_, folder_;
    TempFolder temp_;
};

TEST_F(ReleaseRoad, AnInstalledReleaseUpdatesItselfToThePublishedOne) {
    // 1. Setup installs the build's release and starts Nightcap.exe from the installation.
    {
        Program setup;
        ASSERT_TRUE(setup.Start(BuildFolder() + L"\\SetupFull.exe"));
        HWND dialog = WaitForSetupDialog(setup.Id());
        ASSERT_NE(dialog, nullptr);
        ASSERT_EQ(ItemText(dialog, 1001), dir_);
        Click(dialog, IDOK);
        ASSERT_TRUE(setup.WaitExit(kStepMs));
    }
    ExpectInstallationIs(BuildFolder() + L"\\..\\payload\\stage");

    // 2. Its version check hears of the later release and starts the updater, which shows the change log.
    HWND window = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (window = TitledWindow(kUpdaterTitle)) != nullptr; }, kStepMs))
        << "no updater window";
    DWORD updaterId = 0;
    GetWindowThreadProcessId(window, &updaterId);
    UniqueHandle updater(OpenProcess(SYNCHRONIZE, FALSE, updaterId));
    ASSERT_TRUE(updater);
    HWND updateButton = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (updateButton = ControlWithText(window, L"立即更新")) != nullptr; }, kStepMs));
    std::vector<std::wstring> texts = VisibleTexts(window);
    EXPECT_TRUE(std::any_of(texts.begin(), texts.end(),
                            [&](const std::wstring& text) { return text.find(notes_) != std::wstring::npos; }))
        << "the later release's change-log entry";
    // The updater ended the timer before it showed its window.
    EXPECT_TRUE(WaitUntil([&] { return ProcessesRunning(folder_ + L"Nightcap.exe").empty(); }, kStepMs));
    SaveScreenshot(window, Screenshots() + L"\\road-changelog.png");

    // 3. The update downloads and installs the changed files; the way out starts the timer again.
    ClickCentre(updateButton);
    HWND done = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (done = ControlWithText(window, L"完成")) != nullptr; }, kStepMs))
        << "the update did not finish";
    EXPECT_NE(ControlWithText(window, L"更新完成"), nullptr);
    SaveScreenshot(window, Screenshots() + L"\\road-done.png");
    ClickCentre(done);
    ASSERT_EQ(WaitForSingleObject(updater.Get(), kStepMs), WAIT_OBJECT_0) << "the updater did not end";

    // 4. copy.bat replaces Update.exe once the updater has ended; Nightcap.exe runs at the later version.
    EXPECT_TRUE(WaitUntil([&] { return SameBytes(nextTree_ + L"\\update\\Update.exe", folder_ + L"update\\Update.exe"); },
                          kStepMs))
        << "copy.bat did not put the new Update.exe in place";
    ExpectInstallationIs(nextTree_);
    const std::string expectedLabel = std::string("版本：") + Narrow(Environment(L"ROAD_NEXT_VERSION"));
    std::string label;
    EXPECT_TRUE(WaitUntil([&] { return (label = RunningVersionLabel(folder_)) == expectedLabel; }, kStepMs))
        << "label " << label;
    EXPECT_FALSE(TitledWindow(kUpdaterTitle)) << "the later version started the updater again";
    std::string powerLog;
    EXPECT_FALSE(ReadFileBytes(temp_ / L"power.log", &powerLog) && !powerLog.empty()) << powerLog;
}

}  // namespace
