// Queues a mouse drag for a window whose loop takes the messages in turn:
// moves with the left button down, then the last message (button up, the
// right button down, or WM_KEYDOWN for Escape) at the last point. Points are
// in the window's client coordinates.
#pragma once

#include <windows.h>

#include <vector>

inline void PostDrag(HWND window, const std::vector<POINT>& points, UINT last = WM_LBUTTONUP)
{
    for (size_t i = 0; i < points.size(); i++) {
        UINT message = i + 1 == points.size() ? last : WM_MOUSEMOVE;
        if (message == WM_KEYDOWN)
            PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
        else
            PostMessageA(window, message, message == WM_MOUSEMOVE ? MK_LBUTTON : 0,
                         MAKELPARAM(points[i].x, points[i].y));
    }
}
