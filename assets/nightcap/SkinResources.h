// Resource numbers of Nightcap's skin (made by assets/nightcap/art/make-skin.sh, bound in Skin.rc).
#pragma once

// The main window's background (IDB_BACKGROUND of NightcapResources.h) is bound in Skin.rc too.

// RCDATA, PNG
#define IDR_SKIN_TAB_CLOCK 201
#define IDR_SKIN_TAB_COUNTDOWN 202
#define IDR_SKIN_TIME_PANEL 203
#define IDR_SKIN_FRAME_SELECTED 204
#define IDR_SKIN_FRAME_PLAIN 205
#define IDR_SKIN_EXECUTE_IDLE 206
#define IDR_SKIN_EXECUTE_ARMED 207
#define IDR_SKIN_CLOSE 208
#define IDR_SKIN_MINIMISE 209
#define IDR_SKIN_KNOB 210
#define IDR_SKIN_KNOB_PRESSED 211
#define IDR_SKIN_TRACK 212
#define IDR_SKIN_FILL_START 213
#define IDR_SKIN_FILL_BAR 214
