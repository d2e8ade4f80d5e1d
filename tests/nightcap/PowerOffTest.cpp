// Power requests: the flags for each action, and when the shut-down privilege is enabled first. A fake PowerApi
// watches every call, so nothing here reaches ExitWindowsEx.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "nightcap/app/PowerOff.h"

using namespace nightcap;

namespace {

class FakePowerApi : public PowerApi {
public:
    FakePowerApi(DWORD version, DWORD platform) : version_(version), platform_(platform) {}
    DWORD Version() override { return version_; }
    DWORD PlatformId() override { return platform_; }
    bool OpenProcessToken(HANDLE process, DWORD access, UniqueHandle*) override {
        calls.push_back("open " + std::to_string(access) + (process == GetCurrentProcess() ? " self" : " other"));
        return openSucceeds;
    }
    bool LookupPrivilegeValue(const char* name, LUID* luid) override {
        calls.push_back(std::string("lookup ") + name);
        luid->LowPart = 19;
        luid->HighPart = 0;
        return true;
    }
    bool AdjustTokenPrivileges(HANDLE, TOKEN_PRIVILEGES* state, TOKEN_PRIVILEGES*, DWORD previousSize,
                               DWORD*) override {
        calls.push_back("adjust count=" + std::to_string(state->PrivilegeCount) +
                        " luid=" + std::to_string(state->Privileges[0].Luid.LowPart) +
                        " attributes=" + std::to_string(state->Privileges[0].Attributes) +
                        " previous=" + std::to_string(previousSize));
        return adjustResult;
    }
    bool ExitWindowsEx(UINT flags, DWORD reason) override {
        calls.push_back("exit " + std::to_string(flags) + " " + std::to_string(reason));
        return true;
    }
    bool SetSuspendState(bool hibernate, bool force) override {
        calls.push_back(std::string("suspend ") + (hibernate ? "hibernate" : "sleep") + (force ? " force" : ""));
        return true;
    }
    bool LockWorkStation() override {
        calls.push_back("lock");
        return true;
    }

