// Unpacking into real folders and files through Win32.
#pragma once
#include "ExtractTarget.h"
#include "Handles.h"

class WinExtractTarget : public ExtractTarget {
public:
    void CreateFolderTree(const uint16_t* path) override;
    void CreateFolder(const uint16_t* path) override;
    bool CreateOutputFile(const uint16_t* path) override;
    size_t Write(const uint8_t* bytes, size_t size) override;
    void SetModificationTime(uint64_t fileTime) override;
    void CloseFile() override;
    void RemoveFile(const uint16_t* path) override;

private:
    UniqueHandle file_;
};
