// What the loopback server answers a Nightcap that finds itself up to date and in Shenzhen: the version check,
// the update ping, the installation report, the time page, the IP page, the air-quality page and the weather.
// Include it only where narrow literals are GBK, as in Nightcap.
#pragma once
#include <utility>

#include "common/ReleaseChannel.h"
#include "ProductVersion.h"
#include "tools/test-http-server/LoopbackServer.h"

inline constexpr char kVersionCheck[] =
    "/pm/sd_mgr/pts/web/sd_version_sign.php?p_id=" NIGHTCAP_CHANNEL_PRODUCT_ID "&f_id=&RequestType=1";
inline constexpr char kUpdatePing[] =
    "/pm/sd_mgr/pts/web/sd_version_sign.php?p_id=" NIGHTCAP_CHANNEL_PRODUCT_ID "&RequestType=2";
inline constexpr char kInstallReport[] = "/pm/sd_mgr/pts/web/pm_usage.php";
inline constexpr char kTimePage[] = "/timeflash.asp";

// The canned pages: the IP page in GBK, the air-quality page and the weather data in UTF-8.
inline constexpr char kIpPage[] = "<html><body><center>您的IP是：[127.0.0.1] 来自：广东省深圳市 电信</center></body></html>";
// "AQI" stands at byte 20 once in GBK, so the part cut from "数值单位" ends just after the index.
inline constexpr char kAirPage[] = u8"<title>深圳空气质量AQI</title><div>数值单位</div><b>85</b></div>";
inline constexpr char kWeatherData[] =
    u8"{\"weatherinfo\":{\"city\":\"深圳\",\"cityid\":\"101280601\",\"temp1\":\"28℃\",\"temp2\":\"22℃\","
    u8"\"weather\":\"多云\",\"img1\":\"d1.gif\",\"img2\":\"n1.gif\",\"ptime\":\"08:00\"}}";
inline constexpr char kTimeReply[] =
    "<?xml version=\"1.0\"?><ntsc><time><year>2013</year><month>6</month><day>27</day><hour>3</hour>"
    "<minite>10</minite><second>5</second></time></ntsc>";

// Every reply above at its path; false when the server did not take one. Held: the server takes the
// requests and answers none until each path is released.
inline bool ServeCannedOnlineReplies(LoopbackServer& server, bool held = false) {
    const std::pair<const char*, const char*> replies[] = {
        {kVersionCheck, NIGHTCAP_VERSION_TEXT},  {kUpdatePing, "0"},    {kInstallReport, "ok"},
        {kTimePage, kTimeReply},   {"/ic.asp", kIpPage}, {"/shenzhen", kAirPage},
        {"/data/cityinfo/101280601.html", kWeatherData}};
    for (const auto& reply : replies)
        if (!(held ? server.SetHeldReply(reply.first, reply.second) : server.SetReply(reply.first, "", reply.second)))
            return false;
    return true;
}
