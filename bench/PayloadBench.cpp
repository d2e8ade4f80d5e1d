// Unpacking speed of Setup's extraction code against 7zz on the same archive, in the same run.
//
//   payload_bench [ARCHIVE.7z]
//
// Without an argument it makes a payload the way the build does (setup/payload/make-payload.sh): block 0
// the text files of /usr/share/common-licenses, block 1 stripped i386 DLLs of Wine, together at least
// 12 MB. Our side is the portable extraction code built natively (locate, database, decoder with the
// progress hook and percent meter, item loop, writes in 4 MiB pieces, modification times) over POSIX
// files; 7zz is the native 7-Zip. Both write into fresh folders on the same file system; each side runs
// five times, interleaved, and the median counts.
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "7zAlloc.h"
#include "7zCrc.h"
#include "7zFile.h"
#include "lib/sevenzip/SevenZipArchive.h"
#include "setup/payload/ArchiveExtraction.h"
#include "setup/payload/PayloadLocator.h"
#include "setup/payload/PercentMeter.h"

using namespace setup;

namespace {

// Wine's own Windows DLLs stand in for the shipped executables: the 32-bit ones the product has always
// shipped where the 32-bit Wine is installed, else the 64-bit ones, each stripped by its own tool.
struct WineDlls {
    const char* folder;
    const char* strip;
};
const WineDlls kWineDllChoices[] = {{"/usr/lib/i386-linux-gnu/wine/i386-windows", "i686-w64-mingw32-strip"},
                                    {"/usr/lib/x86_64-linux-gnu/wine/x86_64-windows", "x86_64-w64-mingw32-strip"}};
constexpr long kExecutableBytes = 12L << 20;
constexpr int kRuns = 5;

int Run(const std::string& command) { return std::system(command.c_str()); }

std::string Quote(const std::string& text) { return "'" + text + "'"; }

long FileSize(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 ? long(st.st_size) : -1;
}

std::string Utf8(const uint16_t* path) {
    std::string out;
    for (; *path; ++path) {
        uint32_t c = *path;
        if (c >= 0xD800 && c < 0xDC00 && path[1] >= 0xDC00 && path[1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (path[1] - 0xDC00);
            ++path;
        }
        if (c == '\\') c = '/';
        if (c < 0x80) {
            out += char(c);
        } else if (c < 0x800) {
            out += char(0xC0 | c >> 6), out += char(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += char(0xE0 | c >> 12), out += char(0x80 | (c >> 6 & 0x3F)), out += char(0x80 | (c & 0x3F));
        } else {
            out += char(0xF0 | c >> 18), out += char(0x80 | (c >> 12 & 0x3F)), out += char(0x80 | (c >> 6 & 0x3F));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// The extraction target over POSIX calls (the Windows build uses CreateFileW and friends).
class PosixTarget : public ExtractTarget {
public:
    void CreateFolderTree(const uint16_t* path) override { Run("mkdir -p " + Quote(Utf8(path))); }
    void CreateFolder(const uint16_t* path) override { mkdir(Utf8(path).c_str(), 0755); }
    bool CreateOutputFile(const uint16_t* path) override {
        fd_ = open(Utf8(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        return fd_ >= 0;
    }
    size_t Write(const uint8_t* bytes, size_t size) override {
        const ssize_t written = write(fd_, bytes, size);
        return written > 0 ? size_t(written) : 0;
    }
    void SetModificationTime(uint64_t fileTime) override {
        const uint64_t sinceUnix = fileTime - 116444736000000000ull;  // 100 ns units since 1601 → 1970
        const timespec times[2] = {{0, UTIME_OMIT}, {time_t(sinceUnix / 10000000), long(sinceUnix % 10000000) * 100}};
        futimens(fd_, times);
    }
    void CloseFile() override {
        close(fd_);
        fd_ = -1;
    }
    void RemoveFile(const uint16_t* path) override { unlink(Utf8(path).c_str()); }

private:
    int fd_ = -1;
};

PercentMeter g_meter;
uint32_t g_total = 0;
int g_percentChanges = 0;

void CountPercent(UInt32 bytes) {
    int percent = 0;
    if (g_meter.Changed(bytes, g_total, &percent)) ++g_percentChanges;
}

// Setup's path: map and scan for the start header, open the database there, unpack everything.
bool ExtractWithSetupCode(const std::string& archivePath, const std::string& folder) {
    static const ISzAlloc alloc = {SzAlloc, SzFree}, allocTemp = {SzAllocTemp, SzFreeTemp};
    CrcGenerateTable();
    CFileInStream stream;
    FileInStream_CreateVTable(&stream);
    File_Construct(&stream.file);
    if (InFile_Open(&stream.file, archivePath.c_str()) != 0) return false;
    const long size = FileSize(archivePath);
    void* view = mmap(nullptr, size_t(size), PROT_READ, MAP_PRIVATE, stream.file.fd, 0);
    size_t offset = 0;
    const bool found = view != MAP_FAILED && FindPayloadStart(static_cast<const uint8_t*>(view), size_t(size), &offset);
    if (view != MAP_FAILED) munmap(view, size_t(size));
    Int64 position = Int64(offset);
    bool ok = found && File_Seek(&stream.file, &position, SZ_SEEK_SET) == 0;
    if (ok) {
        SevenZipArchive archive(&alloc, &allocTemp);
        ok = archive.Open(&stream.vt);
        if (ok) {
            g_total = archive.UnpackedTotal();
            g_meter.Reset();
            g_percentChanges = 0;
            PosixTarget target;
            std::vector<uint16_t> units(folder.begin(), folder.end());
            units.push_back(0);
            ok = ExtractArchive(archive, units.data(), target, CountPercent);
        }
    }
    File_Close(&stream.file);
    return ok;
}

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// Makes the benchmark payload in work; returns its path.
std::string MakePayload(const std::string& work) {
    const std::string source = __FILE__;
    const std::string script = source.substr(0, source.rfind("/bench/")) + "/setup/payload/make-payload.sh";
    const std::string dlls = work + "/dlls";
    Run("mkdir -p " + Quote(dlls));
    std::string pairs;
    const WineDlls* wine = &kWineDllChoices[0];
    struct stat st;
    if (stat(wine->folder, &st) != 0) wine = &kWineDllChoices[1];
    FILE* list = popen(("ls /usr/share/common-licenses; echo --; ls " + std::string(wine->folder) + " | grep '\\.dll$'").c_str(), "r");
    char line[512];
    bool executables = false;
    long total = 0;
    while (list && fgets(line, sizeof line, list)) {
        std::string name(line);
        name.erase(name.find_last_not_of("\r\n") + 1);
        if (name == "--") {
            executables = true;
            continue;
        }
        if (!executables) {
            const std::string path = "/usr/share/common-licenses/" + name;
            if (FileSize(path) <= 0) continue;
            pairs += " " + Quote("licenses/" + name + ".txt=" + path);
            continue;
        }
        if (total >= kExecutableBytes) continue;
        const std::string stripped = dlls + "/" + name;
        if (Run(std::string(wine->strip) + " -o " + Quote(stripped) + " " + Quote(std::string(wine->folder) + "/" + name) +
                " 2>/dev/null") != 0)
            continue;
        total += FileSize(stripped);
        pairs += " " + Quote("bin/" + name + "=" + stripped);
    }
    if (list) pclose(list);
    const std::string archive = work + "/payload.7z";
    if (Run("sh " + Quote(script) + " " + Quote(archive) + " " + Quote(work + "/stage") + pairs) != 0) return "";
    return archive;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    char pattern[] = "/tmp/payload-bench-XXXXXX";
    const char* made = mkdtemp(pattern);
    if (!made) return 1;
    const std::string work = made;
    const std::string archive = argc > 1 ? argv[1] : MakePayload(work);
    if (archive.empty()) {
        std::fprintf(stderr, "could not make the payload\n");
        return 1;
    }
    std::vector<double> ours, peer;
    for (int run = 0; run < kRuns; ++run) {
        const std::string ourFolder = work + "/ours", peerFolder = work + "/peer";
        auto start = std::chrono::steady_clock::now();
        if (!ExtractWithSetupCode(archive, ourFolder)) {
            std::fprintf(stderr, "our extraction failed\n");
            return 1;
        }
        ours.push_back(Seconds(start));
        start = std::chrono::steady_clock::now();
        if (Run("7zz x -y -bso0 -bsp0 -o" + Quote(peerFolder) + " " + Quote(archive)) != 0) return 1;
        peer.push_back(Seconds(start));
        if (run == 0 && Run("diff -r " + Quote(ourFolder) + " " + Quote(peerFolder)) != 0) {
            std::fprintf(stderr, "the two extractions differ\n");
            return 1;
        }
        Run("rm -rf " + Quote(ourFolder) + " " + Quote(peerFolder));
    }
    const double oursMedian = Median(ours), peerMedian = Median(peer);
    std::printf("payload: %s, %ld bytes packed, %u bytes unpacked, %d changes of the percent\n", archive.c_str(),
                FileSize(archive), g_total, g_percentChanges);
    std::printf("Setup extraction (native): %.3f s   7zz x: %.3f s   ratio %.2f (median of %d)\n", oursMedian,
                peerMedian, oursMedian / peerMedian, kRuns);
    if (argc <= 1) Run("rm -rf " + Quote(work));
    return 0;
}
