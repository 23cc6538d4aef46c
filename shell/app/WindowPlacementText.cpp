#include "shell/app/WindowPlacementText.h"

#include <limits.h>
#include <stdlib.h>

CString FormatProfileRect(const RECT& rect)
{
    CString text;
    text.Format("%04d %04d %04d %04d", (int)rect.left, (int)rect.top, (int)rect.right, (int)rect.bottom);
    return text;
}

BOOL ParseProfileRect(const char* text, RECT& rect)
{
    if (!text)
        return FALSE;
    long values[4];
    const char* cursor = text;
    for (long& value : values)
    {
        char* end = nullptr;
        value = strtol(cursor, &end, 10);
        if (end == cursor || value < INT_MIN || value > INT_MAX)
            return FALSE;
        cursor = end;
    }
    rect.left = (int)values[0];
    rect.top = (int)values[1];
    rect.right = (int)values[2];
    rect.bottom = (int)values[3];
    return TRUE;
}

CRect MinimumFrameRect(const CRect& saved)
{
    CRect rect = saved;
    if (rect.Width() < kMinFrameExtent)
        rect.right = rect.left + kMinFrameExtent;
    if (rect.Height() < kMinFrameExtent)
        rect.bottom = rect.top + kMinFrameExtent;
    return rect;
}

CRect FitDockRect(const CRect& saved, const CRect& frame)
{
    CRect rect = saved;
    if (rect.Height() < kMinDockExtent)
        rect.bottom = rect.top + kMinDockExtent;
    if (rect.Width() < kMinDockExtent)
        rect.right = rect.left + kMinDockExtent;
    if (frame.Height() - rect.Height() < kDockMargin)
        rect.bottom = rect.top + frame.Height() - kDockMargin;
    if (frame.Width() - rect.Width() < kDockMargin)
        rect.right = rect.left + frame.Width() - kDockMargin;
    return rect;
}

void SaveWindowPlacement(CWnd* window, LPCSTR section)
{
    WINDOWPLACEMENT placement = { sizeof(placement) };
    if (!window->GetWindowPlacement(&placement))
        return;
    CWinApp* app = AfxGetApp();
    PlacementState state = PlacementStateOf(placement);
    app->WriteProfileString(section, "Rect", FormatProfileRect(placement.rcNormalPosition));
    app->WriteProfileInt(section, "Icon", state.icon);
    app->WriteProfileInt(section, "max", state.max);
}

PlacementState PlacementStateOf(const WINDOWPLACEMENT& placement)
{
    switch (placement.showCmd)
    {
    case SW_SHOWMAXIMIZED:
        return { 0, 1 };
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
        return { 1, (placement.flags & WPF_RESTORETOMAXIMIZED) ? 1 : 0 };
    default:
        return { 0, 0 };
    }
}
