// Outside data that reaches the server's front: the bytes a client sends on a connection. The head is read as
// the server reads it (in one piece and in two), the body after it is read past as the framing says, the Range
// field chosen over a few content sizes, and a download path checked as its route checks it. Whatever the
// input, nothing reads or promises more than there is.
#include "server/ByteRanges.h"
#include "server/ChunkedBody.h"
#include "server/RequestHead.h"
#include "server/StoreNames.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace server;

namespace {

void CheckRanges(const RequestHead& head) {
    const std::string* field = head.Field("Range");
    for (const uint64_t size : {uint64_t{0}, uint64_t{1}, uint64_t{407}, uint64_t{1} << 40}) {
        const RangeChoice range = ChooseRange(field ? *field : std::string(), size);
        if (range.kind == RangeChoice::Kind::Part &&
            (range.length == 0 || range.first >= size || range.length > size - range.first))
            abort();
    }
}

void ReadBody(const RequestHead& head, std::string_view rest) {
    const BodyFraming framing = FramingOf(head);
    if (framing.kind == BodyFraming::Kind::Invalid && framing.status != 400 && framing.status != 501)
        abort();
    if (framing.kind != BodyFraming::Kind::Chunked)
        return;
    ChunkedBodySkipper whole(64 * 1024), pieces(64 * 1024);
    const size_t used = whole.Feed(rest);
    size_t usedInPieces = 0;
    for (size_t at = 0; at < rest.size() && pieces.GetState() == ChunkedBodySkipper::State::More; at += 7)
        usedInPieces += pieces.Feed(rest.substr(at, 7));
    // However the body arrives, it ends at the same byte, in the same state.
    if (used > rest.size() || whole.GetState() != pieces.GetState() ||
        (whole.GetState() == ChunkedBodySkipper::State::Done && used != usedInPieces))
        abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    HeadLimits limits;
    limits.maxHead = 2048;
    limits.maxTarget = 512;
    limits.maxFields = 16;
    const HeadParse parse = ParseRequestHead(input, limits);
    // A head that is complete in the whole input is incomplete in no longer prefix, and waits in a shorter one.
    if (parse.state == HeadParse::State::Complete) {
        if (parse.length == 0 || parse.length > input.size() || parse.length > limits.maxHead ||
            parse.head.fields.size() > limits.maxFields || parse.head.target.size() > limits.maxTarget)
            abort();
        if (ParseRequestHead(input.substr(0, parse.length - 1), limits).state != HeadParse::State::NeedMore)
            abort();
        KeepsAlive(parse.head);
        CheckRanges(parse.head);
        ReadBody(parse.head, input.substr(parse.length));
        const std::string& target = parse.head.target;
        if (target.rfind("/download/", 0) == 0) {
            if (const auto segments = SafeSegments(target.substr(10))) {
                for (const std::string& segment : *segments) {
                    if (segment == "." || segment == ".." || segment.find_first_of("\\/:%") != std::string::npos)
                        abort();
                }
            }
        }
    } else if (parse.state == HeadParse::State::Refused) {
        if (parse.status != 400 && parse.status != 414 && parse.status != 431 && parse.status != 505)
            abort();
    } else if (input.size() >= limits.maxHead) {
        abort();  // a head may wait for more only while it is within its limit
    }
    return 0;
}
