// The item-name rule that keeps archive items and manifest entries inside the install folder.
#include "common/ItemName.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

bool SafeName(const std::wstring& name) {
    const std::vector<uint16_t> units(name.begin(), name.end());
    return IsSafeItemName(units.data(), units.size());
}

TEST(ItemName, AcceptsRelativePathsInsideTheFolder) {
    for (const wchar_t* name : {L"update", L"update/copy.bat", L"config.ini", L"a b/c.d.e", L"更新/说明.txt",
                                L"a\\b", L"..a", L".hidden", L"COM10", L"console.txt", L"nullable/x",
                                L"a~b.txt", L"a~1b.txt", L"COMA", L"LPT\u2074"}) {
        EXPECT_TRUE(SafeName(name)) << name;
    }
}

TEST(ItemName, RefusesNamesThatLeaveTheFolderOrOpenDevices) {
    for (const wchar_t* name :
         {L"", L".", L"..", L"../x", L"a/../../x", L"a\\..\\..\\x", L"/x", L"\\x", L"\\\\srv\\share\\x", L"C:/x",
          L"C:x", L"a/", L"a//b", L"a/. /b", L"...", L"a/ ", L"NUL", L"update/nul.txt", L"COM1", L"lpt9.log",
          L"con ", L"CONOUT$", L"nul.d/x", L"b.txt:stream", L"a\x01" L"b",
          // Windows trims a trailing dot or space: "a.." and "b.dll." would name "a" and "b.dll".
          L"a..", L"b.dll.", L"b.dll ", L"skin./x",
          L"COM0", L"lpt0.txt", L"COM\u00b9", L"LPT\u00b2.log", L"com\u00b3/x",
          // 8.3 short names may stand for another long name.
          L"UPDATE~1.EXE", L"PROGRA~1/x", L"update/VIEW~12.XAR", L"a~1"}) {
        EXPECT_FALSE(SafeName(name)) << name;
    }
}

}  // namespace
