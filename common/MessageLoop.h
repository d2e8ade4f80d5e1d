// The message loop of a program's user-interface thread: until WM_QUIT, whose exit code it returns. Nightcap's
// windows are ANSI windows and take the ANSI loop; the others the wide one.
#pragma once

int RunMessageLoop();
int RunMessageLoopA();
