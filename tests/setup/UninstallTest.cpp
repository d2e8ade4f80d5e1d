// Uninstall.exe's hand-over mode, which takes the install folder from its command line.
#include <gtest/gtest.h>

#include "ProgramDriver.h"
#include "TempFolder.h"

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

}  // namespace
