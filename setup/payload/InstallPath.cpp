#include "setup/payload/InstallPath.h"

namespace setup {

bool InstallPath::SetFolder(const uint16_t* folder) {
    size_t length = 0;
    while (folder[length]) {
        if (length + 1 >= kInstallPathUnits) return false;
        units_[length] = folder[length];
        ++length;
    }
    if (length == 0) return false;
    if (units_[length - 1] != '\\') {
        if (length + 1 >= kInstallPathUnits) return false;
        units_[length++] = '\\';
    }
    units_[length] = 0;
    folderLength_ = length_ = length;
    return true;
}

bool InstallPath::SetItem(const uint16_t* name, size_t length) {
    if (folderLength_ == 0 || length >= kInstallPathUnits - folderLength_) return false;
    for (size_t i = 0; i < length; ++i) {
        units_[folderLength_ + i] = name[i] == '/' ? uint16_t('\\') : name[i];
    }
    length_ = folderLength_ + length;
    units_[length_] = 0;
    return true;
}

}  // namespace setup
