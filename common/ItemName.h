// The rule that keeps every item named by outside data (the installer's archive, the updater's manifests)
// inside the install folder.
#pragma once
#include <cstddef>
#include <cstdint>

// True when the stored name (UTF-16, length units, no terminator) is a relative path that, put behind
// the install folder, names a file or folder inside it: one or more parts between "/" or "\", none of
// them empty, "." or ".." (nor any other run of dots and spaces, which Windows trims to those), no ":"
// (drive letters, streams), no control characters, and no device name such as CON or NUL.
bool IsSafeItemName(const uint16_t* name, size_t length);
