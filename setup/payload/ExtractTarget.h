// What unpacking needs from the file system. Paths are terminated UTF-16 with backslashes. Only a file that
// cannot be created and a write that fails change what the caller does, so nothing else reports failure.
#pragma once
#include <cstddef>
#include <cstdint>

namespace setup {

class ExtractTarget {
public:
    virtual ~ExtractTarget() = default;
    // The install folder with every missing parent.
    virtual void CreateFolderTree(const uint16_t* path) = 0;
    // One folder whose parent exists.
    virtual void CreateFolder(const uint16_t* path) = 0;
    // Opens a new file for writing, replacing one of the same name. False when it cannot be created
    // (for example when another program holds it open).
    virtual bool CreateOutputFile(const uint16_t* path) = 0;
    // Writes to the open file; returns the bytes written, 0 on failure.
    virtual size_t Write(const uint8_t* bytes, size_t size) = 0;
    // Sets the open file's last-write time (FILETIME units) and leaves its other times alone.
    virtual void SetModificationTime(uint64_t fileTime) = 0;
    virtual void CloseFile() = 0;
    // Deletes a closed file that could not be written whole.
    virtual void RemoveFile(const uint16_t* path) = 0;
};

}  // namespace setup
