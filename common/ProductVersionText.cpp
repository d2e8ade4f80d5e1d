#include "common/ProductVersionText.h"

#include "ProductVersion.h"

const char kProductVersion[] = NIGHTCAP_VERSION_TEXT;
