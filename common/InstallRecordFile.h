// The install record (InstallRecord.h) as the file kInstallRecordName in an install folder.
#pragma once
#include <string>
#include <vector>

// The recorded paths; none when there is no record (an install made before records were kept).
// folder ends with a backslash.
std::vector<std::u16string> ReadInstallRecordFile(const std::wstring& folder);
// Adds the paths to the folder's record, replacing the file whole (written beside it, then moved over it).
// False when it could not be written; the record before stays then.
bool AddToInstallRecord(const std::wstring& folder, const std::vector<std::u16string>& paths);
