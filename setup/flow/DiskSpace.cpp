#include "setup/flow/DiskSpace.h"

#include <cwchar>

namespace setup {

std::wstring FormatSize(uint64_t bytes) {
    static const wchar_t* const kUnits[] = {L"B", L"KB", L"MB", L"GB"};
    double value = static_cast<double>(bytes);
    int unit = 0;
    while (value >= 1024 && unit < 3) {
        value *= 1.0 / 1024;
        ++unit;
    }
    int whole = static_cast<int>(value);
    int hundredths = static_cast<int>((value - whole) * 100);
    wchar_t text[64];
    swprintf(text, 64, L"%d.%02d %ls", whole, hundredths, kUnits[unit]);
    return text;
}

DiskCheck CheckDiskSpace(const std::wstring& folderText, uint32_t requiredBytes, const FreeSpaceQuery& freeBytesOf) {
    DiskCheck refused{false, L"所选目录无法安装，请选择其它目录"};
    if (folderText.size() < 3) return refused;
    std::optional<uint64_t> freeBytes = freeBytesOf(folderText.substr(0, 3));
    if (!freeBytes || *freeBytes <= requiredBytes) return refused;
    return {true, L"所需空间: " + FormatSize(requiredBytes) + L" (磁盘剩余空间: " + FormatSize(*freeBytes) + L")"};
}

}  // namespace setup
