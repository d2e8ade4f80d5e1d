// Reads the input as a digest list with its release element, as an expiry text and as two versions: the
// readers keep to their bounds, version order is antisymmetric, and a release is only ever accepted for the
// installation's own product and architecture, newer than its version and before its expiry.
#include "lib/xml/XmlDocument.h"
#include "update/manifest/DigestList.h"
#include "update/manifest/ReleaseData.h"
#include "update/manifest/ReleaseRules.h"

#include <cstdint>
#include <cstdlib>
#include <string>

using namespace update;

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

std::u16string Widened(const uint8_t* data, size_t size) { return std::u16string(data, data + size); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    XmlDocument document;
    document.LoadBytes(data, size);
    const DigestList list = ReadDigestList(document);
    if (list.release) {
        Check(!list.release->product.empty() && list.release->expires >= 0);
        Check(CompareVersions(list.release->version, list.release->version) == 0);
    }
    const std::u16string text = Widened(data, size);
    if (const std::optional<int64_t> time = ParseUtcTime(text)) Check(size == 20 && *time >= 0);

    const size_t split = size == 0 ? 0 : data[0] % size;
    const std::u16string a = text.substr(0, split), b = text.substr(split);
    const std::optional<int> ab = CompareVersions(a, b), ba = CompareVersions(b, a);
    Check(ab.has_value() == ba.has_value() && (!ab || *ab == -*ba));

    const InstalledRelease installed{u"Nightcap", u"x64", u"1.002"};
    int64_t now = 0;  // a clock anywhere from 1970 to the year 36812, from the first five bytes
    for (size_t i = 0; i < size && i < 5; ++i) now = now << 8 | data[i];
    if (JudgeRelease(list.release, installed, now) == ReleaseVerdict::Accepted) {
        Check(list.release->product == installed.product && list.release->arch == installed.arch);
        Check(CompareVersions(list.release->version, installed.version) == 1 && now < list.release->expires);
    }
    return 0;
}
