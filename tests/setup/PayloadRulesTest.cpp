// The portable rules of the payload extractor: the 260-unit path buffer, percents,
// the start-header scan, and what unpacking asks of the file system, in order.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <set>
#include <string>
#include <vector>

#include "7zAlloc.h"
#include "7zCrc.h"
#include "7zFile.h"
#include "lib/sevenzip/SevenZipArchive.h"
#include "setup/payload/ArchiveExtraction.h"
#include "setup/payload/InstallPath.h"
#include "setup/payload/PayloadLocator.h"
#include "setup/payload/PercentMeter.h"
#ifdef _WIN32
#include "tests/support/ProgramDriver.h"
#endif

using namespace setup;

namespace {

// UTF-16 units of text with a terminator.
std::vector<uint16_t> Terminated(const std::wstring& text) {
    std::vector<uint16_t> units(text.begin(), text.end());
    units.push_back(0);
    return units;
}

// The text of terminated UTF-16 units, unit by unit: wchar_t has 32 bits in the native run.
std::wstring Text(const uint16_t* units) {
    std::wstring text;
    for (; *units; ++units) text += wchar_t(*units);
    return text;
}

TEST(InstallPath, PutsItemsBehindTheFolderAndVisitsTheirParents) {
    InstallPath path;
    ASSERT_TRUE(path.SetFolder(Terminated(L"C:\\Nightcap").data()));
    EXPECT_EQ(Text(path.Get()), L"C:\\Nightcap\\");
    const std::wstring name = L"update/sub\\x.txt";
    ASSERT_TRUE(path.SetItem(Terminated(name).data(), name.size()));
    EXPECT_EQ(Text(path.Get()), L"C:\\Nightcap\\update\\sub\\x.txt");
    std::vector<std::wstring> parents;
    path.ForEachParent([&](const uint16_t* parent) { parents.push_back(Text(parent)); });
    EXPECT_EQ(parents, (std::vector<std::wstring>{L"C:\\Nightcap\\update", L"C:\\Nightcap\\update\\sub"}));
    EXPECT_EQ(Text(path.Get()), L"C:\\Nightcap\\update\\sub\\x.txt");

    ASSERT_TRUE(path.SetFolder(Terminated(L"D:\\").data()));
    EXPECT_EQ(Text(path.Get()), L"D:\\");
    EXPECT_FALSE(path.SetFolder(Terminated(L"").data()));
}

TEST(InstallPath, NeverHoldsMoreThan260UnitsWithTheTerminator) {
    InstallPath path;
    const std::wstring folder = L"C:\\" + std::wstring(246, L'f');  // 250 units with the added backslash
    ASSERT_TRUE(path.SetFolder(Terminated(folder).data()));
    const std::wstring fits(9, L'n'), tooLong(10, L'n');
    EXPECT_TRUE(path.SetItem(Terminated(fits).data(), fits.size()));
    EXPECT_EQ(Text(path.Get()).size(), 259u);
    EXPECT_FALSE(path.SetItem(Terminated(tooLong).data(), tooLong.size()));
    EXPECT_FALSE(path.SetItem(Terminated(tooLong).data(), SIZE_MAX));

    EXPECT_TRUE(path.SetFolder(Terminated(std::wstring(258, L'f') + L"\\").data()));
    EXPECT_FALSE(path.SetFolder(Terminated(std::wstring(259, L'f') + L"\\").data()));
    EXPECT_FALSE(path.SetFolder(Terminated(std::wstring(259, L'f')).data()));  // no room for the backslash
}

TEST(Percent, IsWholeNeverDividesByZeroAndDoesNotOverflow) {
    EXPECT_EQ(PercentOf(0, 0), 0);
    EXPECT_EQ(PercentOf(5000, 0), 0);
    EXPECT_EQ(PercentOf(129, 12829210), 0);
    EXPECT_EQ(PercentOf(128292, 12829210), 0);
    EXPECT_EQ(PercentOf(128293, 12829210), 1);
    EXPECT_EQ(PercentOf(12829210, 12829210), 100);
    EXPECT_EQ(PercentOf(4000000000u, 4200000000u), 95);  // bytes * 100 exceeds 32 bits
    EXPECT_EQ(PercentOf(UINT32_MAX, 1000), 100);
}

TEST(Percent, MeterReportsOnlyChangesStartingFromZero) {
    PercentMeter meter;
    int percent = -1;
    EXPECT_FALSE(meter.Changed(9, 1000, &percent));  // 0 %, as the bar starts: nothing to send
    EXPECT_TRUE(meter.Changed(10, 1000, &percent));
    EXPECT_EQ(percent, 1);
    EXPECT_FALSE(meter.Changed(19, 1000, &percent));
    EXPECT_TRUE(meter.Changed(1000, 1000, &percent));
    EXPECT_EQ(percent, 100);
    meter.Reset();
    EXPECT_FALSE(meter.Changed(5, 0, &percent));  // no total: stays at 0
    EXPECT_TRUE(meter.Changed(1000, 1000, &percent));  // a new extraction starts from 0 again
}

// A 7z start header whose checksum matches, followed by nothing.
std::string StartHeader() {
    std::string header("7z\xBC\xAF\x27\x1C\x00\x04", 8);
    std::string tail(20, '\0');
    for (size_t i = 0; i < tail.size(); ++i) tail[i] = char(i * 7 + 1);
    const uint32_t crc = CrcCalc(tail.data(), tail.size());
    for (int i = 0; i < 4; ++i) header += char(crc >> (8 * i));
    return header + tail;
}

bool Find(const std::string& bytes, size_t* offset) {
    return FindPayloadStart(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), offset);
}

