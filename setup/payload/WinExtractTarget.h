// Unpacking into real folders and files through Win32. It keeps the paths of the files it created (and did
// not remove again), for the install record.
#pragma once
#include "common/Handles.h"
#include "setup/payload/ExtractTarget.h"

#include <string>
#include <vector>

namespace setup {

class WinExtractTarget : public ExtractTarget {
public:
    void CreateFolderTree(const uint16_t* path) override;
    void CreateFolder(const uint16_t* path) override;
    bool CreateOutputFile(const uint16_t* path) override;
    size_t Write(const uint8_t* bytes, size_t size) override;
    void SetModificationTime(uint64_t fileTime) override;
    void CloseFile() override;
    void RemoveFile(const uint16_t* path) override;

    const std::vector<std::u16string>& CreatedFiles() const { return created_; }

private:
    UniqueHandle file_;
    std::vector<std::u16string> created_;
};

}  // namespace setup
