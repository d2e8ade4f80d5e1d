// The whole road of a release, under Wine: the maker's server (started by road_test.py on loopback, with
// the build's release and the later one published, signed) answers every host of the programs. The road's
// SetupFull.exe (ROAD_SETUP) installs the build's release (ROAD_RELEASE_TREE) into a temporary folder and
// starts Nightcap.exe, whose version check starts the updater; the package shows the later release's change
// log, the update installs it, copy.bat puts the new Update.exe in place after the updater ended and
// Nightcap.exe runs again at the later version.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <algorithm>

#include "common/Handles.h"
#include "ProductVersion.h"
#include "tests/support/Screenshot.h"
#include "tests/support/SetupDriver.h"
#include "tests/support/SetupInstallation.h"
#include "tests/support/TempFolder.h"
#include "tests/update/UpdaterFixture.h"

namespace {

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

// The version label's text (GBK bytes) of a Nightcap.exe running from folder, or the empty text.
std::string RunningVersionLabel(const std::wstring& folder) {
    std::vector<DWORD> running = ProcessesRunning(folder + L"Nightcap.exe");
    for (HWND hwnd = FindWindowW(L"Nightcap", nullptr); hwnd; hwnd = FindWindowExW(nullptr, hwnd, L"Nightcap", nullptr)) {
        DWORD id = 0;
        GetWindowThreadProcessId(hwnd, &id);
        if (std::find(running.begin(), running.end(), id) == running.end()) continue;
        if (const HWND label = ChildWithId(hwnd, kVersionLabel)) return WindowTextA(label);
    }
    return {};
}

// The body of a GET from the server, or the empty text.
std::string HttpBody(const std::wstring& url) {
    const UniqueInternet session(InternetOpenW(L"road", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
    const UniqueInternet request(session ? InternetOpenUrlW(session.Get(), url.c_str(), nullptr, 0,
                                                            INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0)
                                         : nullptr);
    std::string body;
    char buffer[4096];
    DWORD read = 0;
    while (request && InternetReadFile(request.Get(), buffer, sizeof buffer, &read) && read > 0) body.append(buffer, read);
    return body;
}

// The installation reports the server has counted, from its stats page ("..., reports N, ..."), or -1.
int CountedReports(const std::wstring& server) {
    const std::string page = HttpBody(L"http://" + server + L"/stats");
    const size_t at = page.find(", reports ");
    return at == std::string::npos ? -1 : std::atoi(page.c_str() + at + 10);
}

class ReleaseRoad : public ::testing::Test {
protected:
    void SetUp() override {
        server_ = Environment(L"ROAD_SERVER");
        setup_ = WinePath(Environment(L"ROAD_SETUP"));
        releaseTree_ = WinePath(Environment(L"ROAD_RELEASE_TREE"));
        nextTree_ = WinePath(Environment(L"ROAD_NEXT_TREE"));
        notes_ = Environment(L"ROAD_NEXT_NOTES");
        ASSERT_FALSE(server_.empty()) << "road_test.py starts the server and names it in ROAD_SERVER";
        ASSERT_FALSE(notes_.empty());
        // Every Nightcap of the road writes its clock settings down too, never making them.
        SetEnvironmentVariableW(L"NIGHTCAP_TEST_SET_CLOCK_LOG", installation_.TempFile(L"clock.log").c_str());
        SetEnvironmentVariableW(L"NIGHTCAP_TEST_SET_CLOCK_REFUSED", L"1");
        for (const wchar_t* role : {L"STATS", L"UPDATE", L"TIME", L"IP", L"AIR", L"WEATHER"})
            SetEnvironmentVariableW((std::wstring(L"NIGHTCAP_") + role + L"_HOST").c_str(), server_.c_str());
        ASSERT_TRUE(installation_.Offer());
    }

    static std::wstring Screenshots() { return SetupInstallation::Screenshots(); }
    void ExpectInstallationIs(const std::wstring& tree) { installation_.ExpectFilesOf(tree); }

    bool SameBytes(const std::wstring& a, const std::wstring& b) {
        std::string x, y;
        return ReadFileBytes(a, &x) && ReadFileBytes(b, &y) && x == y;
    }

    // Setup installs the build's release and starts Nightcap.exe from the installation.
    void InstallTheBuildsRelease() {
        Program setup;
        ASSERT_TRUE(setup.Start(setup_));
        HWND dialog = WaitForSetupDialog(setup.Id());
        ASSERT_NE(dialog, nullptr);
        ASSERT_EQ(ItemText(dialog, 1001), dir_);
        Click(dialog, IDOK);
        ASSERT_TRUE(setup.WaitExit(kStepMs));
        ExpectInstallationIs(releaseTree_);
    }

    // The version check of the running Nightcap.exe has started the updater: its window once the change log
    // is shown, which ends the timer.
    void WaitForTheChangeLog() {
        ASSERT_TRUE(WaitUntil([&] { return (window_ = TitledWindow(kUpdaterTitle)) != nullptr; }, kStepMs))
            << "no updater window";
        DWORD updaterId = 0;
        GetWindowThreadProcessId(window_, &updaterId);
        updater_.Reset(OpenProcess(SYNCHRONIZE, FALSE, updaterId));
        ASSERT_TRUE(updater_);
        ASSERT_TRUE(WaitUntil([&] { return ControlWithText(window_, L"立即更新") != nullptr; }, kStepMs));
        std::vector<std::wstring> texts = VisibleTexts(window_);
        EXPECT_TRUE(std::any_of(texts.begin(), texts.end(),
                                [&](const std::wstring& text) { return text.find(notes_) != std::wstring::npos; }))
            << "the later release's change-log entry";
        EXPECT_TRUE(WaitUntil([&] { return ProcessesRunning(folder_ + L"Nightcap.exe").empty(); }, kStepMs));
    }

    // Presses the button with the text once it shows, then waits for the updater to end.
    void PressAndWaitForTheEnd(const std::wstring& text) {
        HWND button = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (button = ControlWithText(window_, text)) != nullptr; }, kStepMs));
        ClickCentre(button);
        ASSERT_EQ(WaitForSingleObject(updater_.Get(), kStepMs), WAIT_OBJECT_0) << "the updater did not end";
    }

