// The engine as the updater drives it: mounts and module lookup, chunks, protected calls and their errors,
// classes, global objects, package loading and the libraries scripts get.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "engine/Xlue.h"
#include "tests/support/ProgramDriver.h"
#include "tests/support/TempFolder.h"

namespace {
struct ReportedError {
    std::wstring context, error, stack;
};
std::vector<ReportedError> g_errors;

int __stdcall RecordError(lua_State*, const wchar_t* addInfo, const wchar_t* errorText, const wchar_t* stack) {
    g_errors.push_back({addInfo ? addInfo : L"", errorText ? errorText : L"", stack ? stack : L""});
    return 0;
}

std::wstring Packages() { return BuildFolder() + L"\\testpackages\\"; }
std::wstring Target(const std::wstring& archive) { return L"xar@file://" + archive + L"$"; }

std::string GlobalString(lua_State* L, const char* name) {
    lua_getglobal(L, name);
    const char* text = lua_tostring(L, -1);
    std::string value = text ? text : "(nil)";
    lua_pop(L, 1);
    return value;
}

class Engine : public ::testing::Test {
protected:
    void SetUp() override {
        g_errors.clear();
        XLGraphicParam param;
        ASSERT_EQ(XL_PrepareGraphicParam(&param), 0);
        param.mode = 1;
        ASSERT_EQ(XL_InitGraphicLib(&param), 0);
        ASSERT_EQ(XLUE_InitLoader(nullptr), 0);
        XLLRT_ErrorHandle(RecordError);
        env_ = XLLRT_GetEnv(nullptr);
        runtime_ = XLLRT_GetRuntime(env_, nullptr);
        L = XLLRT_GetLuaState(runtime_);
        ASSERT_NE(L, nullptr);
    }
    void TearDown() override {
        XLLRT_ReleaseRunTime(runtime_);
        XLLRT_ReleaseEnv(env_);
        XLUE_Uninit(nullptr);
        XLUE_UninitLuaHost(nullptr);
        XL_UnInitGraphicLib();
        XLUE_UninitHandleMap(nullptr);
    }
    // Runs code in the state; its errors go to the handler.
    long Run(const char* code) {
        if (luaL_loadstring(L, code) != 0) {
            lua_pop(L, 1);
            return -1;
        }
        return XLLRT_LuaCall(L, 0, 0, L"test");
    }

