// FileMd5Hex (1,024-byte reads through stdio, Md5Digest) against md5sum on the same 100 MB file, both in
// this run, each timed five times in turn; the best times count. Prints MB/s for both and the ratio
// (FileMd5Hex's throughput over md5sum's; higher is better).
//   md5_bench [file to generate]
#include "FileMd5.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

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

std::string Md5sum(const char* path) {
    const std::string command = std::string("md5sum '") + path + "'";
    std::FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return std::string();
    char digest[33] = "";
    const int matched = std::fscanf(pipe, "%32s", digest);
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
    double ours = 1e9, peer = 1e9;
    std::string ourDigest, peerDigest;
    for (int round = 0; round < 5; ++round) {
        ours = std::min(ours, Seconds([&] { ourDigest = FileMd5Hex(path); }));
        peer = std::min(peer, Seconds([&] { peerDigest = Md5sum(path); }));
    }
    std::remove(path);
    if (ourDigest.empty() || ourDigest != peerDigest) {
        std::fprintf(stderr, "md5_bench: digests differ: %s vs %s\n", ourDigest.c_str(), peerDigest.c_str());
        return 1;
    }
    const double mb = double(kFileBytes) / (1 << 20);
    std::printf("FileMd5Hex %.0f MB/s, md5sum %.0f MB/s, ratio %.2f\n", mb / ours, mb / peer, peer / ours);
    return 0;
}
