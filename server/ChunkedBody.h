// Reads past a chunked request body without keeping it: the server's routes take no body, but a client may
// still send a small one. Only the sizes, extensions and trailer lines are looked at, each line bounded, and
// the data may add up to maxData bytes at most.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace server {

class ChunkedBodySkipper {
public:
    enum class State { More, Done, Malformed, TooLarge };

    explicit ChunkedBodySkipper(uint64_t maxData) : maxData_(maxData) {}
    // Takes the next bytes of the body; gives how many belonged to it (fewer than offered once it is Done or
    // has failed: the rest is the next request).
    size_t Feed(std::string_view bytes);
    State GetState() const { return state_; }

private:
    enum class Step { Size, Data, DataEnd, Trailer };
    bool EndSizeLine();

    static constexpr size_t kMaxLine = 4096;
    uint64_t maxData_;
    uint64_t total_ = 0;
    uint64_t left_ = 0;  // of the current chunk's data
    size_t lineLength_ = 0;
    bool sawDigit_ = false;
    bool inExtension_ = false;
    Step step_ = Step::Size;
    State state_ = State::More;
};

}  // namespace server
