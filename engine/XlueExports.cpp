#include "Xlue.h"

#include <lua.hpp>

namespace {
lua_State* g_lua = nullptr;
}

XLUE_API long __stdcall XL_InitGraphicLib(void*) {
    if (!g_lua) g_lua = luaL_newstate();
    return g_lua ? 0 : 1;
}

XLUE_API long __stdcall XL_UnInitGraphicLib() {
    if (g_lua) lua_close(g_lua);
    g_lua = nullptr;
    return 0;
}
