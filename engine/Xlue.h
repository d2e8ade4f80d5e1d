// XLUE.dll: our UI engine. It hosts one Lua 5.1 state (whose C API it exports, so a host links this DLL
// alone and shares the state), mounts UI packages (.xar: 7z archives of Lua code, layout and images, see
// docs/ui-package.md), runs a package's entry script and gives the scripts a small window toolkit.
//
// All functions are called on one thread, the UI thread that runs the host's message loop.
#pragma once
#include <windows.h>

#include <lua.hpp>

#ifdef XLUE_BUILD
#define XLUE_API extern "C" __declspec(dllexport)
#else
#define XLUE_API extern "C" __declspec(dllimport)
#endif

// ---- Records ----------------------------------------------------------------------------------------

// Graphics parameters: nine 32-bit words. XL_PrepareGraphicParam fills in the defaults; a host that wants
// drawing set up sets mode to 1 before XL_InitGraphicLib.
typedef struct XLGraphicParam {
    long mode;            // 0: defaults only; 1: start GDI+ for image drawing
    long textAntialias;   // 1: text drawn with ClearType-like smoothing (default)
    long imageSmoothing;  // 1: images scaled with bilinear filtering (default)
    long reserved[6];     // kept zero
} XLGraphicParam;

// A member-table entry of a class or global object: method name, native function, flags (0). A table ends
// with an all-zero entry.
typedef struct XLLRTGlobalAPI {
    const char* name;
    lua_CFunction func;
    unsigned long flags;
} XLLRTGlobalAPI;

// Returns the native object behind a global object; called with the record's user data on every lookup.
typedef void* (__stdcall* XLLRT_GETOBJECT)(void* userData);

// A global object that scripts reach with XLGetObject(objName): the engine calls getObject(userData) and
// pushes the result as an object of class className, whose methods are memberFunctions.
typedef struct XLLRTObject {
    XLLRT_GETOBJECT getObject;
    void* userData;
    const char* objName;
    const char* className;
    const XLLRTGlobalAPI* memberFunctions;
    unsigned long flags;  // unused
} XLLRTObject;

// Objects pushed by XLLRT_PushXLObject (and global objects) are full userdata holding exactly one pointer,
// the native object, with the class's metatable; so luaL_checkudata(L, i, className) gives a void** whose
// target is the native object. Methods of a class are looked up through the metatable's __index (the
// metatable itself); a member named "__gc" becomes the finaliser.

// Called for every Lua error the engine catches: the state, the context of the call (the contextName of
// XLLRT_LuaCall, or what the engine was doing), the error text and a stack traceback. Returns 0.
typedef int (__stdcall* XLLRT_ERROR_HANDLE)(lua_State* L, const wchar_t* addInfo, const wchar_t* errorText,
                                            const wchar_t* stackInfo);

// Handles. An environment is the set of classes and global objects scripts see (there is one, the default,
// asked for by the name 0). A runtime owns one Lua state (the default environment has one runtime, asked
// for by the name 0). A chunk is a function of a module file: the module's path as given, its bytes read
// from the mounted package, and the function's name; preparing it runs the module once per state (later
// preparations reuse the module's table) and pushes the function. Releasing a handle you got from a Get
// call balances it; the default environment and runtime live until XLUE_UninitLuaHost.
typedef void* XL_LRT_ENV_HANDLE;
typedef void* XL_LRT_RUNTIME_HANDLE;
typedef void* XL_LRT_CHUNK_HANDLE;

// ---- Graphics ---------------------------------------------------------------------------------------
XLUE_API long __stdcall XL_PrepareGraphicParam(XLGraphicParam* param);
XLUE_API long __stdcall XL_InitGraphicLib(XLGraphicParam* param);  // 0 on success
XLUE_API long __stdcall XL_SetFreeTypeEnabled(BOOL enabled);       // accepted; text is drawn by GDI
XLUE_API long __stdcall XL_UnInitGraphicLib();

