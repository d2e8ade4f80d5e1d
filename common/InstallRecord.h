// The record of what was installed into an install folder: Setup writes the files of its payload, every
// update adds the files it put in place, and the uninstaller removes exactly the recorded files (and the
// folders they leave empty), so that nothing a user put there is touched and nothing a later release added
// stays behind. The record is a file in the install folder: UTF-16LE lines (CR LF) of paths relative to it.
// It is outside data to whoever reads it: a line that is no safe relative path is left out.
#pragma once
#include <string>
#include <string_view>
#include <vector>

// The record's own path, relative to the install folder.
inline constexpr char16_t kInstallRecordName[] = u"installed-files.txt";
// Lines read at most (a release lists at most 10,000 files).
inline constexpr size_t kMaxRecordedFiles = 20000;

// The safe relative paths of the record's bytes, each once (ASCII letters compared without case, "/" as
// "\"), in their order. A damaged or foreign file gives whatever safe lines it holds.
std::vector<std::u16string> ParseInstallRecord(std::string_view bytes);
// The bytes of a record holding these paths.
std::string InstallRecordBytes(const std::vector<std::u16string>& paths);
// The record with the added paths after the recorded ones; unsafe and repeated paths are left out.
std::vector<std::u16string> WithRecorded(std::vector<std::u16string> recorded, const std::vector<std::u16string>& added);
// Every folder that holds a recorded path, deepest first: the folders to remove when they are left empty.
std::vector<std::u16string> RecordedFolders(const std::vector<std::u16string>& recorded);
