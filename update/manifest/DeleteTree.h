// Removes a folder and everything in it, silently, without the recycle bin; failures are ignored.
#pragma once
#include <string>

void DeleteTree(const std::wstring& path);
