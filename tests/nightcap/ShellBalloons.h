// Balloon notices as the shell shows them: tooltip windows of the shell's own process, read back by message.
#pragma once
#include <windows.h>

#include <string>

// The shown balloon with the text (a notice of an earlier program may still be fading), or null.
HWND BalloonShowing(const std::wstring& expected);
