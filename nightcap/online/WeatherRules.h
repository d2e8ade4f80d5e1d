// The rules by which the weather panel cuts its three outside pages: the IP-lookup page (the city), the
// air-quality page (the index) and the weather data (the weather and the day's temperature range), and
// the band of the air-quality line. Texts are GBK.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace nightcap {

// Request paths (the hosts are server settings).
extern const char kIpLookupPath[];      // "/ic.asp"
extern const char kWeatherDataPath[];   // "/data/cityinfo/"; the city code and ".html" follow

// The location between "来自：" and "</center>", then the city between "省" and "市" in it
// (广东省深圳市 电信 gives 深圳; without "省", 北京市 联通 gives 北京).
std::string CityFromIpPage(std::string_view page);

// The number just before the last "</div>" of the part of the page that starts at "数值单位" (as many bytes
// as "AQI" stands from the page's start); 0 when nothing is found.
int AirQualityIndexFromPage(std::string_view page);

struct WeatherReport {
    std::string weather;           // "晴"
    std::string temperatureRange;  // temp2 + "-" + temp1: "-10℃--2℃"
};
// The members "weather", "temp1" and "temp2" of the weather data, cut as text once the double quotes are
// gone: each runs from "name:" to the next ",", so a last member (no comma after it) is empty.
WeatherReport WeatherFromData(std::string_view data);

struct AirQualityBand {
    const char* text;  // "空气质量：优质" ...
    uint8_t red, green, blue;
};
// Up to 50 (and below), 51-100, 101-150, 151-200, 201-300, above 300.
AirQualityBand AirQualityBandOf(int index);

}  // namespace nightcap
