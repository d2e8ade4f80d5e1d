// Screenshots of the display (or of one window's rectangle) saved as PNG.
#pragma once
#include <windows.h>

#include <string>

// hwnd null: the whole screen. Returns false when nothing could be captured or written.
bool SaveScreenshot(HWND hwnd, const std::wstring& pngPath);
// A rectangle of the screen.
bool SaveScreenshot(const RECT& screenRect, const std::wstring& pngPath);

// The colour of one screen pixel (COLORREF), read from the display.
COLORREF ScreenPixel(int x, int y);
