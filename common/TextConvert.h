// UTF-8 (Lua's texts) to UTF-16 (Windows') and back.
#pragma once
#include <string>
#include <string_view>

std::wstring Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::wstring_view text);
