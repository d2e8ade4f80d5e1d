#include "nightcap/online/WeatherRules.h"

#include <algorithm>
#include <climits>

#include "nightcap/online/TextCuts.h"

namespace nightcap {

const char kIpLookupPath[] = "/ic.asp";
const char kWeatherDataPath[] = "/data/cityinfo/";

namespace {

// 1-based position of the first occurrence, -1 when absent.
long PositionOf(std::string_view text, std::string_view needle) {
    const size_t at = FindWholeCharacters(text, needle);
    return at == std::string_view::npos ? -1 : static_cast<long>(at) + 1;
}

long LastPositionOf(std::string_view text, std::string_view needle) {
    const size_t at = FindLastWholeCharacters(text, needle);
    return at == std::string_view::npos ? -1 : static_cast<long>(at) + 1;
}

// count bytes of text from the 1-based position start, as far as the text goes; empty when start is not
// inside the text or count is not positive.
std::string_view Piece(std::string_view text, long start, long count) {
    if (start < 1 || count < 1 || start > static_cast<long>(text.size())) return {};
    return text.substr(static_cast<size_t>(start - 1), static_cast<size_t>(count));
}

// A decimal number as a page writes it: blanks skipped, an optional sign, digits with an optional fraction;
// reading stops at the first character that cannot continue it. Truncated toward zero, 0 when nothing is read.
int ReadNumber(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\n')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    long long whole = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        whole = std::min<long long>(whole * 10 + (text[i] - '0'), INT_MAX);  // the fraction is cut off anyway
    return static_cast<int>(negative ? -whole : whole);
}

}  // namespace

std::string CityFromIpPage(std::string_view page) {
    const std::string location = TextBetween(page, "来自：", "</center>");
    return TextBetween(location, "省", "市");
}

int AirQualityIndexFromPage(std::string_view page) {
    const long a = PositionOf(page, "AQI");
    const long u = PositionOf(page, "数值单位");
    const std::string_view v = Piece(page, u, a);
    const long d = LastPositionOf(v, "</div>");
    const long g = LastPositionOf(v, ">");
    return ReadNumber(Piece(v, g + 1, d));
}

WeatherReport WeatherFromData(std::string_view data) {
    std::string text(data);
    text.erase(std::remove(text.begin(), text.end(), '"'), text.end());  // never a second byte of GBK
    WeatherReport report;
    report.weather = TextBetween(text, "weather:", ",");
    report.temperatureRange = TextBetween(text, "temp2:", ",") + "-" + TextBetween(text, "temp1:", ",");
    return report;
}

AirQualityBand AirQualityBandOf(int index) {
    if (index <= 50) return {"空气质量：优质", 0, 174, 20};
    if (index <= 100) return {"空气质量：良好", 234, 176, 0};
    if (index <= 150) return {"空气质量：轻度", 234, 121, 0};
    if (index <= 200) return {"空气质量：中度", 254, 60, 0};
    if (index <= 300) return {"空气质量：重度", 197, 46, 0};
    return {"空气质量：严重", 138, 32, 0};
}

}  // namespace nightcap
