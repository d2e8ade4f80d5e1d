// Runs Process(first, second) of the package's UIHelper.lua on the UI thread (the progress relay's sink).
#pragma once
#include <string>

namespace update {

void NotifyProcess(const std::wstring& first, const std::wstring& second);

}  // namespace update
