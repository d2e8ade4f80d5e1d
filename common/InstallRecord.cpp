#include "common/InstallRecord.h"

#include <algorithm>

#include "common/ItemName.h"

namespace {

bool IsSafePath(std::u16string_view path) {
    return IsSafeItemName(reinterpret_cast<const uint16_t*>(path.data()), path.size());
}

std::u16string WithBackslashes(std::u16string_view path) {
    std::u16string text(path);
    std::replace(text.begin(), text.end(), u'/', u'\\');
    return text;
}

// Appends path when it is safe and not yet in the list.
void AddOnce(std::vector<std::u16string>& paths, std::u16string_view path) {
    if (paths.size() >= kMaxRecordedFiles || !IsSafePath(path)) return;
    for (const std::u16string& known : paths) {
        if (IsSameItemPath(known, path)) return;
    }
    paths.push_back(WithBackslashes(path));
}

}  // namespace

std::vector<std::u16string> ParseInstallRecord(std::string_view bytes) {
    std::u16string text;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        text.push_back(char16_t(uint8_t(bytes[i]) | uint8_t(bytes[i + 1]) << 8));
    std::vector<std::u16string> paths;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(u'\n', start);
        if (end == std::u16string::npos) end = text.size();
        std::u16string_view line(text.data() + start, end - start);
        if (!line.empty() && line.back() == u'\r') line.remove_suffix(1);
        AddOnce(paths, line);
        start = end + 1;
    }
    return paths;
}

std::string InstallRecordBytes(const std::vector<std::u16string>& paths) {
    std::string bytes;
    for (const std::u16string& path : paths) {
        for (char16_t c : path + u"\r\n") {
            bytes.push_back(char(c & 0xFF));
            bytes.push_back(char(c >> 8));
        }
    }
    return bytes;
}

std::vector<std::u16string> WithRecorded(std::vector<std::u16string> recorded,
                                         const std::vector<std::u16string>& added) {
    std::vector<std::u16string> paths;
    for (const std::u16string& path : recorded) AddOnce(paths, path);
    for (const std::u16string& path : added) AddOnce(paths, path);
    return paths;
}

std::vector<std::u16string> RecordedFolders(const std::vector<std::u16string>& recorded) {
    std::vector<std::u16string> folders;
    for (const std::u16string& path : recorded) {
        for (size_t cut = path.find_last_of(u"\\/"); cut != std::u16string::npos && cut > 0;
             cut = path.find_last_of(u"\\/", cut - 1)) {
            const std::u16string folder = WithBackslashes(std::u16string_view(path).substr(0, cut));
            if (std::none_of(folders.begin(), folders.end(),
                             [&](const std::u16string& known) { return IsSameItemPath(known, folder); }))
                folders.push_back(folder);
        }
    }
    auto depth = [](const std::u16string& folder) { return std::count(folder.begin(), folder.end(), u'\\'); };
    std::stable_sort(folders.begin(), folders.end(),
                     [&](const std::u16string& a, const std::u16string& b) { return depth(a) > depth(b); });
    return folders;
}
