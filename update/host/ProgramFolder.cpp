#include "ProgramFolder.h"

#include <windows.h>
#include <shlwapi.h>

std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH || !::PathAppendW(path, L"..\\")) return {};
    return path;
}

std::wstring PackageAddress() { return L"xar@file://" + ProgramFolder() + L"\\View.xar$"; }
