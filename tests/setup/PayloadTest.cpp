// Setup's payload under Wine: locating, measuring and unpacking the real archive appended to SetupFull.exe,
// damaged and hostile archives, files in the way, and what the progress bar receives.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "7z.h"
#include "7zCrc.h"
#include "common/Handles.h"
#include "common/InstallRecordFile.h"
#include "setup/payload/Payload.h"
#include "setup/payload/PayloadLocator.h"
#include "setup/payload/PercentMeter.h"
#include "tests/support/ProgramDriver.h"
#include "tests/support/TempFolder.h"

using namespace setup;

namespace {

const std::string kSignature("7z\xBC\xAF\x27\x1C", 6);

std::wstring Built(const std::wstring& name) { return BuildFolder() + L"\\" + name; }
std::wstring TestArchive(const std::wstring& name) { return Built(L"payload-tests\\" + name); }
std::wstring StageFolder() { return BuildFolder() + L"\\..\\payload\\stage"; }

std::string Bytes(const std::wstring& path) {
    std::string bytes;
    EXPECT_TRUE(ReadFileBytes(path, &bytes)) << path;
    return bytes;
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

uint64_t WriteTime(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return uint64_t(data.ftLastWriteTime.dwHighDateTime) << 32 | data.ftLastWriteTime.dwLowDateTime;
}

// Files below root, as paths relative to it, sorted.
void ListFiles(const std::wstring& root, const std::wstring& relative, std::vector<std::wstring>* files) {
    WIN32_FIND_DATAW found;
    UniqueFindHandle find(FindFirstFileW((root + L"\\" + relative + L"*").c_str(), &found));
    if (!find) return;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            ListFiles(root, relative + name + L"\\", files);
        else
            files->push_back(relative + name);
    } while (FindNextFileW(find.Get(), &found));
}

std::vector<std::wstring> Files(const std::wstring& root) {
    std::vector<std::wstring> files;
    ListFiles(root, L"", &files);
    std::sort(files.begin(), files.end());
    return files;
}

size_t ArchiveStart(const std::string& bytes) {
    CrcGenerateTable();
    size_t offset = 0;
    EXPECT_TRUE(FindPayloadStart(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), &offset));
    return offset;
}

// Packed bytes of an archive starting at start: from the end of the start header to the database.
uint64_t PackedSize(const std::string& bytes, size_t start) {
    uint64_t size = 0;
    for (int i = 7; i >= 0; --i) size = size << 8 | uint8_t(bytes[start + 12 + i]);
    return size;
}

// The files of a folder an extraction wrote into: the staged ones and the install record.
std::vector<std::wstring> WithRecord(std::vector<std::wstring> files) {
    files.push_back(L"installed-files.txt");
    std::sort(files.begin(), files.end());
    return files;
}

class PayloadTest : public ::testing::Test {
protected:
    void TearDown() override {
        g_dwRequiredBytes = 0;
        SetProgressBar(nullptr);
    }
    // The install folder as Setup passes it: inside the temp folder, with a backslash at the end.
    std::wstring Folder() const { return temp_.Path() + L"\\Programs\\Nightcap\\"; }
    std::wstring Installed(const std::wstring& name) const { return Folder() + name; }
    std::wstring Write(const std::wstring& name, const std::string& bytes) {
        const std::wstring path = temp_ / name;
        EXPECT_TRUE(WriteFileBytes(path, bytes));
        return path;
    }
    // Every staged file is installed with its bytes and its modification time.
    void ExpectInstalled(const std::vector<std::wstring>& files) {
        for (const std::wstring& file : files) {
            EXPECT_EQ(Bytes(Installed(file)), Bytes(StageFolder() + L"\\" + file)) << file;
            EXPECT_EQ(WriteTime(Installed(file)), WriteTime(StageFolder() + L"\\" + file)) << file;
        }
    }

    TempFolder temp_;
};

TEST_F(PayloadTest, MeasuresTheSumOfItsBlocks) {
    uint64_t staged = 0;
    for (const std::wstring& file : Files(StageFolder())) staged += Bytes(StageFolder() + L"\\" + file).size();
    EXPECT_EQ(MeasurePayload(Built(L"SetupFull.exe").c_str()), staged);
    EXPECT_EQ(MeasurePayload(TestArchive(L"progress.7z").c_str()),
              Bytes(TestArchive(L"progress-stage\\notes\\readme.txt")).size() +
                  Bytes(TestArchive(L"progress-stage\\bin\\kernelbase.dll")).size());
    EXPECT_EQ(MeasurePayload(Built(L"Setup.exe").c_str()), 0u);  // no payload appended
    EXPECT_EQ(MeasurePayload((temp_ / L"missing.exe").c_str()), 0u);
}

