// The updater's own folder, ending in a backslash: its executable's path with "..\" appended and
// canonicalised, computed afresh on every call. Empty when the path does not fit in MAX_PATH.
#pragma once
#include <string>

namespace update {

std::wstring ProgramFolder();
// The package address of View.xar beside the executable: "xar@file://" + ProgramFolder() + "\View.xar$".
std::wstring PackageAddress();

}  // namespace update
