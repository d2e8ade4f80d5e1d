// The two-pass Windows code-page conversions: a first call for the size, a zero-filled buffer, a second
// call to fill it.
#pragma once
#include <windows.h>

#include <string>

namespace nightcap {

constexpr UINT kGbkCodePage = 936;
constexpr UINT kBig5CodePage = 950;

// length -1: up to and including the terminating zero (the result then ends with a zero unit).
std::wstring WideFromCodePage(UINT codePage, const char* text, int length);
// A character the code page lacks becomes a zero byte when zeroForMissing is set (the code page's own
// default character otherwise; UTF-8 takes none).
std::string CodePageFromWide(UINT codePage, const wchar_t* units, int count, bool zeroForMissing);

std::wstring WideFromGbk(const std::string& text);
std::string GbkFromWide(const std::wstring& text);

}  // namespace nightcap
