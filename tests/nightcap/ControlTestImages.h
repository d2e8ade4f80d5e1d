// PNG bytes made on the fly for the control tests: solid blocks of known colours.
#pragma once
#include <windows.h>
#include <gdiplus.h>

#include <string>
#include <vector>

// An image of width x height split into equal vertical bands, one per colour (0xAARRGGBB).
std::string BandsPng(int width, int height, const std::vector<Gdiplus::ARGB>& colours);
inline std::string SolidPng(int width, int height, Gdiplus::ARGB colour) { return BandsPng(width, height, {colour}); }

// The colour of one pixel of a GDI+ image (0 when it cannot be read).
Gdiplus::ARGB ImagePixel(Gdiplus::GpImage* image, int x, int y);

// The same colour as a COLORREF, for comparing with screen pixels.
inline COLORREF ToColorRef(Gdiplus::ARGB c) { return RGB((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF); }

// A top-level test window at a fixed place on the screen, painted in one solid colour by its class brush.
HWND MakeTestWindow(int left, int top, int width, int height, COLORREF colour);

// Runs every pending paint of the window and its children now.
void PaintNow(HWND window);
