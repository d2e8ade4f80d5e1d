// The manifests read back with the updater's own rules (its XML reader and manifest code, built natively).
#pragma once
#include "update/manifest/DigestList.h"

#include <string>

using namespace update;

DigestList DigestListOf(const std::string& xml);
std::u16string ChangeLogOf(const std::string& xml);
// UTF-16 to UTF-8, for comparing and printing.
std::string Utf8(std::u16string_view text);
