// Resource identifiers of Nightcap.exe.
#pragma once

#define IDI_NIGHTCAP 1     // the window icon (48, 32 and 16 pixels)
#define IDB_BACKGROUND 101 // the main window's picture, 302 x 252, 24 bits
