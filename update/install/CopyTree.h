// Copying the staging folder over the installation, over an injected file system, all or nothing.
#pragma once
#include <string>
#include <vector>

namespace update {

class TreeFiles {
public:
    struct Entry {
        std::u16string name;
        bool isFolder;
    };
    virtual ~TreeFiles() = default;
    virtual void CreateFolder(const std::u16string& path) = 0;  // an existing folder is fine
    // The entries of a folder in the order the file system gives them, without "." and "..".
    virtual std::vector<Entry> List(const std::u16string& folder) = 0;
    virtual bool CopyOver(const std::u16string& from, const std::u16string& to) = 0;  // overwrites
    virtual bool Exists(const std::u16string& path) = 0;  // a file is there
    virtual void Remove(const std::u16string& path) = 0;  // deletes a file
    // The running updater's own executable, which cannot be overwritten while it runs.
    virtual bool IsOwnExecutable(const std::u16string& path) = 0;
};

// Copies every file of source into target (creating target and its folders), depth first. The updater's
// own executable is left to copy.bat and skipped. Every file it replaces is first copied to the same place
// under backup; when any file cannot be kept or copied, every replaced file is copied back and every new
// one removed, so target holds what it held before, and the result is false.
bool CopyTree(TreeFiles& files, const std::u16string& source, const std::u16string& target,
              const std::u16string& backup);

}  // namespace update