TEST_F(PayloadTest, ExtractsEveryFileWithItsBytesAndModificationTime) {
    const std::vector<std::wstring> staged = Files(StageFolder());
    ASSERT_EQ(staged, (std::vector<std::wstring>{L"Nightcap.exe", L"Uninstall.exe", L"config.ini", L"update\\Update.exe",
                                                 L"update\\View.xar", L"update\\XLUE.dll", L"update\\copy.bat"}));
    ASSERT_TRUE(ExtractPayload(Built(L"SetupFull.exe").c_str(), Folder().c_str()));
    EXPECT_EQ(Files(Folder()), WithRecord(staged));
    ExpectInstalled(staged);
    // The install record lists every file written, for the uninstaller.
    std::vector<std::wstring> recorded;
    for (const std::u16string& path : ReadInstallRecordFile(Folder())) recorded.emplace_back(path.begin(), path.end());
    std::sort(recorded.begin(), recorded.end());
    EXPECT_EQ(recorded, staged);
}

// Signed after the payload was appended, the Authenticode signature follows the archive: Setup still finds
// the archive and unpacks every file.
TEST_F(PayloadTest, ASignedSetupFullUnpacksAsTheUnsignedOne) {
    const std::vector<std::wstring> staged = Files(StageFolder());
    EXPECT_GT(Bytes(SIGNED_SETUP_FULL).size(), Bytes(Built(L"SetupFull.exe")).size());
    EXPECT_EQ(MeasurePayload(SIGNED_SETUP_FULL), MeasurePayload(Built(L"SetupFull.exe").c_str()));
    ASSERT_TRUE(ExtractPayload(SIGNED_SETUP_FULL, Folder().c_str()));
    EXPECT_EQ(Files(Folder()), WithRecord(staged));
    ExpectInstalled(staged);
}

