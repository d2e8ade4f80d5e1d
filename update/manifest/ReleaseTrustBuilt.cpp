// The maker's public keys this updater was built with (the NIGHTCAP_RELEASE_PUBLIC_KEY build setting).
#include "update/manifest/ReleaseTrust.h"

namespace update {

#ifndef NIGHTCAP_RELEASE_PUBLIC_KEY
#define NIGHTCAP_RELEASE_PUBLIC_KEY ""
#endif

ReleaseTrust ReleaseTrust::Built() { return FromKeyText(NIGHTCAP_RELEASE_PUBLIC_KEY); }

}  // namespace update
