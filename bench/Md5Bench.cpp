// FileMd5Hex (1 MiB reads, Md5Digest) against md5sum, and FileDigests (MD5 and SHA-256 in one pass, as
// the updater checks a staged file) against md5sum followed by sha256sum, on the same 100 MB file in this
// run, each timed five times in turn; the best times count. Prints MB/s and the ratios (our throughput over
// the peer's; higher is better).
//   md5_bench [file to generate]
#include "update/manifest/FileMd5.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

using namespace update;

namespace {

const size_t kFileBytes = 100u << 20;

bool WriteTestFile(const char* path) {
    std::FILE* file = std::fopen(path, "wb");
    if (!file) return false;
    std::vector<unsigned char> block(1 << 16);
    uint32_t x = 2463534242u;
    bool ok = true;
    for (size_t written = 0; ok && written < kFileBytes; written += block.size()) {
        for (unsigned char& b : block) {
            x ^= x << 13, x ^= x >> 17, x ^= x << 5;
            b = static_cast<unsigned char>(x);
        }
        ok = std::fwrite(block.data(), 1, block.size(), file) == block.size();
    }
    return std::fclose(file) == 0 && ok;
}

template <typename Run>
double Seconds(Run run) {
    const auto start = std::chrono::steady_clock::now();
    run();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The first word md5sum or sha256sum prints.
std::string Sum(const char* tool, const char* path) {
    const std::string command = std::string(tool) + " '" + path + "'";
    std::FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return std::string();
    char digest[65] = "";
    const int matched = std::fscanf(pipe, "%64s", digest);
    pclose(pipe);
    return matched == 1 ? digest : std::string();
}

}  // namespace

int main(int argc, char** argv) {
    const char* path = argc > 1 ? argv[1] : "md5-bench.bin";
    if (!WriteTestFile(path)) {
        std::fprintf(stderr, "md5_bench: cannot write %s\n", path);
        return 1;
    }
    double ours = 1e9, peer = 1e9, both = 1e9, peers = 1e9;
    std::string ourDigest, peerDigest, peerSha256;
    std::optional<FileDigestTexts> digests;
    for (int round = 0; round < 5; ++round) {
        ours = std::min(ours, Seconds([&] { ourDigest = FileMd5Hex(path); }));
        peer = std::min(peer, Seconds([&] { peerDigest = Sum("md5sum", path); }));
        both = std::min(both, Seconds([&] { digests = FileDigests(path); }));
        peers = std::min(peers, Seconds([&] { peerSha256 = Sum("sha256sum", path); }) +
                                    Seconds([&] { Sum("md5sum", path); }));
    }
    std::remove(path);
    if (ourDigest.empty() || ourDigest != peerDigest || !digests || digests->md5 != peerDigest ||
        digests->sha256 != peerSha256) {
        std::fprintf(stderr, "md5_bench: digests differ: %s vs %s\n", ourDigest.c_str(), peerDigest.c_str());
        return 1;
    }
    const double mb = double(kFileBytes) / (1 << 20);
    std::printf("FileMd5Hex %.0f MB/s, md5sum %.0f MB/s, ratio %.2f\n", mb / ours, mb / peer, peer / ours);
    std::printf("FileDigests %.0f MB/s, md5sum + sha256sum %.0f MB/s, ratio %.2f\n", mb / both, mb / peers,
                peers / both);
    return 0;
}
