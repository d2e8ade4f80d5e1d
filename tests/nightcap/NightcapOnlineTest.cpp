// The real Nightcap.exe under Wine against the loopback server: the version check and the updater, the update
// ping, the installation report, the clock setting and the weather panel; and the same program without a
// network.
#include <gtest/gtest.h>

#include <windows.h>
#include <iphlpapi.h>

#include <string>
#include <vector>

#include "common/Md5Digest.h"
#include "common/ReleaseChannel.h"
#include "nightcap/app/ControlIds.h"
#include "tests/nightcap/CannedOnlineReplies.h"
#include "tests/nightcap/NightcapUnderTest.h"
#include "tests/nightcap/ShellBalloons.h"
#include "tests/support/Screenshot.h"
#include "tools/test-http-server/LoopbackServer.h"

using namespace nightcap;

namespace {

class NightcapOnline : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(server.Port(), 0) << "the loopback server is not running";
        // Only one Nightcap runs at a time; these fixed paths are theirs.
        EXPECT_TRUE(ServeCannedOnlineReplies(server));
        nc.UseServers("127.0.0.1:" + std::to_string(server.Port()));
        ASSERT_TRUE(nc.InstallUpdaterStandIn());
    }
    void Serve(const std::string& path, const std::string& body) { EXPECT_TRUE(server.SetReply(path, "", body)); }
    size_t Count(const std::string& prefix) const { return server.Requests(prefix).size(); }
    // Waits until more than `before` requests with the prefix came.
    bool WaitForRequests(const std::string& prefix, size_t before) const {
        return WaitUntil([&] { return Count(prefix) > before; });
    }
    std::wstring Folder() const { return nc.Folder().Path(); }
    std::string FolderA() const {
        const std::wstring w = Folder();
        return std::string(w.begin(), w.end());  // the temp folder's path is ASCII
    }
    bool PanelFilled() const { return nc.WaitForText(透明标签_天气2, "空气质量：良好"); }

    LoopbackServer server;
    NightcapUnderTest nc;
};

// Some pixel inside the control has the colour, give or take the smoothing of thin strokes into the dark
// picture beneath (the text is drawn in it).
bool ControlShowsColour(HWND control, COLORREF colour) {
    auto within = [](int a, int b) { return a - b < 32 && b - a < 32; };
    RECT r;
    GetWindowRect(control, &r);
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) {
            const COLORREF pixel = ScreenPixel(x, y);
            if (within(GetRValue(pixel), GetRValue(colour)) && within(GetGValue(pixel), GetGValue(colour)) &&
                within(GetBValue(pixel), GetBValue(colour)))
                return true;
        }
    return false;
}

TEST_F(NightcapOnline, CurrentVersionAtStartUpShowsNothingAndStartsNothing) {
    const size_t before = Count(kVersionCheck);
    ASSERT_TRUE(nc.Start(kShippedConfig));
    ASSERT_TRUE(PanelFilled());  // the lookups after the version check have their answers
    EXPECT_EQ(Count(kVersionCheck), before + 1);
    EXPECT_EQ(nc.Text(透明标签_版本号), "版本：1.002");
    EXPECT_EQ(nc.UpdaterStarts(), "");
    EXPECT_EQ(BalloonShowing(L"已经是最新版本！"), nullptr);
}

