// Locating, measuring and unpacking Setup's appended payload through Win32 (see Payload.h).
#include "setup/payload/Payload.h"

#include <commctrl.h>

#include "7zAlloc.h"
#include "7zCrc.h"
#include "7zFile.h"
#include "common/Handles.h"
#include "common/InstallRecordFile.h"
#include "lib/sevenzip/SevenZipArchive.h"
#include "setup/payload/ArchiveExtraction.h"
#include "setup/payload/PayloadLocator.h"
#include "setup/payload/PercentMeter.h"
#include "setup/payload/WinExtractTarget.h"

namespace setup {

DWORD g_dwRequiredBytes = 0;

namespace {

const ISzAlloc kMainAlloc = {SzAlloc, SzFree};
const ISzAlloc kTempAlloc = {SzAllocTemp, SzFreeTemp};

HWND g_progressBar = nullptr;
PercentMeter g_percent;

// The decoder's progress hook while ExtractPayload runs: bytes decoded so far in the whole archive.
void ReportPercent(UInt32 bytes) {
    int percent = 0;
    if (g_percent.Changed(bytes, g_dwRequiredBytes, &percent)) {
        SendMessageW(g_progressBar, PBM_SETPOS, static_cast<WPARAM>(percent), 0);
    }
}

// The payload file opened for reading and its archive database, read from the located start.
class OpenedPayload {
public:
    OpenedPayload() : archive_(&kMainAlloc, &kTempAlloc) {
        CrcGenerateTable();
        FileInStream_CreateVTable(&stream_);
    }

    bool Open(LPCWSTR path) {
        file_.Reset(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                nullptr));
        if (!file_ || !LocatePayload(file_.Get())) return false;
        stream_.file.handle = file_.Get();  // still owned by file_
        stream_.wres = 0;
        return archive_.Open(&stream_.vt);
    }

    SevenZipArchive& Archive() { return archive_; }

private:
    UniqueHandle file_;
    CFileInStream stream_{};
    SevenZipArchive archive_;
};

}  // namespace

bool LocatePayload(HANDLE file) {
    const DWORD size = GetFileSize(file, nullptr);
    if (size == INVALID_FILE_SIZE || size < 33 || size - 33 >= 0x7FFFFFFFu) return false;
    UniqueHandle mapping(CreateFileMappingW(file, nullptr, PAGE_READONLY, 0, 0, nullptr));
    if (!mapping) return false;
    UniqueMappedView view(MapViewOfFile(mapping.Get(), FILE_MAP_READ, 0, 0, 0));
    if (!view) return false;
    size_t offset = 0;
    if (!FindPayloadStart(static_cast<const uint8_t*>(view.Get()), size, &offset)) return false;
    LARGE_INTEGER position;
    position.QuadPart = static_cast<LONGLONG>(offset);
    return SetFilePointerEx(file, position, nullptr, FILE_BEGIN) != FALSE;
}

DWORD MeasurePayload(LPCWSTR ownPath) {
    OpenedPayload payload;
    return payload.Open(ownPath) ? payload.Archive().UnpackedTotal() : 0;
}

bool ExtractPayload(LPCWSTR ownPath, LPCWSTR folder) {
    OpenedPayload payload;
    if (!payload.Open(ownPath)) return false;
    g_percent.Reset();
    WinExtractTarget target;
    const bool extracted =
        ExtractArchive(payload.Archive(), reinterpret_cast<const uint16_t*>(folder), target, ReportPercent);
    // Every file written is recorded, also after a failure: the files stay, and an uninstall removes them.
    const std::u16string prefix(reinterpret_cast<const char16_t*>(folder));
    std::vector<std::u16string> written;
    for (const std::u16string& path : target.CreatedFiles()) {
        if (path.compare(0, prefix.size(), prefix) == 0) written.push_back(path.substr(prefix.size()));
    }
    if (!written.empty()) AddToInstallRecord(folder, written);
    return extracted;
}

void SetProgressBar(HWND progressBar) { g_progressBar = progressBar; }

}  // namespace setup
