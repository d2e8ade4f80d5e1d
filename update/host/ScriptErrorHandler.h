// The handler the engine calls for every Lua error: one box at a time; errors while it is open are dropped.
#pragma once
#include "engine/Xlue.h"

namespace update {

int __stdcall ScriptErrorHandler(lua_State* L, const wchar_t* addInfo, const wchar_t* errorText,
                                 const wchar_t* stackInfo);

}  // namespace update
