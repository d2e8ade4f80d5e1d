// The demo stand-ins answer only with --demo, in the shapes the product cuts its panel out of: they are read
// here with Nightcap's own page rules.
#include "nightcap/online/NetworkTime.h"
#include "nightcap/online/WeatherRules.h"
#include "tests/server/ServerProcess.h"

#include <gtest/gtest.h>

#include <iconv.h>

using namespace nightcap;

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

TEST(DemoSitesTest, OffWithoutTheSwitch) {
    ScratchFolder scratch;
    ServerProcess server(scratch.Path() / "data");
    for (const char* path : {"/timeflash.asp?user=flash", "/ic.asp", "/shenzhen", "/data/cityinfo/101280601.html"})
        EXPECT_EQ(server.Get(path)->status, 404) << path;
}

TEST(DemoSitesTest, FillThePanelByTheProductsOwnRules) {
    ScratchFolder scratch;
    ServerProcess server(scratch.Path() / "data", {"--demo"});
    // Time page: Beijing time of the server's clock (19:10:05 UTC on 26 June 2013).
    const auto time = server.Post(kTimePagePath);
    ASSERT_TRUE(time);
    const auto fields = ReadTimeReply(BytesOf(time->body));
    ASSERT_TRUE(fields);
    EXPECT_EQ(*fields, (ClockFields{2013, 6, 27, 3, 10, 5}));
    EXPECT_EQ(BeijingToUtc(*fields), (ClockFields{2013, 6, 26, 19, 10, 5}));
    // IP page (GBK as sent).
    const auto ip = server.Post(kIpLookupPath);
    ASSERT_TRUE(ip);
    EXPECT_EQ(CityFromIpPage(ip->body), Gbk("深圳"));
    // Air quality and weather come as UTF-8, which the product turns into GBK before it cuts them.
    const auto air = server.Get("/shenzhen");
    ASSERT_TRUE(air);
    EXPECT_EQ(AirQualityIndexFromPage(Gbk(air->body)), 68);
    EXPECT_NE(air->body.find("演示数据"), std::string::npos);
    const auto weather = server.Get(std::string(kWeatherDataPath) + "101280601.html");
    ASSERT_TRUE(weather);
    const WeatherReport report = WeatherFromData(Gbk(weather->body));
    EXPECT_EQ(report.weather, Gbk("多云"));
    EXPECT_EQ(report.temperatureRange, Gbk("22℃-29℃"));
    // The stats page says the server runs with demo data.
    EXPECT_NE(server.Get("/stats")->body.find("Demo mode"), std::string::npos);
}

}  // namespace
