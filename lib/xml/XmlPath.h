// Element paths over an XmlDocument, such as "@1/@1/year": segments are separated by "/", "@n" is the n-th
// child element (from 1) and a plain name the first child element with that name. The first segment is
// taken among the top-level elements, so "@1" there is the root whatever its name.
#pragma once
#include "lib/xml/XmlDocument.h"

#include <optional>
#include <string>
#include <string_view>

// Moves the document's position to the element at path; false (position unchanged) when there is none.
bool MoveToPath(XmlDocument& document, std::u16string_view path);
// The text of the element at path, or nothing when there is no such element.
std::optional<std::u16string> PathText(XmlDocument& document, std::u16string_view path);
