#include "engine/LuaHost.h"

#include "common/TextConvert.h"

namespace {
constexpr char kModulesKey[] = "xlue.modules";

// The stack traceback of the error being raised, taken by the message handler.
std::wstring g_pendingTraceback;

int TracebackHandler(lua_State* L) {
    std::string stack = "stack traceback:";
    lua_Debug ar;
    for (int level = 1; level < 24 && lua_getstack(L, level, &ar); ++level) {
        lua_getinfo(L, "Sln", &ar);
        stack += "\n\t";
        stack += ar.short_src;
        if (ar.currentline > 0) stack += ":" + std::to_string(ar.currentline);
        if (ar.name) stack += std::string(" in function '") + ar.name + "'";
    }
    g_pendingTraceback = Utf8ToWide(stack);
    return 1;  // the error value itself
}

std::wstring ErrorText(lua_State* L, int index) {
    size_t length = 0;
    const char* text = lua_tolstring(L, index, &length);
    if (text) return Utf8ToWide(std::string_view(text, length));
    return Utf8ToWide(std::string("(error object is a ") + luaL_typename(L, index) + ")");
}

int GetObjectFromLua(lua_State* L) {
    const char* name = luaL_checkstring(L, 1);
    auto it = Host().globals.find(name);
    if (it == Host().globals.end()) {
        lua_pushnil(L);
        return 1;
    }
    void* obj = it->second.getObject ? it->second.getObject(it->second.userData) : nullptr;
    PushObject(L, it->second.className.c_str(), obj);
    return 1;
}

// XLLoadModule(path): a module of the loaded package, by its path inside the package.
int LoadModuleFromLua(lua_State* L) {
    const std::wstring inner = NormalisePath(Utf8ToWide(luaL_checkstring(L, 1)));
    if (PushModule(L, Host().packageArchive, inner, false) != 0)
        return luaL_error(L, "%s", WideToUtf8(Host().lastError).c_str());
    return 1;
}

void RemoveField(lua_State* L, const char* table, const char* name) {
    lua_getglobal(L, table);
    if (lua_istable(L, -1)) {
        lua_pushnil(L);
        lua_setfield(L, -2, name);
    }
    lua_pop(L, 1);
}

void OpenLibraries(lua_State* L) {
    const luaL_Reg libs[] = {{"", luaopen_base},           {LUA_TABLIBNAME, luaopen_table},
                             {LUA_STRLIBNAME, luaopen_string}, {LUA_MATHLIBNAME, luaopen_math},
                             {LUA_OSLIBNAME, luaopen_os}};
    for (const luaL_Reg& lib : libs) {
        lua_pushcfunction(L, lib.func);
        lua_pushstring(L, lib.name);
        lua_call(L, 1, 0);
    }
    for (const char* name : {"dofile", "loadfile", "print"}) {
        lua_pushnil(L);
        lua_setglobal(L, name);
    }
    // os keeps the clock and the calendar only: no processes, files, environment or exit.
    for (const char* name : {"execute", "exit", "getenv", "remove", "rename", "tmpname", "setlocale"})
        RemoveField(L, LUA_OSLIBNAME, name);
    lua_register(L, "XLGetObject", GetObjectFromLua);
    lua_register(L, "XLLoadModule", LoadModuleFromLua);
}
}  // namespace

LuaHost& Host() {
    static LuaHost host;
    return host;
}

bool OpenLuaState() {
    if (Host().L) return true;
    lua_State* L = luaL_newstate();
    if (!L) return false;
    OpenLibraries(L);
    lua_newtable(L);
    lua_setfield(L, LUA_REGISTRYINDEX, kModulesKey);
    Host().L = L;
    return true;
}

void CloseLuaState() {
    if (Host().L) lua_close(Host().L);
    Host().L = nullptr;
    Host().lastError.clear();
}

const PackageArchive* OpenArchive(const std::wstring& path) {
    const std::wstring key = NormalisePath(path);
    auto it = Host().archives.find(key);
    if (it != Host().archives.end()) return it->second.get();
    auto archive = std::make_unique<PackageArchive>();
    if (!archive->OpenFile(path)) return nullptr;
    return Host().archives.emplace(key, std::move(archive)).first->second.get();
}

