// The UI engine's exported interface.
#pragma once

#ifdef LUA_LIB
#define XLUE_API extern "C" __declspec(dllexport)
#else
#define XLUE_API extern "C" __declspec(dllimport)
#endif

// Starts the engine's graphics layer; returns 0 on success.
XLUE_API long __stdcall XL_InitGraphicLib(void* param);
XLUE_API long __stdcall XL_UnInitGraphicLib();