    // The update installs the later release; copy.bat puts its Update.exe in place after the updater ended
    // and Nightcap.exe runs again at the later version.
    void UpdateToTheLaterRelease(bool screenshots) {
        if (screenshots) SaveScreenshot(window_, Screenshots() + L"\\road-changelog.png");
        ClickCentre(ControlWithText(window_, L"立即更新"));
        ASSERT_TRUE(WaitUntil([&] { return ControlWithText(window_, L"完成") != nullptr; }, kStepMs))
            << "the update did not finish";
        EXPECT_NE(ControlWithText(window_, L"更新完成"), nullptr);
        if (screenshots) SaveScreenshot(window_, Screenshots() + L"\\road-done.png");
        PressAndWaitForTheEnd(L"完成");
        EXPECT_TRUE(WaitUntil(
            [&] { return SameBytes(nextTree_ + L"\\update\\Update.exe", folder_ + L"update\\Update.exe"); }, kStepMs))
            << "copy.bat did not put the new Update.exe in place";
        ExpectInstallationIs(nextTree_);
        ExpectNightcapRunsAt(Narrow(Environment(L"ROAD_NEXT_VERSION")));
        EXPECT_FALSE(TitledWindow(kUpdaterTitle)) << "the later version started the updater again";
    }

    void ExpectNightcapRunsAt(const std::string& version) {
        const std::string expected = std::string("版本：") + version;
        std::string label;
        EXPECT_TRUE(WaitUntil([&] { return (label = RunningVersionLabel(folder_)) == expected; }, kStepMs))
            << "label " << label;
    }

    void ExpectNothingShutDown() {
        std::string powerLog;
        EXPECT_FALSE(ReadFileBytes(installation_.TempFile(L"power.log"), &powerLog) && !powerLog.empty()) << powerLog;
    }

    std::wstring server_, setup_, releaseTree_, nextTree_, notes_;
    SetupInstallation installation_;
    const std::wstring folder_ = installation_.Folder();
    const std::wstring dir_ = folder_.substr(0, folder_.size() - 1);  // without the trailing backslash
    HWND window_ = nullptr;
    UniqueHandle updater_;
};

TEST_F(ReleaseRoad, AnInstalledReleaseUpdatesItselfToThePublishedOne) {
    if (!Environment(L"ROAD_FAULT").empty() || !Environment(L"ROAD_OTHER_ARCH").empty()) GTEST_SKIP() << "another case";
    ASSERT_NO_FATAL_FAILURE(InstallTheBuildsRelease());
    ASSERT_NO_FATAL_FAILURE(WaitForTheChangeLog());
    ASSERT_NO_FATAL_FAILURE(UpdateToTheLaterRelease(true));
    ExpectNothingShutDown();
    // Nightcap sends its installation report from a thread of its own: the harness counts it once this test
    // has ended Nightcap, so wait until the server has it.
    EXPECT_TRUE(WaitUntil([&] { return CountedReports(server_) >= 1; }, kStepMs)) << "no installation report";
}

