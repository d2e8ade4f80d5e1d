// Which part of an answer a Range field asks for. One range is served; a list of them (which would make the
// answer a multipart body, and lets a small request ask for the same bytes thousands of times over) is
// answered with the whole content instead, as RFC 9110 allows a server to.
#pragma once
#include <cstdint>
#include <string_view>

namespace server {

struct RangeChoice {
    enum class Kind { Whole, Part, Unsatisfiable };
    Kind kind = Kind::Whole;
    uint64_t first = 0;   // Part: the first byte
    uint64_t length = 0;  // Part: how many bytes, at least one
};

// field: the Range field's value (empty when there is none); size: the whole content's length. A field
// that is not one well-formed "bytes=" range is ignored (Whole); a range that starts past the end, or asks
// for the last zero bytes, is Unsatisfiable.
RangeChoice ChooseRange(std::string_view field, uint64_t size);

}  // namespace server
