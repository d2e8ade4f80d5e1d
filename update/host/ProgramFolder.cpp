#include "update/host/ProgramFolder.h"

#include <windows.h>
#include <shlwapi.h>

#include "common/OwnProgram.h"

namespace update {

std::wstring ProgramFolder() {
    const std::wstring own = OwnProgramPath();
    wchar_t path[MAX_PATH] = {};
    if (own.empty() || own.size() >= MAX_PATH) return {};
    own.copy(path, own.size());
    if (!::PathAppendW(path, L"..\\")) return {};
    return path;
}

std::wstring PackageAddress() { return L"xar@file://" + ProgramFolder() + L"\\View.xar$"; }

}  // namespace update
