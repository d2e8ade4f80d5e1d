// The manifests on the update server and what the updater makes of them. Everything runs on the UI thread
// in the updater's working directory (the installation's update folder).
#pragma once
#include "DigestList.h"

#include <string>

// Empties the staging folder, ends the product, downloads update_log.xml and gives its change-log text.
std::wstring FetchUpdateLog();
// Makes the staging folder, downloads update_md5.xml, reads its digest list and makes the staging folder
// of each listed folder (one level: a nested one only when its parent exists).
DigestList PrepareDigestList();
