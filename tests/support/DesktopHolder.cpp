// Keeps the tests' Wine desktop in use for the whole run. Wine closes a desktop one second after its last
// user has gone, and its explorer.exe with it; the next program that needs the desktop then starts a new
// explorer, which inherits that program's standard error: ctest's pipe of a test that has ended, held open
// for as long as any other program keeps the desktop in use, so the finished test runs into its time-out.
// The WINE fixture starts this with its output on /dev/null; its end (wineserver -k) ends this too.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    ::GetDesktopWindow();  // a user of the desktop from here on
    ::Sleep(INFINITE);
    return 0;
}
