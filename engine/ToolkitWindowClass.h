// The window classes of the toolkit, registered in the program's module the first time a window needs one.
#pragma once
#include <windows.h>

void RegisterToolkitClass(const wchar_t* name, WNDPROC procedure, HICON icon = nullptr);
