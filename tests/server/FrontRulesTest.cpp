// The rules of the server's front, directly: request heads within their limits, body framing, byte ranges,
// reading past a chunked body, and which folders an abandoned publish left.
#include "server/AbandonedPublishes.h"
#include "server/ByteRanges.h"
#include "server/ChunkedBody.h"
#include "server/RequestHead.h"

#include <gtest/gtest.h>

using namespace server;

namespace {

HeadParse Parse(const std::string& bytes) {
    return ParseRequestHead(bytes, HeadLimits{});
}

TEST(FrontRulesTest, AHeadIsReadWholeOrWaitedForOrRefusedWithinItsLimits) {
    const std::string request = "\r\nGET /a?b=1 HTTP/1.1\r\nHost: x\r\nX-Empty:\r\nRange:  bytes=0-1 \r\n\r\nGET /next";
    const HeadParse whole = Parse(request);
    ASSERT_EQ(whole.state, HeadParse::State::Complete);
    EXPECT_EQ(request.substr(whole.length), "GET /next");
    EXPECT_EQ(whole.head.method, "GET");
    EXPECT_EQ(whole.head.target, "/a?b=1");
    ASSERT_NE(whole.head.Field("range"), nullptr);
    EXPECT_EQ(*whole.head.Field("range"), "bytes=0-1");
    EXPECT_EQ(*whole.head.Field("X-EMPTY"), "");
    // Bare line ends too, as some clients send them.
    EXPECT_EQ(Parse("POST / HTTP/1.0\nHost: x\n\n").state, HeadParse::State::Complete);
    for (size_t cut = 0; cut + 9 < request.size(); ++cut)
        EXPECT_EQ(Parse(request.substr(0, cut)).state, HeadParse::State::NeedMore) << cut;

    const HeadLimits limits;
    auto refused = [](const std::string& bytes) {
        const HeadParse parse = Parse(bytes);
        return parse.state == HeadParse::State::Refused ? parse.status : 0;
    };
    // A request line without an end is refused once it is longer than any target may be, not held.
    EXPECT_EQ(refused("GET /" + std::string(limits.maxTarget + 64, 'a')), 414);
    EXPECT_EQ(refused("GET /" + std::string(limits.maxTarget, 'a') + " HTTP/1.1\r\n"), 414);
    std::string manyFields = "GET / HTTP/1.1\r\n";
    for (size_t i = 0; i <= limits.maxFields; ++i)
        manyFields += "X-" + std::to_string(i) + ": 1\r\n";
    EXPECT_EQ(refused(manyFields + "\r\n"), 431);
    EXPECT_EQ(refused("GET / HTTP/1.1\r\nX: " + std::string(limits.maxHead, 'a')), 431);
    EXPECT_EQ(refused(std::string(limits.maxHead, '\n')), 431);
    EXPECT_EQ(refused("GET / HTTP/2.0\r\n\r\n"), 505);
    for (const char* bad : {"GET  / HTTP/1.1\r\n\r\n", "GET / HTTP/1.1 \r\n\r\n", "GET /\x01 HTTP/1.1\r\n\r\n",
                            "G(T / HTTP/1.1\r\n\r\n", "GET / HTTP/1.1\r\nNo colon\r\n\r\n",
                            "GET / HTTP/1.1\r\nX: 1\r\n folded\r\n\r\n", "GET / HTTP/1.1\r\nX: a\x01z\r\n\r\n",
                            "GET / XTTP/1.1\r\n\r\n"})
        EXPECT_EQ(refused(bad), 400) << bad;
}

TEST(FrontRulesTest, BodiesAreFramedOneWayOnlyAndConnectionsKeptAliveAsAsked) {
    auto framing = [](const std::string& fields) {
        return FramingOf(Parse("POST / HTTP/1.1\r\n" + fields + "\r\n").head);
    };
    EXPECT_EQ(framing("").kind, BodyFraming::Kind::None);
    EXPECT_EQ(framing("Content-Length: 0\r\n").kind, BodyFraming::Kind::None);
    EXPECT_EQ(framing("Content-Length: 12\r\ncontent-length: 12\r\n").length, 12u);
    EXPECT_EQ(framing("Transfer-Encoding: Chunked\r\n").kind, BodyFraming::Kind::Chunked);
    EXPECT_EQ(framing("Content-Length: 999999999999999999\r\n").length, 999999999999999999u);
    for (const char* bad : {"Content-Length: 1\r\nContent-Length: 2\r\n", "Content-Length: -1\r\n",
                            "Content-Length: 1e3\r\n", "Content-Length: 9999999999999999999\r\n",
                            "Content-Length: 3\r\nTransfer-Encoding: chunked\r\n"})
        EXPECT_EQ(framing(bad).status, 400) << bad;
    EXPECT_EQ(framing("Transfer-Encoding: gzip, chunked\r\n").status, 501);
    EXPECT_EQ(framing("Transfer-Encoding: chunked\r\nTransfer-Encoding: chunked\r\n").status, 501);

    EXPECT_TRUE(KeepsAlive(Parse("GET / HTTP/1.1\r\n\r\n").head));
    EXPECT_FALSE(KeepsAlive(Parse("GET / HTTP/1.1\r\nConnection: TE, Close\r\n\r\n").head));
    EXPECT_FALSE(KeepsAlive(Parse("GET / HTTP/1.0\r\n\r\n").head));
    EXPECT_TRUE(KeepsAlive(Parse("GET / HTTP/1.0\r\nConnection: keep-alive\r\n\r\n").head));
}

TEST(FrontRulesTest, OneRangeIsServedAListIsAnsweredWholeAndPastTheEndIsUnsatisfiable) {
    using Kind = RangeChoice::Kind;
    auto part = [](const char* field, uint64_t size) {
        const RangeChoice range = ChooseRange(field, size);
        return range.kind == Kind::Part ? std::to_string(range.first) + "+" + std::to_string(range.length) : "";
    };
    EXPECT_EQ(part("bytes=0-9", 100), "0+10");
    EXPECT_EQ(part("bytes=90-", 100), "90+10");
    EXPECT_EQ(part("bytes=90-1000", 100), "90+10");
    EXPECT_EQ(part("bytes=-10", 100), "90+10");
    EXPECT_EQ(part("bytes=-1000", 100), "0+100");
    EXPECT_EQ(part("bytes=99-99999999999999999999999", 100), "99+1");
    for (const char* whole : {"", "bytes=", "bytes=0-1,2-3", "items=0-1", "bytes=5-4", "bytes=a-", "bytes=-",
                              "bytes=1-2-3", "bytes= 0-1"})
        EXPECT_EQ(ChooseRange(whole, 100).kind, Kind::Whole) << whole;
    for (const char* past : {"bytes=100-", "bytes=99999999-", "bytes=18446744073709551616-", "bytes=-0"})
        EXPECT_EQ(ChooseRange(past, 100).kind, Kind::Unsatisfiable) << past;
    EXPECT_EQ(ChooseRange("bytes=0-", 0).kind, Kind::Unsatisfiable);
    EXPECT_EQ(ChooseRange("bytes=-5", 0).kind, Kind::Unsatisfiable);
}

TEST(FrontRulesTest, AChunkedBodyIsReadPastWithinItsSizeWhateverPiecesItComesIn) {
    using State = ChunkedBodySkipper::State;
    const std::string body = "5;name=value\r\nhello\r\nA\r\n0123456789\r\n0\r\nTrailer: 1\r\n\r\n";
    const std::string next = "GET / HTTP/1.1\r\n\r\n";
    for (size_t piece : {size_t{1}, size_t{3}, body.size() + next.size()}) {
        ChunkedBodySkipper skipper(64);
        const std::string bytes = body + next;
        size_t used = 0;
        for (size_t at = 0; at < bytes.size() && skipper.GetState() == State::More; at += piece)
            used += skipper.Feed(std::string_view(bytes).substr(at, piece));
        EXPECT_EQ(skipper.GetState(), State::Done) << piece;
        EXPECT_EQ(used, body.size()) << piece;
    }
    auto end = [](const std::string& bytes, uint64_t maxData) {
        ChunkedBodySkipper skipper(maxData);
        skipper.Feed(bytes);
        return skipper.GetState();
    };
    EXPECT_EQ(end("0\n\n", 10), State::Done);
    EXPECT_EQ(end("B\r\n", 10), State::TooLarge);
    EXPECT_EQ(end("6\r\nabcdef\r\n5\r\n", 10), State::TooLarge);
    EXPECT_EQ(end("ffffffffffffffffffffffff\r\n", 1 << 16), State::TooLarge);
    EXPECT_EQ(end("\r\n", 10), State::Malformed);
    EXPECT_EQ(end("x\r\n", 10), State::Malformed);
    EXPECT_EQ(end("1\r\nab\r\n", 10), State::Malformed);
    EXPECT_EQ(end("1;" + std::string(10000, 'e'), 10), State::Malformed);
}

TEST(FrontRulesTest, AnAbandonedPublishLeavesStagingFoldersAndStagedIdsOnly) {
    const std::vector<std::string> entries = {".staging-7", ".staging-x", "3", "7", "8", "notes"};
    EXPECT_EQ(AbandonedEntries(entries, {7}), (std::vector<std::string>{".staging-7", "7"}));
    EXPECT_EQ(AbandonedEntries(entries, {}), (std::vector<std::string>{".staging-7"}));
}

}  // namespace