// ---- Loader and packages ----------------------------------------------------------------------------
// Creates the Lua state (the restricted library set) and the toolkit. 0 on success.
XLUE_API long __stdcall XLUE_InitLoader(void* reserved);
// Makes every path at or below mountPoint resolve inside the package target: "xar@file://" + archive path
// + "$" (separators and case do not matter; repeated separators count as one). Remounting a point replaces
// its target. 0 on success; non-zero when the target is not of that form.
XLUE_API long __stdcall XLFS_MountDir(const wchar_t* mountPoint, const wchar_t* target, long flags, long reserved);
// A folder where XLUE_LoadXAR looks for name + ".xar" when name is not a mount point.
XLUE_API long __stdcall XLUE_AddXARSearchPath(const wchar_t* folder);
// Opens the package (a mount point, or a name found on the search paths) and runs its entry script
// "onload.lua". 0 when it ran; non-zero when the package is missing or damaged or the script failed.
XLUE_API long __stdcall XLUE_LoadXAR(const char* name);
XLUE_API long __stdcall XLUE_Uninit(void* reserved);            // destroys the package's windows
XLUE_API long __stdcall XLUE_UninitLuaHost(void* reserved);     // closes the Lua state
XLUE_API long __stdcall XLUE_UninitHandleMap(void* reserved);   // forgets mounts, search paths, packages

// ---- Lua runtime ------------------------------------------------------------------------------------
XLUE_API long __stdcall XLLRT_ErrorHandle(XLLRT_ERROR_HANDLE handler);
XLUE_API XL_LRT_ENV_HANDLE __stdcall XLLRT_GetEnv(const wchar_t* name);
XLUE_API long __stdcall XLLRT_ReleaseEnv(XL_LRT_ENV_HANDLE env);
// Registers className with the members (ended by an all-zero entry); fatherClass and flags are unused.
XLUE_API long __stdcall XLLRT_RegisterClass(XL_LRT_ENV_HANDLE env, const char* className,
                                            const XLLRTGlobalAPI* members, const char* fatherClass, long flags);
XLUE_API long __stdcall XLLRT_RegisterGlobalObj(XL_LRT_ENV_HANDLE env, XLLRTObject object);
// Pushes obj as an object of className (see above). 0 on success; non-zero (and nil pushed) for an
// unregistered class.
XLUE_API long __stdcall XLLRT_PushXLObject(lua_State* L, const char* className, void* obj);
XLUE_API XL_LRT_RUNTIME_HANDLE __stdcall XLLRT_GetRuntime(XL_LRT_ENV_HANDLE env, const wchar_t* name);
XLUE_API lua_State* __stdcall XLLRT_GetLuaState(XL_LRT_RUNTIME_HANDLE runtime);
XLUE_API long __stdcall XLLRT_ReleaseRunTime(XL_LRT_RUNTIME_HANDLE runtime);
// Calls the function below the nargs arguments on the stack in protected mode. 0 on success (nresults
// results left); otherwise the error goes to the error handler and to XLLRT_GetLastError, the function and
// arguments are popped and the Lua error code is returned.
XLUE_API long __stdcall XLLRT_LuaCall(lua_State* L, int nargs, int nresults, const wchar_t* contextName);
// The text of the last error the engine met in L (a Lua error or a failed chunk); "" when none.
XLUE_API const wchar_t* __stdcall XLLRT_GetLastError(lua_State* L);
// Reads the module at modulePath (through the mounts) into a new chunk for funcName. 0 and *chunk set on
// success; non-zero and *chunk untouched when the module cannot be read.
XLUE_API long __stdcall XLLRT_CreateChunkFromModule(const wchar_t* chunkName, const wchar_t* modulePath,
                                                    const char* funcName, XL_LRT_CHUNK_HANDLE* chunk);
// Runs the chunk's module in the runtime's state if it has not run there yet and pushes the function.
// 0 on success; non-zero (nothing pushed, last error set) when the module fails or has no such function.
XLUE_API long __stdcall XLLRT_PrepareChunk(XL_LRT_RUNTIME_HANDLE runtime, XL_LRT_CHUNK_HANDLE chunk);
XLUE_API long __stdcall XLLRT_ReleaseChunk(XL_LRT_CHUNK_HANDLE chunk);