TEST_F(NightcapOnline, VersionLabelChecksOnReleaseAndTellsWhenUpToDate) {
    ASSERT_TRUE(nc.Start(kShippedConfig));
    HWND label = nc.Control(透明标签_版本号);
    const size_t before = Count(kVersionCheck);
    PostMessageA(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_TRUE(nc.WaitForText(透明标签_版本号, "检测更新……"));
    EXPECT_EQ(Count(kVersionCheck), before);  // not yet: on release
    PostMessageA(label, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(WaitUntil([&] { return BalloonShowing(L"已经是最新版本！") != nullptr; }));
    EXPECT_EQ(Count(kVersionCheck), before + 1);
    EXPECT_EQ(nc.Text(透明标签_版本号), "版本：1.002");
    EXPECT_EQ(nc.UpdaterStarts(), "");
}

TEST_F(NightcapOnline, AnyOtherReplyStartsTheUpdaterInItsFolder) {
    for (const char* reply : {"1.003", "1.002\r\n"}) {
        SCOPED_TRACE(reply);
        NightcapUnderTest other;
        other.UseServers("127.0.0.1:" + std::to_string(server.Port()));
        ASSERT_TRUE(other.InstallUpdaterStandIn());
        Serve(kVersionCheck, reply);
        ASSERT_TRUE(other.Start(kShippedConfig));
        const std::wstring folder = other.Folder().Path();
        ASSERT_TRUE(WaitUntil([&] { return !other.UpdaterStarts().empty(); }));
        EXPECT_EQ(other.UpdaterStarts(), " -1|" + std::string(folder.begin(), folder.end()) + "\\update\r\n");
        EXPECT_TRUE(other.Process().Running());
        other.Command(菜单_结束);
        EXPECT_TRUE(other.Process().WaitExit(10000));
    }
}

TEST_F(NightcapOnline, PingAnsweredOneChecksTheVersionAndStartsTheUpdaterOnce) {
    ASSERT_TRUE(nc.Start(kShippedConfig));
    ASSERT_TRUE(PanelFilled());
    // The 30-minute timer's tick, as the system would post it. "1" while up to date starts nothing.
    Serve(kUpdatePing, "1");
    size_t checks = Count(kVersionCheck);
    PostMessageA(nc.Main(), WM_TIMER, 时钟_呼起, 0);
    ASSERT_TRUE(WaitForRequests(kVersionCheck, checks));
    // A newer version published: the next "1" starts the updater as the start-up check does.
    Serve(kVersionCheck, "1.003");
    checks = Count(kVersionCheck);
    PostMessageA(nc.Main(), WM_TIMER, 时钟_呼起, 0);
    ASSERT_TRUE(WaitForRequests(kVersionCheck, checks));
    ASSERT_TRUE(WaitUntil([&] { return !nc.UpdaterStarts().empty(); }));
    EXPECT_EQ(nc.UpdaterStarts(), " -1|" + FolderA() + "\\update\r\n");
}

// Error pages for the version check and every lookup: nothing is shown as data and no updater starts.
TEST_F(NightcapOnline, ErrorPagesAreNoAnswers) {
    for (int status : {404, 502}) {
        SCOPED_TRACE(status);
        const std::pair<const char*, const char*> pages[] = {{kVersionCheck, "1.003"},
                                                             {"/ic.asp", kIpPage},
                                                             {"/shenzhen", kAirPage},
                                                             {"/data/cityinfo/101280601.html", kWeatherData}};
        for (const auto& page : pages) EXPECT_TRUE(server.SetReply(page.first, "", page.second, status));
        NightcapUnderTest other;
        other.UseServers("127.0.0.1:" + std::to_string(server.Port()));
        ASSERT_TRUE(other.InstallUpdaterStandIn());
        ASSERT_TRUE(other.Start(kShippedConfig));
        ASSERT_TRUE(other.WaitForText(透明标签_天气1, "-"));  // the panel of no answers
        EXPECT_EQ(other.Text(透明标签_城市), "");
        EXPECT_EQ(other.Text(透明标签_天气2), "空气质量：优质");
        other.Command(菜单_结束);
        EXPECT_TRUE(other.Process().WaitExit(10000));
        EXPECT_EQ(other.UpdaterStarts(), "");
    }
}

// The paths of a start-up, for the tests of servers that take requests and do not answer.
const char* const kStartUpPaths[] = {kVersionCheck, kUpdatePing, kInstallReport, kTimePage,
                                     "/ic.asp", "/shenzhen", "/data/cityinfo/101280601.html"};

// Servers that take every request and say nothing, or answer a byte a second: the window shows and answers,
// a schedule can be armed, and closing ends the program at once with its settings saved; nothing is started.
TEST_F(NightcapOnline, SilentOrSlowServersHoldNothingUp) {
    // Longer than a byte a second can bring within the request limit; as a version reply it would start the
    // updater.
    const std::string reply = "1.003" + std::string(25, ' ');
    for (bool slow : {false, true}) {
        SCOPED_TRACE(slow ? "slow" : "silent");
        for (const char* path : kStartUpPaths)
            EXPECT_TRUE(slow ? server.SetSlowReply(path, reply) : server.SetHeldReply(path, reply));
        NightcapUnderTest other;
        other.UseServers("127.0.0.1:" + std::to_string(server.Port()));
        ASSERT_TRUE(other.InstallUpdaterStandIn());
        ASSERT_TRUE(other.Start(kShippedConfig, "2013-06-27 10:00:00"));
        ASSERT_TRUE(WaitForRequests(kVersionCheck, 0));
        DWORD_PTR answer = 0;
        EXPECT_TRUE(SendMessageTimeoutA(other.Main(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &answer));
        other.Click(透明标签_切换2);
        other.SetText(标签_时, "02");
        other.Click(按钮_执行);
        EXPECT_TRUE(other.WaitForText(透明标签_时间, "剩余时间：2小时30分钟后将自动关机！"));
        other.Command(菜单_结束);
        // Promptly: well within the time a stalled request is given.
        EXPECT_TRUE(other.Process().WaitExit(5000));
        EXPECT_NE(other.Config().find("[set]\r\ntime=1\r\nhour=02\r\nmin=30\r\n"), std::string::npos);
        EXPECT_EQ(other.UpdaterStarts(), "");
        for (const char* path : kStartUpPaths) server.Release(path);
    }
}

// Once a silent server answers, the panel fills; a click on the version label meanwhile sends no second
// check, and the one under way tells the user.
TEST_F(NightcapOnline, PanelFillsWhenSilentServersAnswer) {
    ASSERT_TRUE(ServeCannedOnlineReplies(server, /*held=*/true));
    const size_t checks = Count(kVersionCheck);
    ASSERT_TRUE(nc.Start(kShippedConfig));
    ASSERT_TRUE(WaitForRequests(kVersionCheck, checks));
    HWND label = nc.Control(透明标签_版本号);
    PostMessageA(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageA(label, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(nc.WaitForText(透明标签_版本号, "版本：1.002"));
    EXPECT_EQ(nc.Text(透明标签_城市), "");
    // The time page stays silent: its balloon would take the place of the version check's.
    for (const char* path : {kVersionCheck, "/ic.asp", "/shenzhen", "/data/cityinfo/101280601.html"})
        server.Release(path);
    ASSERT_TRUE(PanelFilled());
    EXPECT_EQ(nc.Text(透明标签_城市), "深圳");
    EXPECT_TRUE(WaitUntil([&] { return BalloonShowing(L"已经是最新版本！") != nullptr; }));
    EXPECT_EQ(Count(kVersionCheck), checks + 1);
    EXPECT_EQ(nc.UpdaterStarts(), "");
}

// The address the program should report: the first adapter whose address is not all zeros.
std::string ExpectedAdapterAddress() {
    ULONG size = 0;
    if (GetAdaptersInfo(nullptr, &size) != ERROR_BUFFER_OVERFLOW) return "";
    std::vector<unsigned char> buffer(size);
    auto* list = reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data());
    if (GetAdaptersInfo(list, &size) != NO_ERROR) return "";
    for (const IP_ADAPTER_INFO* a = list; a; a = a->Next) {
        char text[32];
        wsprintfA(text, "%02X-%02X-%02X-%02X-%02X-%02X", a->Address[0], a->Address[1], a->Address[2], a->Address[3],
                  a->Address[4], a->Address[5]);
        std::string address = text;
        if (address == "00-00-00-00-00-00") continue;
        std::string digits;
        for (char c : address)
            if (c != '-') digits += c;
        return digits;
    }
    return "";
}

TEST_F(NightcapOnline, InstallationReportCarriesTheAddressAndCheckValue) {
    const size_t before = Count(kInstallReport);
    ASSERT_TRUE(nc.Start(kShippedConfig));
    ASSERT_TRUE(WaitForRequests(kInstallReport, before));
    const std::vector<RecordedRequest> requests = server.Requests(kInstallReport);
    ASSERT_EQ(requests.size(), before + 1);
    const std::string address = ExpectedAdapterAddress();
    const std::string salted = "2" + address + "7QKRT#2HW%";
    EXPECT_EQ(requests.back().target, std::string(kInstallReport) + "?p_id=" NIGHTCAP_CHANNEL_PRODUCT_ID "&macAdd=" +
                                          address + "&chk=" + Md5Digest::Hex(salted.data(), salted.size(), false));
    EXPECT_EQ(requests.back().method, "POST");
}

TEST_F(NightcapOnline, TimeReplyReachesTheClockAsUtcAndIsAnnounced) {
    ASSERT_TRUE(nc.Start(kShippedConfig));
    ASSERT_TRUE(WaitUntil([&] { return !nc.ClockLog().empty(); }));
    EXPECT_EQ(nc.ClockLog(), "SetSystemTime 2013-06-26 19:10:05.000 65535\r\n");
    EXPECT_TRUE(WaitUntil([&] { return BalloonShowing(L"您的电脑已校准为标准北京时间！") != nullptr; }));
}

TEST_F(NightcapOnline, PanelShowsCityWeatherRangeAndAirQuality) {
    ASSERT_TRUE(CopyFileTo(BuildFolder() + L"\\today.png", nc.Folder() / L"today.png"));
    ASSERT_TRUE(nc.Start(kShippedConfig));
    ASSERT_TRUE(PanelFilled());
    EXPECT_EQ(nc.Text(透明标签_城市), "深圳");
    EXPECT_EQ(nc.Text(透明标签_天气), "多云");
    EXPECT_EQ(nc.Text(透明标签_天气1), "22℃-28℃");
    // Drawn on screen: the band's colour in the air-quality line, the picture's sun in the picture box.
    SetForegroundWindow(nc.Main());
    EXPECT_TRUE(WaitUntil([&] { return ControlShowsColour(nc.Control(透明标签_天气2), RGB(234, 176, 0)); }));
    EXPECT_TRUE(WaitUntil([&] { return ControlShowsColour(nc.Control(图片框_天气), RGB(255, 196, 0)); }));
    // For the README (tools/screenshot-nightcap.sh copies it into docs/).
    ASSERT_TRUE(SaveScreenshot(nc.Main(), BuildFolder() + L"\\nightcap-weather.png"));
}

TEST(NightcapOffline, StartsStaysAndShowsTheEmptyPanel) {
    NightcapUnderTest nc;  // every server on a port where nothing listens
    ASSERT_TRUE(nc.InstallUpdaterStandIn());
    ASSERT_TRUE(nc.Start(kShippedConfig));
    EXPECT_TRUE(nc.WaitForText(透明标签_天气2, "空气质量：优质"));
    EXPECT_EQ(nc.Text(透明标签_城市), "");
    EXPECT_EQ(nc.Text(透明标签_天气), "");
    EXPECT_EQ(nc.Text(透明标签_天气1), "-");
    EXPECT_EQ(nc.Text(透明标签_版本号), "版本：1.002");
    EXPECT_TRUE(WaitUntil([&] { return ControlShowsColour(nc.Control(透明标签_天气2), RGB(0, 174, 20)); }));
    // No updater, at start-up or after a click on the version label; the program is still there.
    HWND label = nc.Control(透明标签_版本号);
    PostMessageA(label, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    PostMessageA(label, WM_LBUTTONUP, 0, 0);
    EXPECT_TRUE(nc.WaitForText(透明标签_版本号, "版本：1.002"));
    EXPECT_EQ(nc.UpdaterStarts(), "");
    EXPECT_TRUE(nc.Process().Running());
    EXPECT_TRUE(IsWindowVisible(nc.Main()));
    EXPECT_EQ(nc.ClockLog(), "");
}

}  // namespace
