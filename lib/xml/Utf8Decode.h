// The lenient UTF-8 decoder of the XML reader: every byte sequence yields text, never an error.
#pragma once
#include <cstddef>
#include <cstdint>

// Decodes bytes into UTF-16 units and returns how many were written. out must have room for count units
// (no sequence yields more units than it has bytes). Malformed sequences become '?', values above the
// basic plane become surrogate pairs, a decoded 0 ends the text, and a sequence cut off by the end of the
// bytes is dropped.
// The bytes may lie in the upper part of the output buffer itself, at least count + 2 bytes into it:
// every unit is written below the bytes still to be read.
size_t DecodeUtf8Lenient(const uint8_t* bytes, size_t count, char16_t* out);
