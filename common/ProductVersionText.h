// The product version a program was built as ("1.002"): the one text Nightcap's version check compares and
// the updater's releases must be newer than. Defined by the version library the program links.
#pragma once

extern const char kProductVersion[];
