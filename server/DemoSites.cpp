#include "server/DemoSites.h"

#include "server/GetAndPost.h"

#include <ctime>

namespace server {

std::string DemoTimePage(int64_t utcSeconds) {
    const time_t beijing = static_cast<time_t>(utcSeconds + 8 * 3600);
    tm t{};
    gmtime_r(&beijing, &t);
    // The minute element is spelled "minite", as the real page spells it.
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<ntsc><time>"
           "<year>" + std::to_string(t.tm_year + 1900) + "</year>"
           "<month>" + std::to_string(t.tm_mon + 1) + "</month>"
           "<day>" + std::to_string(t.tm_mday) + "</day>"
           "<hour>" + std::to_string(t.tm_hour) + "</hour>"
           "<minite>" + std::to_string(t.tm_min) + "</minite>"
           "<second>" + std::to_string(t.tm_sec) + "</second>"
           "</time><note>demo data: this server's own clock</note></ntsc>\r\n";
}

std::string DemoIpPage() {
    // GBK: <title>IP 查询（演示数据）</title> ... <center>您的IP是：[127.0.0.1] 来自：广东省深圳市 电信</center>
    return "<html><head><title>IP \xb2\xe9\xd1\xaf\xa3\xa8\xd1\xdd\xca\xbe\xca\xfd\xbe\xdd\xa3\xa9</title></head>"
           "<body><center>\xc4\xfa\xb5\xc4IP\xca\xc7\xa3\xba[127.0.0.1] "
           "\xc0\xb4\xd7\xd4\xa3\xba\xb9\xe3\xb6\xab\xca\xa1\xc9\xee\xdb\xda\xca\xd0 \xb5\xe7\xd0\xc5</center>"
           "</body></html>";
}

std::string DemoAirPage() {
    // The product cuts the index out of the text after "数值单位", in a window as long as the position of
    // "AQI": the number follows the last "</div>" in that window, and no ">" may follow it there.
    return u8"<html><head><meta charset=\"utf-8\"><title>空气质量（演示数据）</title></head><body>"
           u8"<h1>深圳空气质量指数 AQI（演示数据）</h1>"
           u8"<div class=\"value\"><div class=\"unit\">数值单位：微克每立方米</div>68 这是演示数据，不是实测值。"
           u8"演示服务器对每个城市都给出同一个数值，只为让面板有内容可显示。"
           u8"</div></body></html>";
}

std::string DemoWeatherData(const std::string& cityCode) {
    return u8"{\"weatherinfo\":{\"city\":\"演示数据\",\"cityid\":\"" + cityCode +
           u8"\",\"temp1\":\"29℃\",\"temp2\":\"22℃\",\"weather\":\"多云\",\"img1\":\"d1.gif\","
           u8"\"img2\":\"n1.gif\",\"ptime\":\"08:00\"}}";
}

void InstallDemoSites(HttpServer& server, std::function<int64_t()> clock) {
    auto both = [&server](const std::string& pattern, const HttpServer::Handler& handler) {
        GetAndPost(server, pattern, handler);
    };
    both("/timeflash\\.asp", [clock](const httplib::Request&, httplib::Response& res) {
        res.set_content(DemoTimePage(clock ? clock() : static_cast<int64_t>(time(nullptr))),
                        "text/xml; charset=utf-8");
    });
    both("/ic\\.asp", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(DemoIpPage(), "text/html; charset=gb2312");
    });
    both("/data/cityinfo/([0-9]{0,9})\\.html", [](const httplib::Request& req, httplib::Response& res) {
        res.set_content(DemoWeatherData(req.matches[1]), "text/html; charset=utf-8");
    });
    // The air-quality site names its pages by the city's pinyin: one segment of lower-case letters.
    both("/([a-z]{1,64})", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(DemoAirPage(), "text/html; charset=utf-8");
    });
}

}  // namespace server
