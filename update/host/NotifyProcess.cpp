#include "update/host/NotifyProcess.h"

#include "common/TextConvert.h"
#include "engine/Xlue.h"
#include "update/host/ProgramFolder.h"

namespace update {

void NotifyProcess(const std::wstring& first, const std::wstring& second) {
    const std::wstring folder = ProgramFolder();
    const std::wstring address = PackageAddress();
    XLFS_MountDir((folder + L"\\View").c_str(), address.c_str(), 0, 0);

    XL_LRT_ENV_HANDLE env = XLLRT_GetEnv(nullptr);
    XL_LRT_RUNTIME_HANDLE runtime = XLLRT_GetRuntime(env, nullptr);
    lua_State* L = XLLRT_GetLuaState(runtime);
    if (!L) {
        XLLRT_ReleaseRunTime(runtime);
        XLLRT_ReleaseEnv(env);
        return;
    }
    const int top = lua_gettop(L);
    XL_LRT_CHUNK_HANDLE chunk = nullptr;
    const std::wstring module = folder + L"\\View\\layout\\luacode\\UIHelper.lua";
    XLLRT_CreateChunkFromModule(L"UIHelper.lua", module.c_str(), "Process", &chunk);
    if (chunk) {
        long rc = XLLRT_PrepareChunk(runtime, chunk);
        if (rc == 0) {
            lua_pushstring(L, WideToUtf8(first).c_str());
            lua_pushstring(L, WideToUtf8(second).c_str());
            rc = XLLRT_LuaCall(L, 2, 0, address.c_str());
        }
        if (rc != 0) ::MessageBoxW(nullptr, XLLRT_GetLastError(L), nullptr, MB_OK);
        XLLRT_ReleaseChunk(chunk);
    }
    XLLRT_ReleaseRunTime(runtime);
    XLLRT_ReleaseEnv(env);
    lua_settop(L, top);
}

}  // namespace update
