// How an image control paints: a snapshot of what the parent drew beneath it, the control's image
// over that in an off-screen bitmap, and one BitBlt of the result, so nothing ever flickers.
#pragma once
#include <windows.h>

namespace nightcap {

// Keeps a copy of the DC's pixels under the control in "PngControl_CacheBitmap" (replacing the old one).
void CaptureBackground(HWND control, HDC dc);

// Draws the control (its cached background, then its image) onto dc, or onto its window DC when dc is null.
void PaintControl(HWND control, HDC dc = nullptr);

// The painting messages both kinds of control share: WM_PAINT (snapshot, then PaintControl on the paint DC),
// WM_ERASEBKGND (nothing is erased) and WM_NCDESTROY (the snapshot is freed; the message still goes on).
// True when the message was consumed, with its result.
bool HandlePaintMessage(HWND control, UINT message, LRESULT* result);

// Asks the parent to repaint (with erasing) the area under the control; the control then paints over it.
void RefreshUnder(HWND control);

// The one call that puts a finished control picture on the screen. Tests swap it to count paints.
using PresentBlit = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, DWORD);
PresentBlit SetPresentBlit(PresentBlit blit);  // returns the previous one

}  // namespace nightcap
