#include "update/manifest/ReleaseData.h"

#include "update/manifest/ManifestText.h"

#include <vector>

namespace update {

namespace {

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Exactly count digits at text[at...] as a number, or -1.
int64_t Digits(std::u16string_view text, size_t at, size_t count) {
    if (at + count > text.size()) return -1;
    int64_t value = 0;
    for (size_t i = at; i < at + count; ++i) {
        if (!IsDigit(text[i])) return -1;
        value = value * 10 + (text[i] - u'0');
    }
    return value;
}

// Days from 1970-01-01 to the given civil date (proleptic Gregorian).
int64_t DaysFromCivil(int64_t year, int64_t month, int64_t day) {
    year -= month <= 2;
    const int64_t era = year / 400;
    const int64_t yearOfEra = year - era * 400;
    const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

bool IsLeapYear(int64_t year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int64_t DaysInMonth(int64_t year, int64_t month) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

std::optional<std::vector<uint32_t>> VersionParts(std::u16string_view text) {
    std::vector<uint32_t> parts;
    size_t at = 0;
    while (true) {
        size_t end = at;
        while (end < text.size() && IsDigit(text[end])) ++end;
        if (end == at || end - at > 9 || parts.size() == 8) return std::nullopt;
        parts.push_back(uint32_t(Digits(text, at, end - at)));
        if (end == text.size()) return parts;
        if (text[end] != u'.') return std::nullopt;
        at = end + 1;
    }
}

// The text of the current parent's child of that name, trimmed, or nullopt when there is none.
std::optional<std::u16string> ChildText(XmlDocument& document, XmlPosition parent, std::u16string_view name) {
    document.SetPosition(parent);
    if (!document.FindSibling(name)) return std::nullopt;
    return Trimmed(document.ElementText());
}

}  // namespace

std::optional<int64_t> ParseUtcTime(std::u16string_view text) {
    // YYYY-MM-DDThh:mm:ssZ
    if (text.size() != 20 || text[4] != u'-' || text[7] != u'-' || text[10] != u'T' || text[13] != u':' ||
        text[16] != u':' || text[19] != u'Z')
        return std::nullopt;
    const int64_t year = Digits(text, 0, 4), month = Digits(text, 5, 2), day = Digits(text, 8, 2);
    const int64_t hour = Digits(text, 11, 2), minute = Digits(text, 14, 2), second = Digits(text, 17, 2);
    if (year < 1970 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) || hour < 0 ||
        hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59)
        return std::nullopt;
    return DaysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second;
}

std::optional<int> CompareVersions(std::u16string_view a, std::u16string_view b) {
    const auto left = VersionParts(a), right = VersionParts(b);
    if (!left || !right) return std::nullopt;
    for (size_t i = 0; i < left->size() || i < right->size(); ++i) {
        const uint32_t x = i < left->size() ? (*left)[i] : 0, y = i < right->size() ? (*right)[i] : 0;
        if (x != y) return x < y ? -1 : 1;
    }
    return 0;
}

std::optional<ReleaseData> ReadReleaseData(XmlDocument& document) {
    const XmlPosition start = document.Position();
    std::optional<ReleaseData> data;
    document.SetPosition({});
    if (document.FindSibling() && document.Descend() && document.FindSibling(u"release") && document.Descend()) {
        const XmlPosition release = document.Position();
        const auto product = ChildText(document, release, u"product"), arch = ChildText(document, release, u"arch");
        const auto version = ChildText(document, release, u"version");
        const auto expiresText = ChildText(document, release, u"expires");
        const auto expires = expiresText ? ParseUtcTime(*expiresText) : std::nullopt;
        if (product && arch && version && expires && !product->empty() && CompareVersions(*version, *version))
            data = ReleaseData{*product, *arch, *version, *expires};
    }
    document.SetPosition(start);
    return data;
}

}  // namespace update
