// The path buffer of the extraction: the install folder, ending with a backslash, and behind it the path
// of one item. It holds 260 UTF-16 units with the terminator; nothing is ever written past them.
#pragma once
#include <cstddef>
#include <cstdint>

namespace setup {

constexpr size_t kInstallPathUnits = 260;

class InstallPath {
public:
    // Copies the folder (terminated) and adds a backslash unless it ends with one. False when the folder
    // is empty or does not fit.
    bool SetFolder(const uint16_t* folder);
    // Puts an item name (length units, "/" or "\" between its parts) behind the folder, every separator
    // turned into a backslash. False, with nothing changed, when folder, name and terminator do not fit.
    bool SetItem(const uint16_t* name, size_t length);

    // Calls visit with each folder the item lies in below the install folder, outermost first: the buffer
    // is cut at each separator of the item for the call.
    template <typename Visit>
    void ForEachParent(Visit visit) {
        for (size_t i = folderLength_; i < length_; ++i) {
            if (units_[i] != '\\') continue;
            units_[i] = 0;
            visit(static_cast<const uint16_t*>(units_));
            units_[i] = '\\';
        }
    }

    const uint16_t* Get() const { return units_; }

private:
    uint16_t units_[kInstallPathUnits] = {};
    size_t folderLength_ = 0;
    size_t length_ = 0;
};

}  // namespace setup