const std::string* PackageFile(const std::wstring& name) {
    const PackageArchive* archive = OpenArchive(Host().packageArchive);
    return archive ? archive->Find(name) : nullptr;
}

void ReportLuaError(lua_State* L, const std::wstring& context, const std::wstring& error, const std::wstring& stack) {
    Host().lastError = error;
    if (Host().errorHandler) Host().errorHandler(L, context.c_str(), error.c_str(), stack.c_str());
}

int ProtectedCall(lua_State* L, int nargs, int nresults, const std::wstring& context) {
    const int functionIndex = lua_gettop(L) - nargs;
    lua_pushcfunction(L, TracebackHandler);
    lua_insert(L, functionIndex);
    g_pendingTraceback.clear();
    const int rc = lua_pcall(L, nargs, nresults, functionIndex);
    lua_remove(L, functionIndex);
    if (rc != 0) {
        const std::wstring error = ErrorText(L, -1);
        lua_pop(L, 1);
        ReportLuaError(L, context, error, g_pendingTraceback);
    }
    return rc;
}

int PushModule(lua_State* L, const std::wstring& archivePath, const std::wstring& inner, bool reportToHandler) {
    const std::string key = WideToUtf8(NormalisePath(archivePath) + L"|" + inner);
    lua_getfield(L, LUA_REGISTRYINDEX, kModulesKey);
    lua_getfield(L, -1, key.c_str());
    if (lua_istable(L, -1)) {
        lua_remove(L, -2);
        return 0;
    }
    lua_pop(L, 1);  // modules table stays below

    const PackageArchive* archive = OpenArchive(archivePath);
    const std::string* code = archive ? archive->Find(inner) : nullptr;
    if (!code) {
        lua_pop(L, 1);
        const std::wstring error = (archive ? L"no module " : L"cannot open the package of ") + inner;
        if (reportToHandler) ReportLuaError(L, inner, error, L"");
        else Host().lastError = error;
        return 1;
    }
    lua_newtable(L);  // the module's table
    lua_newtable(L);  // its metatable: misses go to the globals
    lua_pushvalue(L, LUA_GLOBALSINDEX);
    lua_setfield(L, -2, "__index");
    lua_setmetatable(L, -2);
    const std::string chunkName = "@" + WideToUtf8(inner);
    int rc = luaL_loadbuffer(L, code->data(), code->size(), chunkName.c_str());
    if (rc != 0) {
        const std::wstring error = ErrorText(L, -1);
        lua_pop(L, 3);
        if (reportToHandler) ReportLuaError(L, inner, error, L"");
        else Host().lastError = error;
        return rc;
    }
    lua_pushvalue(L, -2);
    lua_setfenv(L, -2);
    if (reportToHandler) {
        rc = ProtectedCall(L, 0, 0, inner);
    } else {
        rc = lua_pcall(L, 0, 0, 0);
        if (rc != 0) {
            Host().lastError = ErrorText(L, -1);
            lua_pop(L, 1);
        }
    }
    if (rc != 0) {
        lua_pop(L, 2);
        return rc;
    }
    lua_pushvalue(L, -1);
    lua_setfield(L, -3, key.c_str());
    lua_remove(L, -2);
    return 0;
}

bool PushObject(lua_State* L, const char* className, void* obj) {
    luaL_getmetatable(L, className);
    if (!lua_istable(L, -1)) {
        lua_pop(L, 1);
        lua_pushnil(L);
        return false;
    }
    void** box = static_cast<void**>(lua_newuserdata(L, sizeof(void*)));
    *box = obj;
    lua_insert(L, -2);
    lua_setmetatable(L, -2);
    return true;
}

void RegisterClassMembers(lua_State* L, const char* className, const XLLRTGlobalAPI* members) {
    luaL_newmetatable(L, className);
    for (const XLLRTGlobalAPI* m = members; m && m->name; ++m) {
        lua_pushcfunction(L, m->func);
        lua_setfield(L, -2, m->name);
    }
    lua_pushvalue(L, -1);
    lua_setfield(L, -2, "__index");
    lua_pop(L, 1);
}
