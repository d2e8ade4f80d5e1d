// The Lua functions scripts hand the toolkit as call-backs, held in the registry of the host's state for as
// long as their owner (a window, a timer, a button) keeps them.
#pragma once
#include <string>

#include "common/Handles.h"
#include <lua.hpp>

// Released in the host's state, if that is still open.
struct LuaFunctionRefTraits {
    using Handle = int;
    static Handle Empty() { return LUA_NOREF; }
    static bool IsEmpty(Handle h) { return h == LUA_NOREF || h == LUA_REFNIL; }
    static void Close(Handle h);
};
using LuaFunctionRef = UniqueResource<LuaFunctionRefTraits>;

// The function at index of L's stack, or no function for nil; a Lua error for any other value.
LuaFunctionRef FunctionAt(lua_State* L, int index);

// Calls the function with no arguments, or with the number; its errors go to the host's handler under
// context. Nothing happens for no function.
void CallLuaFunction(const LuaFunctionRef& function, const std::wstring& context);
void CallLuaFunction(const LuaFunctionRef& function, const std::wstring& context, lua_Integer number);
