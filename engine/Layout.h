// A window layout from the package: a root element whose children are the window and its controls, each
// described by child elements holding text, for instance
//   <layout>
//     <window><title>...</title><size>440,330</size><background>image/background.png</background></window>
//     <button><id>update</id><rect>150,270,140,36</rect><image>image/button.png</image><text>...</text></button>
//   </layout>
// The parsing is lenient like the XML reader: unknown elements and properties are kept, bad numbers read
// as absent.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct LayoutItem {
    std::u16string kind;  // the element's tag name: window, label, image, textview, button, progress
    std::map<std::u16string, std::u16string> properties;

    const std::u16string* Find(const std::u16string& name) const;
};

// The items in document order; empty when the document has no root element.
std::vector<LayoutItem> ParseLayout(const void* bytes, size_t count);

struct LayoutRect {
    int x = 0, y = 0, width = 0, height = 0;
};
// "x,y,width,height" (blanks allowed around the numbers); width and height must not be negative. Numbers
// are limited to 0..10000 in size.
bool ParseRect(const std::u16string& text, LayoutRect* rect);
// "w,h" as a rect at 0,0.
bool ParseSize(const std::u16string& text, LayoutRect* rect);
// "#rrggbb" as 0xRRGGBB.
bool ParseColor(const std::u16string& text, uint32_t* rgb);
// A whole number 0..10000.
bool ParseNumber(const std::u16string& text, int* value);