TEST(PayloadLocator, SkipsSignaturesWithoutAMatchingStartHeader) {
    CrcGenerateTable();
    std::string header = StartHeader();
    std::string broken = header;
    broken[8] ^= 1;  // the stored checksum
    std::string bytes = "MZ" + std::string(100, 'x') + "7z\xBC\xAF\x27\x1C" + std::string(50, '7') + broken +
                        "7z" + header + "data";
    size_t offset = 0;
    ASSERT_TRUE(Find(bytes, &offset));
    EXPECT_EQ(offset, bytes.size() - header.size() - 4);

    EXPECT_FALSE(Find("MZ" + broken + std::string(10, '\0'), &offset));
}

TEST(PayloadLocator, ScansUpToThirtyThreeBytesBeforeTheEnd) {
    CrcGenerateTable();
    const std::string header = StartHeader();
    size_t offset = 0;
    ASSERT_TRUE(Find("abc" + header + "!", &offset));  // the last offset scanned: size - 33
    EXPECT_EQ(offset, 3u);
    EXPECT_FALSE(Find("abc" + header, &offset));
    EXPECT_FALSE(Find(header, &offset));
    EXPECT_FALSE(Find("", &offset));
}

const ISzAlloc kAlloc = {SzAlloc, SzFree};
const ISzAlloc kAllocTemp = {SzAllocTemp, SzFreeTemp};

// A test archive from bin/payload-tests, opened at its start.
class TestArchive {
public:
    explicit TestArchive(const std::wstring& name) : archive(&kAlloc, &kAllocTemp) {
        CrcGenerateTable();
        FileInStream_CreateVTable(&stream_);
        File_Construct(&stream_.file);
#ifdef _WIN32
        const std::wstring path = BuildFolder() + L"\\payload-tests\\" + name;
        opened = InFile_OpenW(&stream_.file, path.c_str()) == 0 && archive.Open(&stream_.vt);
#else
        // The native run reads the archives the Windows build made.
        const std::string path = std::string(PAYLOAD_TEST_ARCHIVES) + "/" + std::string(name.begin(), name.end());
        opened = InFile_Open(&stream_.file, path.c_str()) == 0 && archive.Open(&stream_.vt);
#endif
    }
    ~TestArchive() { File_Close(&stream_.file); }

    SevenZipArchive archive;
    bool opened = false;

private:
    CFileInStream stream_{};
};

// Writes down every request, and can refuse files or write less than asked: at most writeLimit bytes a call,
// and diskRoom bytes in all (then every write fails, as on a full disk).
class RecordingTarget : public ExtractTarget {
public:
    void CreateFolderTree(const uint16_t* path) override { calls.push_back(L"tree " + Text(path)); }
    void CreateFolder(const uint16_t* path) override { calls.push_back(L"folder " + Text(path)); }
    bool CreateOutputFile(const uint16_t* path) override {
        const std::wstring text = Text(path);
        paths.push_back(text);
        if (refused.count(text)) return false;
        calls.push_back(L"create " + text);
        return true;
    }
    size_t Write(const uint8_t*, size_t size) override {
        const size_t written = std::min({size, writeLimit, diskRoom});
        diskRoom -= written;
        calls.push_back(L"write " + std::to_wstring(size) + L" " + std::to_wstring(written));
        return written;
    }
    void SetModificationTime(uint64_t fileTime) override { calls.push_back(L"time " + std::to_wstring(fileTime)); }
    void CloseFile() override { calls.push_back(L"close"); }
    void RemoveFile(const uint16_t* path) override { calls.push_back(L"remove " + Text(path)); }

