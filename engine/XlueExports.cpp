// The exported functions: each checks its arguments and hands over to the Lua host, the mounts or the
// toolkit.
#include "common/GdiplusUse.h"
#include "engine/Xlue.h"

#include <gdiplus.h>

#include "common/TextConvert.h"
#include "engine/LuaHost.h"
#include "engine/Toolkit.h"

namespace {
struct Chunk {
    std::wstring chunkName;
    std::wstring archive;
    std::wstring inner;
    std::string function;
};

int g_environment = 0;  // the one environment and runtime: handles point here
int g_runtime = 0;
bool g_gdiplusStarted = false;
bool g_freeType = false;

bool IsEnvironment(XL_LRT_ENV_HANDLE env) { return env == &g_environment; }
bool IsRuntime(XL_LRT_RUNTIME_HANDLE runtime) { return runtime == &g_runtime; }
}  // namespace

XLUE_API long __stdcall XL_PrepareGraphicParam(XLGraphicParam* param) {
    if (!param) return 1;
    *param = XLGraphicParam{};
    param->textAntialias = 1;
    param->imageSmoothing = 1;
    return 0;
}

XLUE_API long __stdcall XL_InitGraphicLib(XLGraphicParam* param) {
    if (g_gdiplusStarted || (param && param->mode == 0)) return 0;
    g_gdiplusStarted = AcquireGdiplus();
    return g_gdiplusStarted ? 0 : 1;
}

XLUE_API long __stdcall XL_SetFreeTypeEnabled(BOOL enabled) {
    g_freeType = enabled != FALSE;
    return 0;
}

XLUE_API long __stdcall XL_UnInitGraphicLib() {
    if (g_gdiplusStarted) ReleaseGdiplus();
    g_gdiplusStarted = false;
    return 0;
}

XLUE_API long __stdcall XLUE_InitLoader(void*) {
    if (!OpenLuaState()) return 1;
    OpenToolkit(Host().L);
    return 0;
}

XLUE_API long __stdcall XLFS_MountDir(const wchar_t* mountPoint, const wchar_t* target, long, long) {
    std::wstring archive;
    if (!mountPoint || !target || !ParsePackageTarget(target, &archive)) return 1;
    Host().mounts.Mount(mountPoint, archive);
    return 0;
}

XLUE_API long __stdcall XLUE_AddXARSearchPath(const wchar_t* folder) {
    if (!folder) return 1;
    Host().searchPaths.push_back(folder);
    return 0;
}

XLUE_API long __stdcall XLUE_LoadXAR(const char* name) {
    lua_State* L = Host().L;
    if (!L || !name) return 1;
    const int length = ::MultiByteToWideChar(CP_ACP, 0, name, -1, nullptr, 0);
    std::wstring wide(size_t(length > 0 ? length : 1), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, name, -1, wide.data(), length);
    wide.resize(wide.size() - 1);

    std::wstring archive, inner;
    if (!Host().mounts.Resolve(wide, &archive, &inner) || !inner.empty()) {
        archive.clear();
        std::wstring base = wide;
        while (!base.empty() && (base[0] == L'\\' || base[0] == L'/')) base.erase(0, 1);
        for (const std::wstring& folder : Host().searchPaths) {
            std::wstring candidate = folder;
            if (!candidate.empty() && candidate.back() != L'\\' && candidate.back() != L'/') candidate += L'\\';
            candidate += base + L".xar";
            if (OpenArchive(candidate)) {
                archive = candidate;
                break;
            }
        }
    }
    if (archive.empty() || !OpenArchive(archive)) return 2;
    Host().packageArchive = archive;
    const int top = lua_gettop(L);
    const int rc = PushModule(L, archive, L"onload.lua", true);
    lua_settop(L, top);
    return rc == 0 ? 0 : 3;
}

XLUE_API long __stdcall XLUE_Uninit(void*) {
    CloseToolkit();
    return 0;
}

XLUE_API long __stdcall XLUE_UninitLuaHost(void*) {
    CloseToolkit();
    CloseLuaState();
    return 0;
}

XLUE_API long __stdcall XLUE_UninitHandleMap(void*) {
    Host().mounts.Clear();
    Host().searchPaths.clear();
    Host().archives.clear();
    Host().globals.clear();
    Host().packageArchive.clear();
    return 0;
}

XLUE_API long __stdcall XLLRT_ErrorHandle(XLLRT_ERROR_HANDLE handler) {
    Host().errorHandler = handler;
    return 0;
}

