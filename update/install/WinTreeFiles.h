// The Windows file system under CopyTree; the running updater's executable is the module of this process.
#pragma once
#include "update/install/CopyTree.h"

namespace update {

class WinTreeFiles : public TreeFiles {
public:
    void CreateFolder(const std::u16string& path) override;
    std::vector<Entry> List(const std::u16string& folder) override;
    bool CopyOver(const std::u16string& from, const std::u16string& to) override;
    bool Exists(const std::u16string& path) override;
    void Remove(const std::u16string& path) override;
    bool IsOwnExecutable(const std::u16string& path) override;
};

}  // namespace update
