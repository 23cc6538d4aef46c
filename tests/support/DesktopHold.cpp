// Holds the Wine desktop for a whole test run. Wine's desktop process ends a
// moment after the last program using the desktop has ended; the next window
// of a test then starts a new one, which inherits that test's output pipes and
// keeps them open, so CTest never sees the test end. test.sh starts this once,
// with its output away from the tests, and wineserver -k ends it.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    GetDesktopWindow();
    Sleep(INFINITE);
    return 0;
}
