// The built-in table of city codes of the weather service: 175 entries "<" + 9-digit code + ">" + name.
#pragma once
#include <string>
#include <string_view>

namespace nightcap {

extern const char kCityCodeTable[];

// The code of the entry where the city first occurs in the table (for a whole name, the 9 bytes that start
// 10 bytes before it; for a part of a name, such as a one-character city, the code of the first entry that
// contains it); empty for an empty city or one the table lacks.
std::string CityCodeOf(std::string_view city);

}  // namespace nightcap
