// The UI engine's layout files: parse a document, then read every item's numbers as the toolkit does.
#include <cstddef>
#include <cstdint>

#include "engine/Layout.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    for (const LayoutItem& item : ParseLayout(data, size)) {
        LayoutRect rect;
        uint32_t rgb;
        int number;
        for (const auto& [name, value] : item.properties) {
            ParseRect(value, &rect);
            ParseSize(value, &rect);
            ParseColor(value, &rgb);
            ParseNumber(value, &number);
        }
    }
    return 0;
}
