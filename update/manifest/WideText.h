// The manifest rules work in UTF-16 (char16_t), which is what wchar_t holds on Windows.
#pragma once
#include <string>
#include <string_view>

namespace update {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows only");

inline std::wstring Wide(std::u16string_view text) {
    return std::wstring(reinterpret_cast<const wchar_t*>(text.data()), text.size());
}
inline std::u16string Utf16(std::wstring_view text) {
    return std::u16string(reinterpret_cast<const char16_t*>(text.data()), text.size());
}

}  // namespace update
