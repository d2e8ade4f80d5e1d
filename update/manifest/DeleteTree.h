// Removes a folder and everything in it, silently, without the recycle bin; failures are ignored.
#pragma once
#include <string>

namespace update {

void DeleteTree(const std::wstring& path);

}  // namespace update