// road_test.py starts the server with a fault (ROAD_FAULT names it). After the failure the updater starts
// Nightcap.exe again, still the build's release: a fault of one file is played once, so the version check of
// that very start starts the updater again for a clean retry. A server gone after the change log leaves it without an answer;
// road_test.py starts it again on its port when the test asks (the file ROAD_RESTART) and says so (the file
// ROAD_RESTARTED), and the retry is a new start of Nightcap.exe.
// road_test.py published the later release for the other architecture only (ROAD_OTHER_ARCH): this
// installation's channel has nothing newer, so its version check starts no updater and nothing changes.
TEST_F(ReleaseRoad, ANewerReleaseOfTheOtherArchitectureIsNeverOffered) {
    if (Environment(L"ROAD_OTHER_ARCH").empty()) GTEST_SKIP() << "not the other architecture's case";
    ASSERT_NO_FATAL_FAILURE(InstallTheBuildsRelease());
    // Nightcap.exe checks the version during its start-up, before it answers messages.
    HWND main = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (main = FindWindowW(L"Nightcap", nullptr)) != nullptr; }, kStepMs));
    DWORD_PTR ignored;
    ASSERT_TRUE(SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_BLOCK, kStepMs, &ignored));
    ExpectNightcapRunsAt(NIGHTCAP_VERSION_TEXT);
    EXPECT_FALSE(TitledWindow(kUpdaterTitle)) << "the other architecture's release was offered";
    EXPECT_TRUE(ProcessesRunning(folder_ + L"update\\Update.exe").empty());
    ExpectInstallationIs(releaseTree_);
    ExpectNothingShutDown();
}

TEST_F(ReleaseRoad, AFaultLeavesTheInstallationAsItWasAndACleanRetryUpdates) {
    const std::wstring fault = Environment(L"ROAD_FAULT");
    if (fault.empty()) GTEST_SKIP() << "no fault";
    ASSERT_NO_FATAL_FAILURE(InstallTheBuildsRelease());
    ASSERT_NO_FATAL_FAILURE(WaitForTheChangeLog());
    ClickCentre(ControlWithText(window_, L"立即更新"));
    ASSERT_TRUE(WaitUntil([&] { return ControlWithText(window_, L"更新失败") != nullptr; }, kStepMs))
        << "no failure shown";
    EXPECT_EQ(ControlWithText(window_, L"完成"), nullptr);
    if (fault.rfind(L"cut:", 0) == 0) SaveScreenshot(window_, Screenshots() + L"\\road-failed.png");
    ASSERT_NO_FATAL_FAILURE(PressAndWaitForTheEnd(L"关闭"));
    ExpectInstallationIs(releaseTree_);

    if (fault == L"gone-after-log") {
        // The Nightcap.exe the updater started checks the version during its start-up, before it answers messages.
        HWND main = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return !RunningVersionLabel(folder_).empty() && (main = FindWindowW(L"Nightcap", nullptr)); },
                              kStepMs));
        DWORD_PTR ignored;
        ASSERT_TRUE(SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_BLOCK, kStepMs, &ignored));
        ExpectNightcapRunsAt(NIGHTCAP_VERSION_TEXT);
        EXPECT_FALSE(TitledWindow(kUpdaterTitle)) << "an updater without a server";
        EXPECT_TRUE(ProcessesRunning(folder_ + L"update\\Update.exe").empty()) << "an updater is left running";
        const std::wstring restarted = WinePath(Environment(L"ROAD_RESTARTED"));
        ASSERT_TRUE(WriteFileBytes(WinePath(Environment(L"ROAD_RESTART")), ""));
        ASSERT_TRUE(WaitUntil([&] { return GetFileAttributesW(restarted.c_str()) != INVALID_FILE_ATTRIBUTES; },
                              kStepMs))
            << "the server was not started again";
        EndProcesses(folder_ + L"Nightcap.exe");
        Program nightcap;
        ASSERT_TRUE(nightcap.Start(folder_ + L"Nightcap.exe", L"", dir_));
        ASSERT_NO_FATAL_FAILURE(WaitForTheChangeLog());
        ASSERT_NO_FATAL_FAILURE(UpdateToTheLaterRelease(false));
    } else {
        // The updater started Nightcap.exe of the build's release again as it ended, and that start's version
        // check starts the updater again at once: the retry needs nobody.
        ASSERT_NO_FATAL_FAILURE(WaitForTheChangeLog());
        ASSERT_NO_FATAL_FAILURE(UpdateToTheLaterRelease(false));
    }
    ExpectNothingShutDown();
}

}  // namespace