    std::vector<std::wstring> calls;
    std::vector<std::wstring> paths;  // every file asked for, refused or not
    std::set<std::wstring> refused;
    size_t writeLimit = SIZE_MAX;
    size_t diskRoom = SIZE_MAX;
};

bool Extract(TestArchive& test, const std::wstring& folder, RecordingTarget& target,
             void (*progress)(UInt32) = nullptr) {
    return ExtractArchive(test.archive, Terminated(folder).data(), target, progress);
}

const std::wstring kStamp = L"time 133000000000000000";  // the time make-test-archives.py stores

TEST(ArchiveExtraction, CreatesFoldersThenWritesEachFileAndItsTime) {
    TestArchive test(L"safe.7z");
    ASSERT_TRUE(test.opened);
    RecordingTarget target;
    ASSERT_TRUE(Extract(test, L"C:\\inst", target));
    EXPECT_EQ(target.calls, (std::vector<std::wstring>{
                                L"tree C:\\inst\\", L"folder C:\\inst\\update",  // the folder item
                                L"folder C:\\inst\\update",                      // parent of update/a.txt
                                L"create C:\\inst\\update\\a.txt", L"write 12 12", kStamp, L"close",
                                L"create C:\\inst\\b.txt", L"write 13 13", kStamp, L"close"}));
}

TEST(ArchiveExtraction, SkipsFilesThatCannotBeCreated) {
    TestArchive test(L"safe.7z");
    ASSERT_TRUE(test.opened);
    RecordingTarget refusing;
    refusing.refused.insert(L"C:\\inst\\update\\a.txt");
    ASSERT_TRUE(Extract(test, L"C:\\inst\\", refusing));
    EXPECT_EQ(std::vector<std::wstring>(refusing.calls.begin() + 3, refusing.calls.end()),
              (std::vector<std::wstring>{L"create C:\\inst\\b.txt", L"write 13 13", kStamp, L"close"}));
}

// A file that cannot be written whole is removed and ends the extraction with a failure; the files written
// before it stay.
TEST(ArchiveExtraction, FailsAndRemovesAFileThatCannotBeWrittenWhole) {
    TestArchive test(L"safe.7z");
    ASSERT_TRUE(test.opened);
    struct Case {
        const char* label;
        size_t writeLimit, diskRoom;
        std::vector<std::wstring> calls;  // after the three folder calls
    };
    const Case cases[] = {
        {"every write fails", SIZE_MAX, 0,
         {L"create C:\\inst\\update\\a.txt", L"write 12 0", L"close", L"remove C:\\inst\\update\\a.txt"}},
        {"the disk fills within the first file", SIZE_MAX, 5,
         {L"create C:\\inst\\update\\a.txt", L"write 12 5", L"write 7 0", L"close",
          L"remove C:\\inst\\update\\a.txt"}},
        {"short writes, then the disk fills within the second file", 4, 12 + 6,
         {L"create C:\\inst\\update\\a.txt", L"write 12 4", L"write 8 4", L"write 4 4", kStamp, L"close",
          L"create C:\\inst\\b.txt", L"write 13 4", L"write 9 2", L"write 7 0", L"close",
          L"remove C:\\inst\\b.txt"}},
    };
    for (const Case& c : cases) {
        RecordingTarget target;
        target.writeLimit = c.writeLimit;
        target.diskRoom = c.diskRoom;
        EXPECT_FALSE(Extract(test, L"C:\\inst\\", target)) << c.label;
        EXPECT_EQ(std::vector<std::wstring>(target.calls.begin() + 3, target.calls.end()), c.calls) << c.label;
    }

    // A file held open is still skipped when a later one fails.
    RecordingTarget lockedThenFull;
    lockedThenFull.refused.insert(L"C:\\inst\\update\\a.txt");
    lockedThenFull.diskRoom = 0;
    EXPECT_FALSE(Extract(test, L"C:\\inst\\", lockedThenFull));
    EXPECT_EQ(lockedThenFull.calls.back(), L"remove C:\\inst\\b.txt");
}