XLUE_API XL_LRT_ENV_HANDLE __stdcall XLLRT_GetEnv(const wchar_t* name) {
    if ((name && *name) || !Host().L) return nullptr;
    ++g_environment;
    return &g_environment;
}

XLUE_API long __stdcall XLLRT_ReleaseEnv(XL_LRT_ENV_HANDLE env) {
    if (!IsEnvironment(env) || g_environment == 0) return 1;
    --g_environment;
    return 0;
}

XLUE_API long __stdcall XLLRT_RegisterClass(XL_LRT_ENV_HANDLE env, const char* className,
                                            const XLLRTGlobalAPI* members, const char*, long) {
    if (!IsEnvironment(env) || !className || !Host().L) return 1;
    RegisterClassMembers(Host().L, className, members);
    return 0;
}

XLUE_API long __stdcall XLLRT_RegisterGlobalObj(XL_LRT_ENV_HANDLE env, XLLRTObject object) {
    if (!IsEnvironment(env) || !object.objName || !object.className || !Host().L) return 1;
    RegisterClassMembers(Host().L, object.className, object.memberFunctions);
    Host().globals[object.objName] = {object.getObject, object.userData, object.className};
    return 0;
}

XLUE_API long __stdcall XLLRT_PushXLObject(lua_State* L, const char* className, void* obj) {
    if (!L || !className) return 1;
    return PushObject(L, className, obj) ? 0 : 1;
}

XLUE_API XL_LRT_RUNTIME_HANDLE __stdcall XLLRT_GetRuntime(XL_LRT_ENV_HANDLE env, const wchar_t* name) {
    if (!IsEnvironment(env) || (name && *name)) return nullptr;
    ++g_runtime;
    return &g_runtime;
}

XLUE_API lua_State* __stdcall XLLRT_GetLuaState(XL_LRT_RUNTIME_HANDLE runtime) {
    return IsRuntime(runtime) ? Host().L : nullptr;
}

XLUE_API long __stdcall XLLRT_ReleaseRunTime(XL_LRT_RUNTIME_HANDLE runtime) {
    if (!IsRuntime(runtime) || g_runtime == 0) return 1;
    --g_runtime;
    return 0;
}

XLUE_API long __stdcall XLLRT_LuaCall(lua_State* L, int nargs, int nresults, const wchar_t* contextName) {
    if (!L || nargs < 0 || lua_gettop(L) < nargs + 1) return LUA_ERRRUN;
    return ProtectedCall(L, nargs, nresults, contextName ? contextName : L"");
}

XLUE_API const wchar_t* __stdcall XLLRT_GetLastError(lua_State*) { return Host().lastError.c_str(); }

XLUE_API long __stdcall XLLRT_CreateChunkFromModule(const wchar_t* chunkName, const wchar_t* modulePath,
                                                    const char* funcName, XL_LRT_CHUNK_HANDLE* chunk) {
    if (!modulePath || !funcName || !chunk) return 1;
    std::wstring archive, inner;
    if (!Host().mounts.Resolve(modulePath, &archive, &inner)) {
        Host().lastError = std::wstring(L"no mount point covers ") + modulePath;
        return 2;
    }
    const PackageArchive* package = OpenArchive(archive);
    if (!package || !package->Find(inner)) {
        Host().lastError = std::wstring(L"cannot read the module ") + modulePath;
        return 3;
    }
    *chunk = new Chunk{chunkName ? chunkName : L"", archive, inner, funcName};
    return 0;
}

XLUE_API long __stdcall XLLRT_PrepareChunk(XL_LRT_RUNTIME_HANDLE runtime, XL_LRT_CHUNK_HANDLE handle) {
    lua_State* L = XLLRT_GetLuaState(runtime);
    auto* chunk = static_cast<Chunk*>(handle);
    if (!L || !chunk) return 1;
    if (PushModule(L, chunk->archive, chunk->inner, false) != 0) return 2;
    lua_getfield(L, -1, chunk->function.c_str());
    lua_remove(L, -2);
    if (lua_isfunction(L, -1)) return 0;
    lua_pop(L, 1);
    Host().lastError = chunk->chunkName + L": no function " + Utf8ToWide(chunk->function);
    return 3;
}

XLUE_API long __stdcall XLLRT_ReleaseChunk(XL_LRT_CHUNK_HANDLE chunk) {
    delete static_cast<Chunk*>(chunk);
    return 0;
}
