// Which of the maker's release channels a program belongs to. The 32-bit programs are the product itself on
// the servers (product id 2, its own name), as the installs in the field have always asked; the 64-bit ones
// have a channel of their own (product id 3, the name with "-x64"), so that an installation is only ever
// offered, sent and given programs of its own architecture. A signed release names the architecture it is for
// as NIGHTCAP_CHANNEL_ARCH.
#pragma once

#ifdef _WIN64
#define NIGHTCAP_CHANNEL_PRODUCT_ID "3"
#define NIGHTCAP_CHANNEL_NAME_SUFFIX "-x64"
#define NIGHTCAP_CHANNEL_ARCH "x64"
#else
#define NIGHTCAP_CHANNEL_PRODUCT_ID "2"
#define NIGHTCAP_CHANNEL_NAME_SUFFIX ""
#define NIGHTCAP_CHANNEL_ARCH "x86"
#endif
