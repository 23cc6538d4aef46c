// A drag frame shown on the screen by four topmost windows of its own.
// Under Wine on X, drawing on the desktop window's DC lands on the root
// window, which every window on it hides: a frame dragged over the
// program's windows would not be seen. One frame for the process.
#pragma once

#include <windows.h>

class CScreenDragFrame
{
public:
    // A frame of the border widths inside rect, painted with the brush
    // (solid or hatched; any other kind, or NULL, paints the halftone
    // pattern). An empty rectangle or a zero border hides the frame.
    static void Show(const RECT& rect, SIZE border, HBRUSH brush);
    static void Hide();
    // The four strip windows, for tests; NULL before the first Show.
    static HWND GetStrip(int index);

    static const int kStripCount = 4;
};