    XL_LRT_ENV_HANDLE env_ = nullptr;
    XL_LRT_RUNTIME_HANDLE runtime_ = nullptr;
    lua_State* L = nullptr;
};

TEST_F(Engine, ModulesResolveThroughBothMountPointsWhateverTheSeparatorsAndCase) {
    const std::wstring folder = Packages();  // ends in a backslash, like the updater's folder
    const std::wstring target = Target(folder + L"\\engine.xar");
    ASSERT_EQ(XLFS_MountDir(L"\\View", target.c_str(), 0, 0), 0);
    ASSERT_EQ(XLFS_MountDir((folder + L"\\View").c_str(), target.c_str(), 0, 0), 0);

    for (const std::wstring& path : {std::wstring(L"\\View\\layout\\luacode\\UIHelper.lua"),
                                     folder + L"\\View\\layout\\luacode\\UIHelper.lua",
                                     folder + L"view/Layout//LUACODE/uihelper.lua"}) {
        XL_LRT_CHUNK_HANDLE chunk = nullptr;
        EXPECT_EQ(XLLRT_CreateChunkFromModule(L"UIHelper.lua", path.c_str(), "Process", &chunk), 0) << path.c_str();
        EXPECT_NE(chunk, nullptr);
        XLLRT_ReleaseChunk(chunk);
    }
    XL_LRT_CHUNK_HANDLE chunk = nullptr;
    EXPECT_NE(XLLRT_CreateChunkFromModule(L"x", L"\\Viewer\\layout\\luacode\\UIHelper.lua", "Process", &chunk), 0);
    EXPECT_NE(XLLRT_CreateChunkFromModule(L"x", L"\\View\\layout\\luacode\\Missing.lua", "Process", &chunk), 0);
    EXPECT_NE(XLLRT_CreateChunkFromModule(L"x", L"\\View\\..\\View\\onload.lua", "Process", &chunk), 0);
    EXPECT_EQ(chunk, nullptr);
    EXPECT_NE(XLFS_MountDir(L"\\Other", L"file://C:\\x.xar", 0, 0), 0) << "a target of another form";
}

TEST_F(Engine, AChunkPushesItsFunctionAndTheModuleRunsOncePerState) {
    ASSERT_EQ(XLFS_MountDir(L"\\View", Target(Packages() + L"engine.xar").c_str(), 0, 0), 0);
    const int top = lua_gettop(L);
    for (const char* expected : {"47|1|1", "100|0|2"}) {
        XL_LRT_CHUNK_HANDLE chunk = nullptr;
        ASSERT_EQ(XLLRT_CreateChunkFromModule(L"UIHelper.lua", L"\\View\\layout\\luacode\\UIHelper.lua", "Process",
                                              &chunk), 0);
        ASSERT_EQ(XLLRT_PrepareChunk(runtime_, chunk), 0);
        ASSERT_TRUE(lua_isfunction(L, -1));
        lua_pushstring(L, expected[0] == '4' ? "47" : "100");
        lua_pushstring(L, expected[0] == '4' ? "1" : "0");
        ASSERT_EQ(XLLRT_LuaCall(L, 2, 1, L"ctx"), 0);
        EXPECT_STREQ(lua_tostring(L, -1), expected);
        lua_settop(L, top);
        XLLRT_ReleaseChunk(chunk);
    }
    EXPECT_TRUE(g_errors.empty());
}

TEST_F(Engine, ChunksThatCannotBePreparedSayWhyAndPushNothing) {
    ASSERT_EQ(XLFS_MountDir(L"\\View", Target(Packages() + L"engine.xar").c_str(), 0, 0), 0);
    const int top = lua_gettop(L);
    struct Case {
        const wchar_t* module;
        const char* function;
        const wchar_t* mentions;
    } cases[] = {{L"\\View\\layout\\luacode\\Plain.lua", "Process", L"Process"},
                 {L"\\View\\layout\\luacode\\Broken.lua", "Process", L"broken.lua:2"}};
    for (const Case& c : cases) {
        XL_LRT_CHUNK_HANDLE chunk = nullptr;
        ASSERT_EQ(XLLRT_CreateChunkFromModule(L"name", c.module, c.function, &chunk), 0);
        EXPECT_NE(XLLRT_PrepareChunk(runtime_, chunk), 0);
        EXPECT_EQ(lua_gettop(L), top);
        EXPECT_NE(std::wstring(XLLRT_GetLastError(L)).find(c.mentions), std::wstring::npos) << XLLRT_GetLastError(L);
        XLLRT_ReleaseChunk(chunk);
    }
}

TEST_F(Engine, ErrorsOfProtectedCallsReachTheHandlerAndTheLastError) {
    const int top = lua_gettop(L);
    EXPECT_NE(Run("local t = nil; return t.field"), 0);
    EXPECT_EQ(lua_gettop(L), top);
    ASSERT_EQ(g_errors.size(), 1u);
    EXPECT_EQ(g_errors[0].context, L"test");
    EXPECT_NE(g_errors[0].error.find(L"field"), std::wstring::npos) << g_errors[0].error;
    EXPECT_NE(g_errors[0].stack.find(L"stack traceback"), std::wstring::npos);
    EXPECT_EQ(std::wstring(XLLRT_GetLastError(L)), g_errors[0].error);

    lua_pushnumber(L, 1);  // not a function
    EXPECT_NE(XLLRT_LuaCall(L, 0, 0, L"number"), 0);
    EXPECT_EQ(lua_gettop(L), top);
    EXPECT_NE(XLLRT_LuaCall(L, 3, 0, L"too few values"), 0);
    EXPECT_EQ(Run("error({})"), LUA_ERRRUN) << "an error value that is no text";
    EXPECT_NE(g_errors.back().error.find(L"table"), std::wstring::npos);
}

int g_lookups = 0;
char g_factory;
void* __stdcall LookUpFactory(void* userData) {
    ++g_lookups;
    EXPECT_EQ(userData, &g_lookups);
    return &g_factory;
}

int NativeObjectOf(lua_State* L) {
    void** box = static_cast<void**>(luaL_checkudata(L, 1, "test.Class"));
    lua_pushlightuserdata(L, *box);
    return 1;
}

int FactoryHandle(lua_State* L) {
    void** box = static_cast<void**>(luaL_checkudata(L, 1, "test.Factory.Class"));
    lua_pushlightuserdata(L, *box);
    return 1;
}

TEST_F(Engine, ClassesCheckTheirValuesAndGlobalObjectsComeFromTheLookUp) {
    const XLLRTGlobalAPI members[] = {{"Native", NativeObjectOf, 0}, {nullptr, nullptr, 0}};
    const XLLRTGlobalAPI factoryMembers[] = {{"Handle", FactoryHandle, 0}, {nullptr, nullptr, 0}};
    ASSERT_EQ(XLLRT_RegisterClass(env_, "test.Class", members, nullptr, 0), 0);
    XLLRTObject object = {LookUpFactory, &g_lookups, "test.Factory", "test.Factory.Class", factoryMembers, 0};
    ASSERT_EQ(XLLRT_RegisterGlobalObj(env_, object), 0);

    int native = 0;
    ASSERT_EQ(XLLRT_PushXLObject(L, "test.Class", &native), 0);
    lua_setglobal(L, "obj");
    ASSERT_EQ(Run("_G.same = obj:Native()"), 0);
    lua_getglobal(L, "same");
    EXPECT_EQ(lua_touserdata(L, -1), &native);
    lua_pop(L, 1);

    g_lookups = 0;
    ASSERT_EQ(Run("local a, b = XLGetObject('test.Factory'), XLGetObject('test.Factory')\n"
                  "_G.one = a:Handle() == b:Handle() and a:Handle()\n"
                  "_G.missing = XLGetObject('no.such.object') == nil"), 0);
    EXPECT_EQ(g_lookups, 2);
    lua_getglobal(L, "one");
    EXPECT_EQ(lua_touserdata(L, -1), &g_factory);
    lua_pop(L, 1);
    EXPECT_EQ(GlobalString(L, "missing"), "(nil)") << "booleans read as no text";
    lua_getglobal(L, "missing");
    EXPECT_TRUE(lua_toboolean(L, -1));
    lua_pop(L, 1);

    // A value of another class is refused by the check, and the refusal is a script error.
    g_errors.clear();
    EXPECT_NE(Run("obj.Native(XLGetObject('test.Factory'))"), 0);
    ASSERT_EQ(g_errors.size(), 1u);
    EXPECT_NE(g_errors[0].error.find(L"test.Class"), std::wstring::npos) << g_errors[0].error;

    const int top = lua_gettop(L);
    EXPECT_NE(XLLRT_PushXLObject(L, "never.registered", &native), 0);
    EXPECT_TRUE(lua_isnil(L, -1));
    lua_settop(L, top);
}

TEST_F(Engine, APackageLoadsOnlyWhenItExistsIsWholeAndItsEntryScriptRuns) {
    XLUE_AddXARSearchPath(Packages().c_str());
    EXPECT_NE(XLUE_LoadXAR("\\nothing-here"), 0);
    EXPECT_NE(XLUE_LoadXAR("\\damaged"), 0);
    EXPECT_TRUE(g_errors.empty());
    EXPECT_NE(XLUE_LoadXAR("\\engine_fails"), 0);
    ASSERT_EQ(g_errors.size(), 1u);
    EXPECT_NE(g_errors[0].error.find(L"the entry script fails"), std::wstring::npos);

    // By mount point, as the updater asks for it.
    ASSERT_EQ(XLFS_MountDir(L"\\View", Target(Packages() + L"engine.xar").c_str(), 0, 0), 0);
    ASSERT_EQ(XLUE_LoadXAR("\\View"), 0);
    EXPECT_EQ(GlobalString(L, "offered"), "") << "libraries a package must not have";
    lua_getglobal(L, "usable");
    EXPECT_TRUE(lua_toboolean(L, -1)) << "the libraries a package needs";
    lua_pop(L, 1);

    // The package's own copy of its helper module is the one a chunk of the mounted module reaches.
    ASSERT_EQ(Run("helper.calls = 40"), 0);
    XL_LRT_CHUNK_HANDLE chunk = nullptr;
    ASSERT_EQ(XLLRT_CreateChunkFromModule(L"UIHelper.lua", L"\\View\\layout\\luacode\\UIHelper.lua", "Process",
                                          &chunk), 0);
    ASSERT_EQ(XLLRT_PrepareChunk(runtime_, chunk), 0);
    lua_pushstring(L, "1");
    lua_pushstring(L, "1");
    ASSERT_EQ(XLLRT_LuaCall(L, 2, 1, L"ctx"), 0);
    EXPECT_STREQ(lua_tostring(L, -1), "1|1|41");
    lua_pop(L, 1);
    XLLRT_ReleaseChunk(chunk);
}

TEST_F(Engine, ALayoutThatIsMissingOrBadIsAScriptErrorNotACrash) {
    XLUE_AddXARSearchPath(Packages().c_str());
    ASSERT_EQ(XLFS_MountDir(L"\\View", Target(Packages() + L"hostcases.xar").c_str(), 0, 0), 0);
    // The package's entry script needs the updater's class: without it, the load fails cleanly.
    EXPECT_NE(XLUE_LoadXAR("\\View"), 0);
    g_errors.clear();
    EXPECT_NE(Run("XLUI.LoadWindow('layout/none.xml')"), 0);
    EXPECT_NE(Run("XLUI.LoadWindow('onload.lua')"), 0) << "not a layout";
    ASSERT_EQ(g_errors.size(), 2u);
    EXPECT_NE(g_errors[1].error.find(L"window"), std::wstring::npos) << g_errors[1].error;
    ASSERT_EQ(Run("local w = XLUI.LoadWindow('layout/main.xml')\n"
                  "local c = w:Control('out')\n"
                  "w:Close()\n"
                  "_G.gone = w:Control('nope') == nil"), 0);
}

// Only a progress bar shows a percentage: a label's window text, which tools read, stays its text.
TEST_F(Engine, ALabelTakesNoPercentageAndItsWindowTextStaysItsText) {
    XLUE_AddXARSearchPath(Packages().c_str());
    ASSERT_EQ(XLFS_MountDir(L"\\View", Target(Packages() + L"hostcases.xar").c_str(), 0, 0), 0);
    EXPECT_NE(XLUE_LoadXAR("\\View"), 0);
    ASSERT_EQ(Run("local out = XLUI.LoadWindow('layout/main.xml'):Control('out')\n"
                  "out:SetText('ready')\n"
                  "out:SetProgress(50)\n"
                  "out:OnClick(function() end)\n"
                  "_G.text = out:GetText()"), 0);
    EXPECT_EQ(GlobalString(L, "text"), "ready");
    const HWND window = FindWindowW(L"XLUE.Window", nullptr);
    ASSERT_NE(window, nullptr);
    const HWND label = FindWindowExW(window, nullptr, L"XLUE.Control", nullptr);
    ASSERT_NE(label, nullptr);
    wchar_t text[32] = {};
    GetWindowTextW(label, text, 32);
    EXPECT_STREQ(text, L"ready");
}
}  // namespace
