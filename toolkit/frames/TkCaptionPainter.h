// TkCaptionPainter: paints a main frame's caption in place of the system's:
// the window icon on a black cell, a gradient from black to the active
// caption colour (one inactive fill otherwise), and the title in two fonts,
// the part before its first '-' in italics.
#pragma once

#include <afxwin.h>

class TkCaptionPainter
{
public:
    // Title alignment.
    enum
    {
        alignLeft = 0,
        alignCentre = 1,
    };

    // The caption's rectangle in window coordinates, left of its buttons.
    static CRect CaptionRect(CWnd* frame);
    // FALSE when no memory bitmap could be made: nothing was drawn.
    static BOOL Draw(CWnd* frame, BOOL active, int alignment, CFont* italicFont, CFont* font);
    // The title's parts: before the first '-', and the rest from it on.
    static void SplitTitle(const CString& title, CString& first, CString& second);

private:
    static void DrawGradient(CDC* dc, const CRect& area);
    static void DrawTitle(CDC* dc, const CRect& area, const CString& title, BOOL active,
                          int alignment, CFont* italicFont, CFont* font);
};
