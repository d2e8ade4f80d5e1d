// The change-log text the package shows, composed from update_log.xml.
#pragma once
#include "lib/xml/XmlDocument.h"

#include <string>

namespace update {

// Walks three levels down (the first element of each), then takes every Date with the Version and Content
// after it: "Date(Version)\nContent\n\n" per entry, the whole trimmed. A Version or Content that is missing
// repeats the text of the element before it, as the walk stays where it was.
std::u16string ChangeLogText(XmlDocument& document);

}  // namespace update
