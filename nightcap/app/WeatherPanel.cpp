// The weather panel: the city from the IP-lookup page, its air quality and weather, looked up once at
// start-up on a background thread, and the panel's labels and picture filled from them when they come.
#include <windows.h>

#include "common/ServerHosts.h"
#include "nightcap/app/ControlText.h"
#include "nightcap/app/OnlineHooks.h"
#include "nightcap/app/ProgramHttp.h"
#include "nightcap/app/SkinHooks.h"
#include "nightcap/online/CityCodeTable.h"
#include "nightcap/online/Pinyin.h"
#include "nightcap/online/TextCodec.h"
#include "nightcap/online/WeatherRules.h"

namespace nightcap {

namespace {

std::string FileBytes(const std::string& path) {
    UniqueHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::string();
    LARGE_INTEGER size;
    constexpr LONGLONG kLargestPicture = 16 << 20;
    if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart <= 0 || size.QuadPart > kLargestPicture)
        return std::string();
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!ReadFile(file.Get(), &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr)) return std::string();
    bytes.resize(read);
    return bytes;
}

std::string PageText(ServerRole role, const std::string& pathAndQuery) {
    return TextCodec::Utf8ToText(ProgramHttp().XmlHttpGetBytes(ServerUrl(role, pathAndQuery)));
}

// City, picture, weather, range, and the air-quality line in its band's colour.
void FillWeatherPanel(NightcapApp& app) {
    const WeatherFindings& found = app.online.found;
    SetControlText(app.main.透明标签_城市, found.city);
    ShowWeatherPicture(app, FileBytes(ProgramFolder() + "\\today.png"));
    SetControlText(app.main.透明标签_天气, found.weather);
    SetControlText(app.main.透明标签_天气1, found.temperatureRange);
    const AirQualityBand band = AirQualityBandOf(found.airQualityIndex);
    app.airQualityColour = RGB(band.red, band.green, band.blue);
    SetControlText(app.main.透明标签_天气2, band.text);
    RepaintUnder(app.main.透明标签_天气2);  // the colour may change with the same text
}

}  // namespace

WeatherFindings LookUpLocationAndWeather() {
    WeatherFindings found;
    found.city = CityFromIpPage(ProgramHttp().PostText(ServerUrl(ServerRole::IpLookup, kIpLookupPath)));
    found.cityCode = CityCodeOf(found.city);
    found.airQualityIndex = AirQualityIndexFromPage(PageText(ServerRole::AirQuality, "/" + AirQualityPageName(found.city)));
    const WeatherReport weather =
        WeatherFromData(PageText(ServerRole::Weather, kWeatherDataPath + found.cityCode + ".html"));
    found.weather = weather.weather;
    found.temperatureRange = weather.temperatureRange;
    return found;
}

void OnWeatherFound(NightcapApp& app, const WeatherFindings& found) {
    app.online.found = found;
    FillWeatherPanel(app);
}

}  // namespace nightcap
