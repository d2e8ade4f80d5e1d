#include "engine/LuaFunctionRef.h"

#include "engine/LuaHost.h"

namespace {
void Call(int ref, const std::wstring& context, const lua_Integer* number) {
    lua_State* L = Host().L;
    if (!L || LuaFunctionRefTraits::IsEmpty(ref)) return;
    const int top = lua_gettop(L);
    lua_rawgeti(L, LUA_REGISTRYINDEX, ref);
    if (number) lua_pushinteger(L, *number);
    ProtectedCall(L, number ? 1 : 0, 0, context);
    lua_settop(L, top);
}
}  // namespace

void LuaFunctionRefTraits::Close(Handle h) {
    if (lua_State* L = Host().L) luaL_unref(L, LUA_REGISTRYINDEX, h);
}

LuaFunctionRef FunctionAt(lua_State* L, int index) {
    if (lua_isnil(L, index)) return LuaFunctionRef();
    luaL_checktype(L, index, LUA_TFUNCTION);
    lua_pushvalue(L, index);
    return LuaFunctionRef(luaL_ref(L, LUA_REGISTRYINDEX));
}

// The reference is read before the call: the function may drop itself (a timer that stops itself).
void CallLuaFunction(const LuaFunctionRef& function, const std::wstring& context) {
    Call(function.Get(), context, nullptr);
}

void CallLuaFunction(const LuaFunctionRef& function, const std::wstring& context, lua_Integer number) {
    Call(function.Get(), context, &number);
}
