// Outside data that reaches Nightcap's online text rules: reply headers and dates, page text, URLs,
// cookie texts, escaped and Base64 texts, host settings, the weather panel's pages and the time reply.
// Each rule gets the input whole; the cookie lookup, the link cut and the text cut also get it split in
// two at the first zero byte.
#include "common/ServerHosts.h"
#include "nightcap/online/Base64.h"
#include "nightcap/online/CityCodeTable.h"
#include "nightcap/online/CookieText.h"
#include "nightcap/online/HttpDate.h"
#include "nightcap/online/NetworkTime.h"
#include "nightcap/online/PageLinks.h"
#include "nightcap/online/Pinyin.h"
#include "nightcap/online/RequestHeaders.h"
#include "nightcap/online/TextCuts.h"
#include "nightcap/online/TextEscapes.h"
#include "nightcap/online/UrlPieces.h"
#include "nightcap/online/WeatherRules.h"

#include <cstddef>
#include <cstdint>
#include <string>

using namespace nightcap;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const size_t split = input.find('\0');
    const std::string first = input.substr(0, split);
    const std::string second = split == std::string::npos ? std::string() : input.substr(split + 1);

    if (const std::optional<double> date = ParseHttpDateText(input)) FormatCookieDate(*date);
    FormatCookieDate(size ? double(int8_t(data[0])) * 1e5 + size : 0.0);
    UrlHost(input);
    UrlPort(input);
    UrlPath(input);
    if (const std::optional<LinkBases> bases = LinkBasesOf(first)) LinksOf(second, *bases);
    ReplyCookies(input);
    CookieValue(first, second);
    std::string headers = first;
    CompleteRequestHeaders(headers, second);
    ChooseServerHost(first.c_str(), "built.in");

    UrlDecode(input);
    std::string hex = input;
    HexDecodeText(hex);
    UnescapeBytes(input);
    const Bytes bytes(input.begin(), input.end());
    HexToBytes(bytes);
    Bytes decoded = Base64Decode(bytes);
    Base64Encode(decoded);

    TextBetween(input, first, second);
    TextBetween(second, first.substr(0, 2), first.substr(first.size() / 2));
    const std::string city = CityFromIpPage(input);
    CityCodeOf(city);
    CityCodeOf(first);
    AirQualityPageName(city);
    FirstReadingPinyin(input);
    AirQualityBandOf(AirQualityIndexFromPage(input));
    WeatherFromData(input);
    if (const std::optional<ClockFields> beijing = ReadTimeReply(bytes)) BeijingToUtc(*beijing);
    return 0;
}
