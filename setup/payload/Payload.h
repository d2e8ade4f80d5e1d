// Setup's payload: the 7z archive appended to Setup's own file. Finds it, measures what it unpacks to
// and unpacks it into the install folder, feeding the progress bar as it decodes.
//
// Start-up:      g_dwRequiredBytes = MeasurePayload(ownPath);
// Dialog:        SetProgressBar(GetDlgItem(dialog, 1011));   // before the worker starts
// Worker thread: bool ok = ExtractPayload(ownPath, installDir);   // installDir ends with a backslash
#pragma once
#include <windows.h>

namespace setup {

// Bytes the payload unpacks to: the sum of the unpacked sizes of its blocks (0 when it cannot be read).
// Set once at start-up from MeasurePayload; the percent reporter divides by it. Defined by this library.
extern DWORD g_dwRequiredBytes;

// Finds the archive inside the open file: the first 7z signature whose start-header checksum matches.
// Returns true with the file position at the archive's first byte.
bool LocatePayload(HANDLE file);

// The sum of the unpacked sizes of all blocks of the archive appended to the file at ownPath, or 0 when
// it cannot be found or opened.
DWORD MeasurePayload(LPCWSTR ownPath);

// Unpacks every item of the archive appended to ownPath into folder (which ends with a backslash).
// False when the archive is missing or damaged (files written before the damage stay). A file that
// cannot be created (for example a locked one) is skipped and does not make the result false. Every file
// written is added to the folder's install record (InstallRecordFile.h), which the uninstaller removes by.
// While it runs, the progress bar set by SetProgressBar receives PBM_SETPOS with the whole percent
// of g_dwRequiredBytes decoded so far, only when that percent changes. Runs on the worker thread.
bool ExtractPayload(LPCWSTR ownPath, LPCWSTR folder);

// The progress bar (range 0..100) that ExtractPayload reports to: control 1011 of the main window.
void SetProgressBar(HWND progressBar);

}  // namespace setup
