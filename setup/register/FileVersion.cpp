#include "setup/register/Registration.h"

namespace setup {

uint64_t GetFileVersion(const std::wstring& path) {
    // A version resource larger than the buffer is cut; the fixed part comes first and survives.
    BYTE buffer[4096];
    if (!GetFileVersionInfoW(path.c_str(), 0, sizeof buffer, buffer)) return 0;
    VS_FIXEDFILEINFO* info = nullptr;
    UINT size = 0;
    if (!VerQueryValueW(buffer, L"\\", reinterpret_cast<void**>(&info), &size) || !info || size < sizeof *info)
        return 0;
    return (static_cast<uint64_t>(info->dwFileVersionMS) << 32) | info->dwFileVersionLS;
}

}  // namespace setup