TEST_F(PayloadTest, FindsTheArchiveBehindAnExecutableHoldingTheSignatureMoreThanOnce) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::string exe = Bytes(self);
    size_t copies = 0;
    for (size_t at = exe.find(kSignature); at != std::string::npos; at = exe.find(kSignature, at + 1)) ++copies;
    ASSERT_GE(copies, 2u);  // the decoder's constant and the locator's

    const std::wstring host = Write(L"host.exe", exe + Bytes(TestArchive(L"progress.7z")));
    UniqueHandle file(CreateFileW(host.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(LocatePayload(file.Get()));
    LARGE_INTEGER zero = {}, position = {};
    SetFilePointerEx(file.Get(), zero, &position, FILE_CURRENT);
    EXPECT_EQ(uint64_t(position.QuadPart), exe.size());

    EXPECT_EQ(MeasurePayload(host.c_str()), MeasurePayload(TestArchive(L"progress.7z").c_str()));
    ASSERT_TRUE(ExtractPayload(host.c_str(), Folder().c_str()));
    EXPECT_EQ(Bytes(Installed(L"bin\\kernelbase.dll")), Bytes(TestArchive(L"progress-stage\\bin\\kernelbase.dll")));

    UniqueHandle plain(CreateFileW(self, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_FALSE(LocatePayload(plain.Get()));
}

TEST_F(PayloadTest, FailsCleanlyOnATruncatedArchive) {
    const std::string full = Bytes(Built(L"SetupFull.exe"));
    const size_t start = ArchiveStart(full);
    for (size_t keep : {full.size() - 1, size_t(start + 32 + PackedSize(full, start) / 2), start + 40}) {
        const std::wstring cut = Write(L"cut.exe", full.substr(0, keep));
        EXPECT_EQ(MeasurePayload(cut.c_str()), 0u) << keep;
        EXPECT_FALSE(ExtractPayload(cut.c_str(), Folder().c_str())) << keep;
        EXPECT_FALSE(Exists(Folder())) << keep;
    }
}

TEST_F(PayloadTest, FailsOnADamagedBlockAndWritesNoneOfItsFiles) {
    const std::string full = Bytes(Built(L"SetupFull.exe"));
    const size_t start = ArchiveStart(full);
    std::string damaged = full;
    damaged[start + 32 + PackedSize(full, start) * 3 / 4] ^= 0x20;  // block 1: nearly all packed bytes
    const std::wstring path = Write(L"damaged.exe", damaged);
    EXPECT_EQ(MeasurePayload(path.c_str()), MeasurePayload(Built(L"SetupFull.exe").c_str()));
    EXPECT_FALSE(ExtractPayload(path.c_str(), Folder().c_str()));
    ExpectInstalled({L"config.ini", L"update\\copy.bat", L"update\\View.xar"});  // block 0 came first
    for (const wchar_t* file : {L"Nightcap.exe", L"Uninstall.exe", L"update\\Update.exe", L"update\\XLUE.dll"}) {
        EXPECT_FALSE(Exists(Installed(file))) << file;
    }

    damaged = full;
    damaged[start + 32 + 8] ^= 0x01;  // block 0
    RemoveTree(Folder());
    EXPECT_FALSE(ExtractPayload(Write(L"damaged0.exe", damaged).c_str(), Folder().c_str()));
    EXPECT_EQ(Files(Folder()), std::vector<std::wstring>{});
}

TEST_F(PayloadTest, RefusesAnArchiveWithANameLeavingTheFolder) {
    for (const wchar_t* label : {L"dotdot", L"nested-dotdot", L"backslash-dotdot", L"leading-backslash", L"drive"}) {
        EXPECT_FALSE(ExtractPayload(TestArchive(std::wstring(L"escape-") + label + L".7z").c_str(), Folder().c_str()))
            << label;
        EXPECT_FALSE(Exists(Folder())) << label;
        EXPECT_EQ(Files(temp_.Path()), std::vector<std::wstring>{}) << label;
    }
    ASSERT_TRUE(ExtractPayload(TestArchive(L"safe.7z").c_str(), Folder().c_str()));  // the same writer, fair names
    EXPECT_EQ(Files(Folder()), WithRecord({L"b.txt", L"update\\a.txt"}));
}

TEST_F(PayloadTest, ReplacesAnExistingFileAndSkipsALockedOne) {
    ASSERT_TRUE(SHCreateDirectoryExW(nullptr, Installed(L"update").c_str(), nullptr) == ERROR_SUCCESS);
    ASSERT_TRUE(WriteFileBytes(Installed(L"config.ini"), std::string(5000, 'o')));
    UniqueHandle running(CreateFileW(Installed(L"update\\Update.exe").c_str(), GENERIC_WRITE, 0, nullptr,
                                     CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(running);
    DWORD written = 0;
    WriteFile(running.Get(), "running", 7, &written, nullptr);

    EXPECT_TRUE(ExtractPayload(Built(L"SetupFull.exe").c_str(), Folder().c_str()));
    running.Reset();
    EXPECT_EQ(Bytes(Installed(L"update\\Update.exe")), "running");
    ExpectInstalled({L"Nightcap.exe", L"Uninstall.exe", L"config.ini", L"update\\View.xar", L"update\\XLUE.dll",
                     L"update\\copy.bat"});
}

struct Position {
    int percent;
    UInt32 decodedBlocks;  // ProgressBase when the bar was set
};
std::vector<Position> g_positions;

LRESULT CALLBACK RecordPositions(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == PBM_SETPOS) {
        g_positions.push_back({int(wParam), ProgressBase});
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

struct WorkerArgs {
    std::wstring path, folder;
    bool ok = false;
};

DWORD WINAPI ExtractOnWorker(void* param) {
    WorkerArgs* args = static_cast<WorkerArgs*>(param);
    args->ok = ExtractPayload(args->path.c_str(), args->folder.c_str());
    return 0;
}

TEST_F(PayloadTest, ProgressBarClimbsThroughBothBlocksToOneHundred) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = RecordPositions;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"PayloadProgressRecorder";
    RegisterClassW(&wc);
    HWND bar = CreateWindowW(wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    ASSERT_TRUE(bar);

    WorkerArgs args{TestArchive(L"progress.7z"), Folder()};
    g_dwRequiredBytes = MeasurePayload(args.path.c_str());
    const UInt32 block0 = UInt32(Bytes(TestArchive(L"progress-stage\\notes\\readme.txt")).size());
    SetProgressBar(bar);
    g_positions.clear();
    UniqueHandle worker(CreateThread(nullptr, 0, ExtractOnWorker, &args, 0, nullptr));
    ASSERT_TRUE(worker);
    HANDLE wait = worker.Get();
    // The worker sends to the bar across threads: keep taking its messages until it ends.
    while (MsgWaitForMultipleObjects(1, &wait, FALSE, 60000, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
    ASSERT_EQ(WaitForSingleObject(wait, 0), WAIT_OBJECT_0);
    DestroyWindow(bar);
    EXPECT_TRUE(args.ok);

    ASSERT_FALSE(g_positions.empty());
    EXPECT_EQ(g_positions.back().percent, 100);
    size_t inBlock0 = 0, inBlock1 = 0;
    for (size_t i = 0; i < g_positions.size(); ++i) {
        const Position& p = g_positions[i];
        if (i > 0) {
            EXPECT_GT(p.percent, g_positions[i - 1].percent) << i;
        }
        EXPECT_GT(p.percent, 0);
        if (p.decodedBlocks == 0) {
            ++inBlock0;
            EXPECT_EQ(inBlock1, 0u);  // block 0 first
            EXPECT_LE(p.percent, PercentOf(block0, g_dwRequiredBytes));
        } else {
            ++inBlock1;
            EXPECT_EQ(p.decodedBlocks, block0);
        }
    }
    EXPECT_GE(inBlock0, 5u);  // the bar moves within a block, not only between blocks
    EXPECT_GE(inBlock1, 50u);
}

}  // namespace
