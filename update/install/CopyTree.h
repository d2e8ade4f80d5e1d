// Copying the staging folder over the installation, over an injected file system.
#pragma once
#include <string>
#include <vector>

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
    // The running updater's own executable, which cannot be overwritten while it runs.
    virtual bool IsOwnExecutable(const std::u16string& path) = 0;
};

// Copies every file of source into target (creating target and its folders), depth first. The updater's
// own executable is left to copy.bat and skipped; any other file that cannot be copied stops the copy,
// which then gives false.
bool CopyTree(TreeFiles& files, const std::u16string& source, const std::u16string& target);
