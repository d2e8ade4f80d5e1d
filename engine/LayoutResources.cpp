#include "engine/LayoutResources.h"

#include "engine/LuaHost.h"
#include "engine/UiImage.h"

namespace {
constexpr wchar_t kFontFace[] = L"Microsoft YaHei";
}  // namespace

std::wstring ToWide(const std::u16string& text) { return std::wstring(text.begin(), text.end()); }

const std::u16string& PropertyOr(const LayoutItem& item, const std::u16string& name, const std::u16string& fallback) {
    const std::u16string* value = item.Find(name);
    return value ? *value : fallback;
}

COLORREF ToColorRef(uint32_t rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

UniqueFont MakeFont(const std::u16string& fontText) {
    int size = 12;
    bool bold = false;
    const size_t comma = fontText.find(u',');
    if (comma != std::u16string::npos) bold = fontText.substr(comma + 1).find(u"bold") != std::u16string::npos;
    int parsed = 0;
    if (ParseNumber(fontText.substr(0, comma), &parsed) && parsed > 0 && parsed <= 200) size = parsed;
    return UniqueFont(::CreateFontW(-size, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET,
                                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH,
                                    kFontFace));
}

UniqueGpBitmap ImageFromPackage(const std::u16string* name, std::wstring* error) {
    if (!name) return {};
    const std::string* bytes = PackageFile(ToWide(*name));
    UniqueGpBitmap image = bytes ? DecodeImage(*bytes) : UniqueGpBitmap();
    if (!image) *error = L"cannot read the image " + ToWide(*name);
    return image;
}
