// The demo stand-ins answer only with --demo, in the shapes the product cuts its panel out of.
#include "ManifestReading.h"
#include "ServerProcess.h"
#include "XmlDocument.h"
#include "XmlPath.h"

#include <gtest/gtest.h>

#include <iconv.h>

namespace {

std::string Gbk(const std::string& utf8) {
    iconv_t convert = iconv_open("GBK", "UTF-8");
    std::string in = utf8, out(utf8.size() * 2 + 16, '\0');
    char* source = in.data();
    char* target = out.data();
    size_t left = in.size(), room = out.size();
    iconv(convert, &source, &left, &target, &room);
    iconv_close(convert);
    out.resize(out.size() - room);
    return out;
}

// The product's cut of the air-quality index out of a page (in GBK, positions from 1, -1 when absent).
int CutAirIndex(const std::string& page) {
    auto position = [](const std::string& text, const std::string& what) {
        const size_t at = text.find(what);
        return at == std::string::npos ? -1L : long(at) + 1;
    };
    const long a = position(page, "AQI"), u = position(page, Gbk("数值单位"));
    const std::string v = (a > 0 && u > 0) ? page.substr(size_t(u - 1), size_t(a)) : std::string();
    const size_t lastDiv = v.rfind("</div>"), lastClose = v.rfind('>');
    if (lastDiv == std::string::npos || lastClose == std::string::npos || lastClose + 1 >= v.size())
        return 0;
    return std::atoi(v.substr(lastClose + 1, lastDiv + 1).c_str());
}

std::string TextBetween(const std::string& text, const std::string& open, const std::string& close) {
    const size_t start = text.find(open);
    if (start == std::string::npos)
        return {};
    const size_t end = text.find(close, start + open.size());
    return end == std::string::npos ? std::string() : text.substr(start + open.size(), end - start - open.size());
}

TEST(DemoSitesTest, OffWithoutTheSwitch) {
    ScratchFolder scratch;
    ServerProcess server(scratch.Path() / "data");
    for (const char* path : {"/timeflash.asp?user=flash", "/ic.asp", "/shenzhen", "/data/cityinfo/101280601.html"})
        EXPECT_EQ(server.Get(path)->status, 404) << path;
}

TEST(DemoSitesTest, FillThePanelTheWayTheProductCutsIt) {
    ScratchFolder scratch;
    ServerProcess server(scratch.Path() / "data", {"--demo"});
    // Time page: Beijing time of the server's clock (19:10:05 UTC on 26 June 2013).
    const auto time = server.Post("/timeflash.asp?user=flash");
    ASSERT_TRUE(time);
    XmlDocument document;
    document.LoadBytes(time->body.data(), time->body.size());
    const std::pair<const char16_t*, const char*> expected[] = {
        {u"@1/@1/year", "2013"}, {u"@1/@1/month", "6"},   {u"@1/@1/day", "27"},
        {u"@1/@1/hour", "3"},    {u"@1/@1/minite", "10"}, {u"@1/@1/second", "5"}};
    for (const auto& [path, text] : expected) {
        const auto value = PathText(document, path);
        ASSERT_TRUE(value) << Utf8(path);
        EXPECT_EQ(Utf8(*value), text);
    }
    // IP page (GBK): the location between "来自：" and "</center>", the city between "省" and "市".
    const std::string ip = server.Post("/ic.asp")->body;
    const std::string location = TextBetween(ip, Gbk("来自："), "</center>");
    EXPECT_EQ(location, Gbk("广东省深圳市 电信"));
    EXPECT_EQ(TextBetween(location, Gbk("省"), Gbk("市")), Gbk("深圳"));
    // Air quality (UTF-8, cut after conversion to GBK).
    const auto air = server.Get("/shenzhen");
    ASSERT_TRUE(air);
    EXPECT_EQ(CutAirIndex(Gbk(air->body)), 68);
    EXPECT_NE(air->body.find("演示数据"), std::string::npos);
    // Weather: members cut as text once the quotes are gone.
    std::string weather = Gbk(server.Get("/data/cityinfo/101280601.html")->body);
    weather.erase(std::remove(weather.begin(), weather.end(), '"'), weather.end());
    EXPECT_EQ(TextBetween(weather, "weather:", ","), Gbk("多云"));
    EXPECT_EQ(TextBetween(weather, "temp2:", ",") + "-" + TextBetween(weather, "temp1:", ","), Gbk("22℃-29℃"));
    // The stats page says the server runs with demo data.
    EXPECT_NE(server.Get("/stats")->body.find("Demo mode"), std::string::npos);
}

}  // namespace
