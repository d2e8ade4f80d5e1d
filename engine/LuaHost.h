// The engine's one Lua state and what scripts reach through it: the restricted libraries, protected calls
// whose errors go to the host's handler, classes and global objects, and modules read from packages.
#pragma once
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/PackageArchive.h"
#include "engine/PackagePaths.h"
#include "engine/Xlue.h"

struct LuaHost {
    lua_State* L = nullptr;
    XLLRT_ERROR_HANDLE errorHandler = nullptr;
    std::wstring lastError;
    MountTable mounts;
    std::vector<std::wstring> searchPaths;
    std::map<std::wstring, std::unique_ptr<PackageArchive>> archives;  // by normalised archive path
    std::wstring packageArchive;  // the package XLUE_LoadXAR ran; resources are read from it

    struct GlobalObject {
        XLLRT_GETOBJECT getObject;
        void* userData;
        std::string className;
    };
    std::map<std::string, GlobalObject> globals;
};

LuaHost& Host();

// Creates the state with base (without dofile, loadfile, print), string, table, math and os (time and
// dates only). False when there is no memory.
bool OpenLuaState();
void CloseLuaState();

// The archive at path, read on first use; null when it is missing or damaged.
const PackageArchive* OpenArchive(const std::wstring& path);
// A file of the loaded package, or null.
const std::string* PackageFile(const std::wstring& name);

// Records an error: the last-error text, and the host's handler.
void ReportLuaError(lua_State* L, const std::wstring& context, const std::wstring& error, const std::wstring& stack);

// XLLRT_LuaCall's body.
int ProtectedCall(lua_State* L, int nargs, int nresults, const std::wstring& context);

// Pushes the table of the module inner of archive, running it first if it has not run in L. The module runs
// in a table of its own whose misses fall through to the globals. 0 on success; otherwise nothing is
// pushed and the error was reported (to the handler too when reportToHandler).
int PushModule(lua_State* L, const std::wstring& archive, const std::wstring& inner, bool reportToHandler);

// Pushes obj as a userdata of className; nil and false for an unregistered class.
bool PushObject(lua_State* L, const char* className, void* obj);
void RegisterClassMembers(lua_State* L, const char* className, const XLLRTGlobalAPI* members);