    std::vector<std::string> calls;
    bool openSucceeds = true;
    bool adjustResult = true;

private:
    DWORD version_;
    DWORD platform_;
};

constexpr DWORD kNtVersion = 0x1DB10106;        // 6.1 build 7601
constexpr DWORD kWin9xVersion = 0xC0000A04;     // 4.10, bit 31 set
const std::string kShutdownPrivilege = "lookup SeShutdownPrivilege";
const std::string kAdjust = "adjust count=1 luid=19 attributes=2 previous=" + std::to_string(sizeof(TOKEN_PRIVILEGES));

TEST(PowerFlags, FollowActionAndForce) {
    EXPECT_EQ(PowerFlags(1, false), 1u);
    EXPECT_EQ(PowerFlags(1, true), 5u);
    EXPECT_EQ(PowerFlags(2, false), 2u);
    EXPECT_EQ(PowerFlags(2, true), 6u);
    EXPECT_EQ(PowerFlags(3, false), 0u);
    EXPECT_EQ(PowerFlags(3, true), 4u);
    // Any other action shuts down.
    EXPECT_EQ(PowerFlags(0, true), 5u);
    EXPECT_EQ(PowerFlags(7, false), 1u);
}

TEST(PowerOff, ForcedShutDownAndRestartOnNtEnableThePrivilegeFirst) {
    for (int action : {1, 2}) {
        FakePowerApi api(kNtVersion, VER_PLATFORM_WIN32_NT);
        PowerOff(action, true, api);
        std::vector<std::string> expected = {"open 40 self", kShutdownPrivilege, kAdjust,
                                             "exit " + std::to_string(action == 1 ? 5 : 6) + " 65535"};
        EXPECT_EQ(api.calls, expected) << action;
    }
}

TEST(PowerOff, UnforcedRequestsAndLogOffNeverTouchTheToken) {
    struct Case {
        int action;
        bool force;
        const char* exit;
    } cases[] = {{1, false, "exit 1 65535"}, {2, false, "exit 2 65535"}, {3, false, "exit 0 65535"},
                 {3, true, "exit 4 65535"}};
    for (const Case& c : cases) {
        FakePowerApi api(kNtVersion, VER_PLATFORM_WIN32_NT);
        PowerOff(c.action, c.force, api);
        EXPECT_EQ(api.calls, std::vector<std::string>{c.exit}) << c.action << " " << c.force;
    }
}

TEST(PowerOff, Windows9xAsksDirectly) {
    for (int action : {1, 2, 3}) {
        FakePowerApi api(kWin9xVersion, VER_PLATFORM_WIN32_WINDOWS);
        PowerOff(action, true, api);
        EXPECT_EQ(api.calls, std::vector<std::string>{"exit " + std::to_string(PowerFlags(action, true)) + " 65535"});
    }
}

TEST(PowerOff, RefusedPrivilegeStillAsks) {
    FakePowerApi api(kNtVersion, VER_PLATFORM_WIN32_NT);
    api.openSucceeds = false;
    PowerOff(1, true, api);
    EXPECT_EQ(api.calls, (std::vector<std::string>{"open 40 self", "exit 5 65535"}));
}

// The user's choice: the privilege comes first for everything that Windows refuses without it, forced or not;
// the gentle choice ends only hung programs.
TEST(CarryOut, EachActionWithItsFlagsAndPrivilege) {
    struct Case {
        PowerChoice choice;
        std::vector<std::string> calls;
    } cases[] = {
        {{kShutDown, true}, {"open 40 self", kShutdownPrivilege, kAdjust, "exit 5 65535"}},
        {{kShutDown, false}, {"open 40 self", kShutdownPrivilege, kAdjust, "exit 17 65535"}},
        {{kRestart, false}, {"open 40 self", kShutdownPrivilege, kAdjust, "exit 18 65535"}},
        {{kLogOff, true}, {"exit 4 65535"}},
        {{kLogOff, false}, {"exit 16 65535"}},
        {{kSleep, true}, {"open 40 self", kShutdownPrivilege, kAdjust, "suspend sleep force"}},
        {{kHibernate, false}, {"open 40 self", kShutdownPrivilege, kAdjust, "suspend hibernate"}},
        {{kLock, true}, {"lock"}},
    };
    for (const Case& c : cases) {
        FakePowerApi api(kNtVersion, VER_PLATFORM_WIN32_NT);
        CarryOut(c.choice, api);
        EXPECT_EQ(api.calls, c.calls) << c.choice.action << " " << c.choice.force;
    }
}

TEST(EnablePrivilege, OnlyOnNtFamily) {
    EXPECT_EQ(PlatformType(VER_PLATFORM_WIN32s), 1);
    EXPECT_EQ(PlatformType(VER_PLATFORM_WIN32_WINDOWS), 2);
    EXPECT_EQ(PlatformType(VER_PLATFORM_WIN32_NT), 3);
    EXPECT_EQ(PlatformType(7), 0);
    for (DWORD platform : {DWORD(VER_PLATFORM_WIN32s), DWORD(VER_PLATFORM_WIN32_WINDOWS), DWORD(5)}) {
        FakePowerApi api(kNtVersion, platform);
        EXPECT_FALSE(EnablePrivilege("SeShutdownPrivilege", nullptr, api));
        EXPECT_TRUE(api.calls.empty());
    }
}

TEST(EnablePrivilege, DefaultsToDebugPrivilegeOfThisProcessAndReturnsTheAdjustResult) {
    FakePowerApi api(kNtVersion, VER_PLATFORM_WIN32_NT);
    EXPECT_TRUE(EnablePrivilege(nullptr, nullptr, api));
    EXPECT_EQ(api.calls, (std::vector<std::string>{"open 40 self", "lookup SeDebugPrivilege", kAdjust}));

    FakePowerApi refused(kNtVersion, VER_PLATFORM_WIN32_NT);
    refused.adjustResult = false;
    HANDLE other = reinterpret_cast<HANDLE>(0x1234);
    EXPECT_FALSE(EnablePrivilege("SeBackupPrivilege", other, refused));
    EXPECT_EQ(refused.calls.front(), "open 40 other");
}

TEST(EnablePrivilege, RealTokenAcceptsTheShutdownPrivilege) {
    // Enabling a privilege in this test's own token is harmless; nothing asks Windows to shut down.
    EXPECT_TRUE(EnablePrivilege("SeShutdownPrivilege", nullptr, SystemPowerApi()));
    EXPECT_EQ(PlatformType(SystemPowerApi().PlatformId()), 3);
}

}  // namespace
