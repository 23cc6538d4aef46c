// The window rectangles and show states of the main frame, its docked windows
// and its child frames as the profile keeps them.
#pragma once

#include <afxwin.h>

// "%04d %04d %04d %04d": left, top, right, bottom.
CString FormatProfileRect(const RECT& rect);

// Four numbers separated by blanks. Fields of fixed width break for
// coordinates such as -1000 or 10000 (monitors left of or beyond the first),
// so the numbers are read wherever they stand. FALSE, and rect untouched,
// when the text does not hold four numbers.
BOOL ParseProfileRect(const char* text, RECT& rect);

// The restored rectangle of the main frame: at least this wide and high,
// a smaller one grown from its left and top edges, which stay.
const int kMinFrameExtent = 150;
CRect MinimumFrameRect(const CRect& saved);

// A docked window's rectangle: at least kMinDockExtent in each direction,
// and at least kDockMargin smaller than the frame's restored rectangle.
const int kMinDockExtent = 67;
const int kDockMargin = 100;
CRect FitDockRect(const CRect& rect, const CRect& frame);

// "Icon" and "max" of a placement: normal 0 0, maximised 0 1, minimised 1
// and whether it restores to maximised. Other show states count as normal.
struct PlacementState
{
    int icon;
    int max;
};
PlacementState PlacementStateOf(const WINDOWPLACEMENT& placement);

// Writes the window's restored rectangle as "Rect" and its "Icon" and "max"
// into the profile section.
void SaveWindowPlacement(CWnd* window, LPCSTR section);
