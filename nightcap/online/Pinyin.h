// Pinyin of GBK texts, for the air-quality site's page names.
#pragma once
#include <string>
#include <string_view>

namespace nightcap {

// The first reading of each GB2312 Hanzi of the text, joined without separators (深圳 gives shenzhen);
// every other character contributes nothing.
std::string FirstReadingPinyin(std::string_view text);

// The air-quality page name of a city: its real pinyin. The first readings get some city names wrong
// (重庆 is chongqing, not zhongqing); those names are corrected from a short list.
std::string AirQualityPageName(std::string_view city);

}  // namespace nightcap
