#include "update/install/CopyTree.h"

namespace update {

namespace {

// What the copy changed so far, to be undone when a later file fails.
struct Changes {
    std::vector<std::pair<std::u16string, std::u16string>> replaced;  // target, its backup
    std::vector<std::u16string> added;
};

bool CopyFolder(TreeFiles& files, const std::u16string& source, const std::u16string& target,
                const std::u16string& backup, Changes& changes) {
    files.CreateFolder(target);
    for (const TreeFiles::Entry& entry : files.List(source)) {
        const std::u16string from = source + u"\\" + entry.name, to = target + u"\\" + entry.name;
        const std::u16string kept = backup + u"\\" + entry.name;
        if (entry.isFolder) {
            if (!CopyFolder(files, from, to, kept, changes)) return false;
            continue;
        }
        if (files.IsOwnExecutable(to)) continue;
        const bool existed = files.Exists(to);
        if (existed) {
            files.CreateFolder(backup);
            if (!files.CopyOver(to, kept)) return false;
        }
        if (!files.CopyOver(from, to)) return false;
        if (existed) changes.replaced.emplace_back(to, kept);
        else changes.added.push_back(to);
    }
    return true;
}

}  // namespace

bool CopyTree(TreeFiles& files, const std::u16string& source, const std::u16string& target,
              const std::u16string& backup) {
    Changes changes;
    if (CopyFolder(files, source, target, backup, changes)) return true;
    for (auto it = changes.replaced.rbegin(); it != changes.replaced.rend(); ++it) files.CopyOver(it->second, it->first);
    for (const std::u16string& path : changes.added) files.Remove(path);
    return false;
}

}  // namespace update
