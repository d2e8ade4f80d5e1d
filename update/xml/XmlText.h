// Small text helpers of the XML reader.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

// Appends ASCII text to UTF-16 text.
void AppendAscii(std::u16string& out, std::string_view ascii);
// Tag names compare exactly, or with ASCII letters folded when ignoreCase is set.
bool NamesEqual(const char16_t* a, const char16_t* b, size_t length, bool ignoreCase);
// The platform's standard text for an error number, up to its first line break.
std::u16string ErrorNumberText(int error);
