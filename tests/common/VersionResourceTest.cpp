// The version resources of the built programs: every shipped file names the product, Nightcap and its
// companions carry the version from the build setting, and Setup keeps the one installs are compared with.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "ProductVersion.h"
#include "tests/support/ProgramDriver.h"

namespace {

struct VersionResource {
    bool present = false;
    uint64_t fileVersion = 0;
    uint64_t productVersion = 0;
    DWORD fileType = 0;
    std::wstring productName, fileVersionText, productVersionText, description, originalName;
};

std::wstring Value(const std::vector<BYTE>& data, const wchar_t* name) {
    wchar_t* text = nullptr;
    UINT length = 0;
    std::wstring block = std::wstring(L"\\StringFileInfo\\080404b0\\") + name;
    if (!VerQueryValueW(data.data(), block.c_str(), reinterpret_cast<void**>(&text), &length) || !text) return L"";
    return text;
}

VersionResource ReadVersion(const std::wstring& file) {
    VersionResource v;
    std::wstring path = BuildFolder() + L"\\" + file;
    DWORD size = GetFileVersionInfoSizeW(path.c_str(), nullptr);
    if (size == 0) return v;
    std::vector<BYTE> data(size);
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedSize = 0;
    if (!GetFileVersionInfoW(path.c_str(), 0, size, data.data()) ||
        !VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixedSize) ||
        fixedSize < sizeof *fixed || fixed->dwSignature != 0xFEEF04BD)
        return v;
    v.present = true;
    v.fileVersion = (uint64_t(fixed->dwFileVersionMS) << 32) | fixed->dwFileVersionLS;
    v.productVersion = (uint64_t(fixed->dwProductVersionMS) << 32) | fixed->dwProductVersionLS;
    v.fileType = fixed->dwFileType;
    v.productName = Value(data, L"ProductName");
    v.fileVersionText = Value(data, L"FileVersion");
    v.productVersionText = Value(data, L"ProductVersion");
    v.description = Value(data, L"FileDescription");
    v.originalName = Value(data, L"OriginalFilename");
    return v;
}

std::wstring DottedText(uint64_t v) {
    return std::to_wstring(v >> 48) + L"." + std::to_wstring(v >> 32 & 0xFFFF) + L"." +
           std::to_wstring(v >> 16 & 0xFFFF) + L"." + std::to_wstring(v & 0xFFFF);
}

std::wstring Wide(const char* text) { return std::wstring(text, text + strlen(text)); }

constexpr uint64_t Packed(unsigned a, unsigned b, unsigned c, unsigned d) {
    return (uint64_t(a) << 48) | (uint64_t(b) << 32) | (uint64_t(c) << 16) | d;
}
constexpr uint64_t kProductFileVersion = Packed(NIGHTCAP_FILE_VERSION);

TEST(VersionResource, EveryShippedFileNamesTheProductAndAgreesWithItself) {
    struct Shipped {
        const wchar_t* file;
        DWORD type;
        uint64_t version;
    };
    const Shipped shipped[] = {
        {L"Nightcap.exe", VFT_APP, kProductFileVersion}, {L"Update.exe", VFT_APP, kProductFileVersion},
        {L"Uninstall.exe", VFT_APP, kProductFileVersion}, {L"XLUE.dll", VFT_DLL, kProductFileVersion},
        {L"Setup.exe", VFT_APP, Packed(1, 0, 0, 1)}};
    for (const Shipped& s : shipped) {
        SCOPED_TRACE(std::string(s.file, s.file + wcslen(s.file)));
        VersionResource v = ReadVersion(s.file);
        ASSERT_TRUE(v.present);
        EXPECT_EQ(v.productName, L"Velora");
        EXPECT_EQ(v.fileType, s.type);
        EXPECT_EQ(v.fileVersion, s.version);
        EXPECT_EQ(v.productVersion, s.version);
        EXPECT_EQ(v.fileVersionText, DottedText(v.fileVersion));
        EXPECT_EQ(v.productVersionText, DottedText(v.fileVersion));
        EXPECT_EQ(v.originalName, s.file);
        EXPECT_FALSE(v.description.empty());
    }
}

// The version check's text and the file version come from the one setting: 1.002 is 1.0.0.2.
TEST(VersionResource, FileVersionFollowsTheVersionCheckText) {
    std::wstring text = Wide(NIGHTCAP_VERSION_TEXT);
    ASSERT_EQ(text.size(), 5u);
    EXPECT_EQ(DottedText(kProductFileVersion),
              text.substr(0, 1) + L"." + text.substr(2, 1) + L"." + text.substr(3, 1) + L"." + text.substr(4, 1));
    EXPECT_EQ(Wide(NIGHTCAP_FILE_VERSION_TEXT), DottedText(kProductFileVersion));
    EXPECT_EQ(ReadVersion(L"Nightcap.exe").fileVersionText, Wide(NIGHTCAP_FILE_VERSION_TEXT));
}

// Setup opens on its up-to-date page over an installed program at least as new as itself: the program it
// carries must be.
TEST(VersionResource, CarriedProgramIsNotOlderThanSetup) {
    EXPECT_GE(ReadVersion(L"Nightcap.exe").fileVersion, ReadVersion(L"Setup.exe").fileVersion);
}

}  // namespace
