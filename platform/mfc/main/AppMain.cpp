// The entry point of programs built on the class library. It lives in an
// object library: winebuild takes an entry point only from objects, never
// from a member of a static archive.
#include <afxwin.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int cmdShow)
{
    return AfxWinMain(instance, previous, commandLine, cmdShow);
}
