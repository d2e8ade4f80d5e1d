#include "server/ChunkedBody.h"

#include <algorithm>

namespace server {

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

}  // namespace

// A size line has ended: the chunk's data follows, or the trailer after the last (empty) chunk.
bool ChunkedBodySkipper::EndSizeLine() {
    if (!sawDigit_) {
        state_ = State::Malformed;
        return false;
    }
    step_ = left_ == 0 ? Step::Trailer : Step::Data;
    total_ += left_;
    lineLength_ = 0;
    sawDigit_ = false;
    inExtension_ = false;
    return true;
}

size_t ChunkedBodySkipper::Feed(std::string_view bytes) {
    size_t used = 0;
    while (used < bytes.size() && state_ == State::More) {
        if (step_ == Step::Data) {
            const uint64_t take = std::min<uint64_t>(left_, bytes.size() - used);
            used += static_cast<size_t>(take);
            left_ -= take;
            if (left_ == 0)
                step_ = Step::DataEnd;
            continue;
        }
        const char c = bytes[used++];
        if (c != '\n' && ++lineLength_ > kMaxLine) {
            state_ = State::Malformed;
            break;
        }
        switch (step_) {
        case Step::Size:
            if (c == '\n') {
                EndSizeLine();
            } else if (inExtension_ || c == '\r') {
                // Chunk extensions mean nothing here.
            } else if (c == ';' || c == ' ' || c == '\t') {
                inExtension_ = true;
            } else if (HexValue(c) < 0) {
                state_ = State::Malformed;
            } else {
                sawDigit_ = true;
                left_ = left_ * 16 + static_cast<uint64_t>(HexValue(c));
                if (left_ > maxData_ - total_)
                    state_ = State::TooLarge;
            }
            break;
        case Step::DataEnd:
            // The data's own line end: "\r\n", or a bare "\n".
            if (c == '\n') {
                step_ = Step::Size;
                lineLength_ = 0;
            } else if (c != '\r' || lineLength_ > 1) {
                state_ = State::Malformed;
            }
            break;
        case Step::Trailer:
            if (c == '\n') {
                if (lineLength_ == 0)
                    state_ = State::Done;
                lineLength_ = 0;
            } else if (c == '\r') {
                --lineLength_;  // not part of the line
            }
            break;
        case Step::Data:
            break;
        }
    }
    return used;
}

}  // namespace server
