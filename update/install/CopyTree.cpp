#include "CopyTree.h"

bool CopyTree(TreeFiles& files, const std::u16string& source, const std::u16string& target) {
    files.CreateFolder(target);
    for (const TreeFiles::Entry& entry : files.List(source)) {
        const std::u16string from = source + u"\\" + entry.name, to = target + u"\\" + entry.name;
        if (entry.isFolder) {
            if (!CopyTree(files, from, to)) return false;
        } else if (!files.IsOwnExecutable(to) && !files.CopyOver(from, to)) {
            return false;
        }
    }
    return true;
}
