// What a signed digest list says about its release besides its files: the product and architecture it is
// for, its version, and the time until which its signature may be taken. Publish writes it as the root's
// first child,
//   <release><product>Nightcap</product><arch>x86</arch><version>1.003</version>
//            <expires>2027-01-08T13:34:00Z</expires></release>
// and the signature over the whole file covers it together with the digests. Updaters that walk the root's
// name, md5 and folder elements pass over it, as they pass over sha256.
#pragma once
#include "lib/xml/XmlDocument.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace update {

struct ReleaseData {
    std::u16string product;  // the installation's [Product] name, not its channel's
    std::u16string arch;     // "x86" or "x64"
    std::u16string version;  // "1.003"
    int64_t expires = 0;     // seconds since 1970-01-01 00:00 UTC
};

// The release element of the document's root, or nullopt when it is missing or any of its four parts is
// missing or malformed. The walk's position is left as it was.
std::optional<ReleaseData> ReadReleaseData(XmlDocument& document);

// "YYYY-MM-DDThh:mm:ssZ" (UTC, years 1970-9999) as seconds since 1970; anything else gives nullopt.
std::optional<int64_t> ParseUtcTime(std::u16string_view text);
// Versions are 1 to 8 parts of 1 to 9 decimal digits separated by '.', compared part by part as numbers
// (a missing part counts as 0): -1, 0 or 1, or nullopt when either is no such version.
std::optional<int> CompareVersions(std::u16string_view a, std::u16string_view b);

}  // namespace update
