// What the properties of a layout item become on screen: texts, colours, fonts and the package's images.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "common/GdiplusHandles.h"
#include "common/Handles.h"
#include "engine/Layout.h"

// Layout texts hold UTF-16 code units, as wide texts do on Windows.
std::wstring ToWide(const std::u16string& text);

const std::u16string& PropertyOr(const LayoutItem& item, const std::u16string& name, const std::u16string& fallback);

// 0xRRGGBB as GDI's colour.
COLORREF ToColorRef(uint32_t rgb);

// "size" or "size,bold": a font of that pixel height in our face, with the Chinese character set.
UniqueFont MakeFont(const std::u16string& fontText);

// The image the package holds under name; nothing for no name. An error text when the image cannot be read.
UniqueGpBitmap ImageFromPackage(const std::u16string* name, std::wstring* error);