TEST(ArchiveExtraction, WritesInPiecesOfAtMostFourMebibytesAndResumesShortWrites) {
    TestArchive test(L"progress.7z");
    ASSERT_TRUE(test.opened);
    RecordingTarget target;
    ASSERT_TRUE(Extract(test, L"C:\\inst", target));
    size_t dllWrites = 0, dllBytes = 0;
    for (size_t i = 0; i < target.calls.size(); ++i) {
        if (target.calls[i] != L"create C:\\inst\\bin\\kernelbase.dll") continue;
        for (size_t j = i + 1; target.calls[j].rfind(L"write ", 0) == 0; ++j) {
            const size_t size = std::stoul(target.calls[j].substr(6));
            EXPECT_LE(size, kWritePieceBytes);
            dllBytes += size;
            ++dllWrites;
        }
    }
    EXPECT_EQ(dllWrites, 2u);  // the DLL is over 4 MiB
    EXPECT_GT(dllBytes, kWritePieceBytes);

    RecordingTarget slow;
    slow.writeLimit = 1 << 20;
    ASSERT_TRUE(Extract(test, L"C:\\inst", slow));
    size_t written = 0, writes = 0;
    for (const std::wstring& call : slow.calls) {
        if (call.rfind(L"write ", 0) != 0) continue;
        written += std::stoul(call.substr(call.rfind(L' ') + 1));
        ++writes;
    }
    EXPECT_EQ(written, test.archive.UnpackedTotal());
    EXPECT_EQ(writes, dllBytes / (1 << 20) + 2);  // whole mebibytes, the DLL's rest, the text file
}

TEST(ArchiveExtraction, RefusesItemsWhosePathDoesNotFitAndFoldersThatDoNot) {
    TestArchive test(L"safe.7z");
    ASSERT_TRUE(test.opened);
    // 250 units with the backslash: "update" and "b.txt" still fit, "update\a.txt" (12 + terminator) does not.
    const std::wstring folder = L"C:\\" + std::wstring(246, L'f');
    RecordingTarget target;
    ASSERT_TRUE(Extract(test, folder, target));
    EXPECT_EQ(target.paths, (std::vector<std::wstring>{folder + L"\\b.txt"}));
    EXPECT_EQ(target.calls[1], L"folder " + folder + L"\\update");

    RecordingTarget none;
    EXPECT_FALSE(Extract(test, L"C:\\" + std::wstring(257, L'f'), none));
    EXPECT_TRUE(none.calls.empty());
}

TEST(ArchiveExtraction, RefusesArchivesWithNamesLeavingTheFolderBeforeCreatingAnything) {
    for (const wchar_t* label : {L"dotdot", L"nested-dotdot", L"backslash-dotdot", L"drive", L"drive-relative",
                                 L"leading-slash", L"leading-backslash", L"unc", L"dots-and-spaces", L"device",
                                 L"stream"}) {
        TestArchive test(std::wstring(L"escape-") + label + L".7z");
        ASSERT_TRUE(test.opened) << label;
        RecordingTarget target;
        EXPECT_FALSE(Extract(test, L"C:\\inst\\", target)) << label;
        EXPECT_TRUE(target.calls.empty()) << label;
    }
}

std::vector<UInt32> g_progress;
void RecordProgress(UInt32 bytes) { g_progress.push_back(bytes); }

TEST(ArchiveExtraction, ReportsDecodedBytesOfTheWholeArchiveWithinEachBlock) {
    TestArchive test(L"progress.7z");
    ASSERT_TRUE(test.opened);
    RecordingTarget target;
    g_progress.clear();
    ASSERT_TRUE(Extract(test, L"C:\\inst", target, RecordProgress));
    EXPECT_EQ(ProgressHook, nullptr);
    ASSERT_GT(g_progress.size(), 20u);  // one report per look-ahead buffer of packed input
    for (size_t i = 1; i < g_progress.size(); ++i) EXPECT_LE(g_progress[i - 1], g_progress[i]);
    EXPECT_EQ(g_progress.back(), test.archive.UnpackedTotal());
}

}  // namespace
