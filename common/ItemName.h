// The rule that keeps every item named by outside data (the installer's archive, the updater's manifests)
// inside the install folder.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

// True when the stored name (UTF-16, length units, no terminator) is a relative path that, put behind
// the install folder, names a file or folder inside it: one or more parts between "/" or "\", none of
// them empty, "." or ".." (nor any other run of dots and spaces, which Windows trims to those), none ending
// in a dot or a space (Windows trims those too, so "a.dll." would be "a.dll"), no ":" (drive letters,
// streams), no control characters, no device name such as CON, NUL, COM0-COM9 or LPT¹, and no 8.3 short
// name such as UPDATE~1.EXE (which may name another file than the one it seems to).
bool IsSafeItemName(const uint16_t* name, size_t length);

// Whether two relative paths name the same item on Windows: ASCII letters compared without case, "/" and "\"
// alike.
bool IsSameItemPath(std::u16string_view a, std::u16string_view b);
