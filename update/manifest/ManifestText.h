// Small text helpers of the manifest rules, over the UTF-16 texts the XML reader gives.
#pragma once
#include <string>
#include <string_view>

namespace update {

// The text without white space (blank, tab, CR, LF, VT, FF) at either end.
std::u16string Trimmed(std::u16string_view text);
// The text with every "/" replaced by "\".
std::u16string WithBackslashes(std::u16string text);
// ASCII text (host names, fixed paths) as UTF-16.
std::u16string FromAscii(std::string_view text);

}  // namespace update
