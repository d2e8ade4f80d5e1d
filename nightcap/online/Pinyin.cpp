#include "nightcap/online/Pinyin.h"

#include "nightcap/online/PinyinTable.h"

namespace nightcap {

namespace {

// Cities of the city code table whose characters are read otherwise there than their first readings say.
struct NameReading {
    const char* name;
    const char* pinyin;
};
const NameReading kCityReadings[] = {
    {"阿勒泰", "aletai"},   {"长治", "changzhi"},   {"长春", "changchun"}, {"昌都", "changdu"},
    {"成都", "chengdu"},    {"重庆", "chongqing"},  {"长沙", "changsha"},  {"喀什", "kashi"},
    {"库尔勒", "kuerle"},   {"厦门", "xiamen"},     {"柏林", "bolin"},     {"布鲁塞尔", "buluseer"},
};

bool IsLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

}  // namespace

std::string FirstReadingPinyin(std::string_view text) {
    std::string pinyin;
    for (size_t i = 0; i < text.size();) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        if (!IsLeadByte(lead) || i + 1 == text.size()) {
            ++i;
            continue;
        }
        const unsigned char trail = static_cast<unsigned char>(text[i + 1]);
        i += 2;
        if (lead < kGb2312FirstRow || lead > kGb2312LastRow || trail < kGb2312FirstCell || trail > kGb2312LastCell)
            continue;
        pinyin += kGb2312FirstReadings[(lead - kGb2312FirstRow) * kGb2312CellsPerRow + (trail - kGb2312FirstCell)];
    }
    return pinyin;
}

std::string AirQualityPageName(std::string_view city) {
    for (const NameReading& reading : kCityReadings)
        if (city == reading.name) return reading.pinyin;
    return FirstReadingPinyin(city);
}

}  // namespace nightcap
