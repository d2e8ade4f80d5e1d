// Uninstall.exe's hand-over mode, which takes the install folder from its command line, and the removal of
// an install's files by its install record.
#include <gtest/gtest.h>

#include "common/InstallRecordFile.h"
#include "setup/uninstall/Uninstaller.h"
#include "tests/support/ProgramDriver.h"
#include "tests/support/TempFolder.h"

using namespace setup;

namespace {

TEST(Uninstall, HandOverWithAFolderThatIsNotAWholePathRemovesNothing) {
    TempFolder temp;
    CreateDirectoryW((temp / L"inst").c_str(), nullptr);
    const std::wstring config = temp / L"inst\\config.ini";
    ASSERT_TRUE(WriteFileBytes(config, "[set]\r\n"));
    // The hand-over copy leaves its own file for deletion at the next restart: run a copy of the build's.
    const std::wstring exe = temp / L"Uninstall.exe";
    ASSERT_TRUE(CopyFileTo(BuildFolder() + L"\\Uninstall.exe", exe));
    // A relative folder would resolve against the working folder, an empty one against the drive root.
    for (const wchar_t* folder : {L"inst", L""}) {
        Program uninstall;
        ASSERT_TRUE(uninstall.Start(exe, std::wstring(L"--remove 0 \"") + folder + L"\"", temp.Path()))
            << "error " << GetLastError();
        DWORD code = 0;
        EXPECT_TRUE(uninstall.WaitExit(10000, &code)) << "folder \"" << folder << "\"";
        EXPECT_EQ(code, 1u);
        EXPECT_NE(GetFileAttributesW(config.c_str()), INVALID_FILE_ATTRIBUTES);
    }
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// An install whose updates added files (one in a folder of its own, one in a new folder under update):
// everything the install record, the first release and the updater's own files name goes, with the folders
// left empty; what the user put there stays, and so does the folder holding it.
TEST(Uninstall, RemovesWhatTheRecordListsAndLeavesTheUsersFiles) {
    for (const bool userFiles : {true, false}) {
        SCOPED_TRACE(userFiles ? "with the user's files" : "nothing of the user's");
        TempFolder temp;
        const std::wstring folder = temp / L"inst\\";
        for (const wchar_t* sub : {L"inst", L"inst\\update", L"inst\\update\\plugins", L"inst\\skin",
                                   L"inst\\update\\Temp"})
            ASSERT_TRUE(CreateDirectoryW((temp / sub).c_str(), nullptr));
        const std::vector<std::u16string> setupFiles = {u"Nightcap.exe", u"Uninstall.exe", u"config.ini",
                                                        u"update\\Update.exe", u"update\\XLUE.dll"};
        const std::vector<std::u16string> updateFiles = {u"skin\\new.png", u"Update\\plugins\\extra.dll",
                                                         u"update\\XLUE.dll"};
        for (const auto* files : {&setupFiles, &updateFiles}) {
            for (const std::u16string& file : *files)
                ASSERT_TRUE(WriteFileBytes(folder + std::wstring(file.begin(), file.end()), "x"));
            ASSERT_TRUE(AddToInstallRecord(folder, *files));
        }
        for (const wchar_t* work : {L"update\\update_md5.xml", L"update\\update_md5.xml.sig", L"update\\update_log.xml",
                                    L"update\\Temp\\staged.dll"})
            ASSERT_TRUE(WriteFileBytes(folder + work, "x"));
        if (userFiles) {
            ASSERT_TRUE(WriteFileBytes(folder + L"mine.txt", "mine"));
            ASSERT_TRUE(WriteFileBytes(folder + L"skin\\mine.png", "mine"));
        }
        RemoveInstalledFiles(folder);
        if (!userFiles) {
            EXPECT_FALSE(Exists(folder));
            continue;
        }
        EXPECT_TRUE(Exists(folder + L"mine.txt"));
        EXPECT_TRUE(Exists(folder + L"skin\\mine.png"));
        for (const wchar_t* gone : {L"Nightcap.exe", L"installed-files.txt", L"skin\\new.png", L"update"})
            EXPECT_FALSE(Exists(folder + gone)) << gone;
    }
}

}  // namespace
