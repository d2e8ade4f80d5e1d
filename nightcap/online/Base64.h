// Base64 with the alphabet of RFC 4648 and no line breaks.
#pragma once
#include "nightcap/online/TextBytes.h"

namespace nightcap {

// Pads data in place with zero bytes to a multiple of 3, encodes it, and writes "=" over the last one or
// two characters for the padding that was added.
Bytes Base64Encode(Bytes& data);
// Every 4 characters give 3 bytes (characters outside the alphabet count as "A", a short last group is
// dropped); a trailing "=" or "==" removes the bytes it stood for.
Bytes Base64Decode(const Bytes& text);

}  // namespace nightcap
