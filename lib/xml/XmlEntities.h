// Entity references in element text: the five named ones and numeric ones.
#pragma once
#include <string>

// Appends text[begin, end) to out with its references replaced. Anything that is not a complete
// reference, a numeric reference of value 0 included, is copied as it stands.
void AppendDecodedEntities(const char16_t* begin, const char16_t* end, std::u16string& out);
