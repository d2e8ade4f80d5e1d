#include "server/ByteRanges.h"

#include <limits>

namespace server {

namespace {

// Decimal digits only; a number beyond uint64_t stays at its largest value (still past any real end).
bool ReadNumber(std::string_view text, uint64_t& value) {
    if (text.empty() || text.size() > 64)
        return false;
    value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
        const uint64_t digit = static_cast<uint64_t>(c - '0');
        constexpr uint64_t kMax = std::numeric_limits<uint64_t>::max();
        value = value > (kMax - digit) / 10 ? kMax : value * 10 + digit;
    }
    return true;
}

}  // namespace

RangeChoice ChooseRange(std::string_view field, uint64_t size) {
    RangeChoice choice;
    constexpr std::string_view kUnit = "bytes=";
    if (field.size() <= kUnit.size() || field.substr(0, kUnit.size()) != kUnit)
        return choice;
    const std::string_view rangeText = field.substr(kUnit.size());
    const size_t dash = rangeText.find('-');
    if (dash == std::string_view::npos || rangeText.find(',') != std::string_view::npos)
        return choice;
    const std::string_view firstText = rangeText.substr(0, dash), lastText = rangeText.substr(dash + 1);
    uint64_t first = 0, last = 0;
    if (firstText.empty()) {
        // "-N": the last N bytes.
        if (!ReadNumber(lastText, last))
            return choice;
        if (last == 0 || size == 0)
            return {RangeChoice::Kind::Unsatisfiable, 0, 0};
        const uint64_t length = last < size ? last : size;
        return {RangeChoice::Kind::Part, size - length, length};
    }
    if (!ReadNumber(firstText, first))
        return choice;
    if (lastText.empty()) {
        last = std::numeric_limits<uint64_t>::max();
    } else if (!ReadNumber(lastText, last) || last < first) {
        return choice;
    }
    if (first >= size)
        return {RangeChoice::Kind::Unsatisfiable, 0, 0};
    if (last >= size)
        last = size - 1;
    return {RangeChoice::Kind::Part, first, last - first + 1};
}

}  // namespace server
