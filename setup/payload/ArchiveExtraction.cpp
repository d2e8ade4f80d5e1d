#include "setup/payload/ArchiveExtraction.h"

#include <algorithm>

#include "setup/payload/InstallPath.h"

namespace setup {

namespace {

// A write that takes fewer bytes than offered is resumed with the rest. False at the first failed or empty
// write: the file is then short.
bool WriteInPieces(ExtractTarget& target, const uint8_t* bytes, size_t size) {
    while (size > 0) {
        const size_t written = target.Write(bytes, std::min(size, kWritePieceBytes));
        if (written == 0) return false;
        bytes += written;
        size -= std::min(written, size);
    }
    return true;
}

// Sets the decoder's progress hook for the time of one extraction.
class ProgressScope {
public:
    explicit ProgressScope(void (*hook)(UInt32)) {
        ProgressBase = 0;
        ProgressCurrent = 0;
        ProgressHook = hook;
    }
    ~ProgressScope() { ProgressHook = nullptr; }
    ProgressScope(const ProgressScope&) = delete;
    ProgressScope& operator=(const ProgressScope&) = delete;

    // A block counts once, when it has been decoded: later items of the same block add nothing.
    static void BlockDone() {
        ProgressBase += ProgressCurrent;
        ProgressCurrent = 0;
    }
};

}  // namespace

bool ExtractArchive(SevenZipArchive& archive, const uint16_t* folder, ExtractTarget& target,
                    void (*progress)(UInt32 bytes)) {
    InstallPath path;
    if (!path.SetFolder(folder) || !archive.HasOnlySafeNames()) return false;
    target.CreateFolderTree(path.Get());

    ProgressScope scope(progress);
    for (uint32_t item = 0; item < archive.ItemCount(); ++item) {
        const std::vector<uint16_t>& name = archive.ItemName(item);
        if (!path.SetItem(name.data(), name.size())) continue;
        path.ForEachParent([&target](const uint16_t* parent) { target.CreateFolder(parent); });
        if (archive.IsFolder(item)) {
            target.CreateFolder(path.Get());
            continue;
        }

        const uint8_t* bytes = nullptr;
        size_t size = 0;
        if (!archive.ItemBytes(item, &bytes, &size)) return false;
        ProgressScope::BlockDone();

        if (!target.CreateOutputFile(path.Get())) continue;
        if (!WriteInPieces(target, bytes, size)) {
            // A full disk or a failing device: a truncated program must not be installed as if whole.
            target.CloseFile();
            target.RemoveFile(path.Get());
            return false;
        }
        uint64_t fileTime = 0;
        if (archive.ModificationTime(item, &fileTime)) target.SetModificationTime(fileTime);
        target.CloseFile();
    }
    return true;
}

}  // namespace setup
