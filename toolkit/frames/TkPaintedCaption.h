// TkPaintedCaption: the painted caption of the toolkit's main frames (MDI
// and SDI). While it is on, the frame paints its caption itself through
// TkCaptionPainter (gradient, icon, two-font title) and lets the system
// paint the rest of its non-client area.
#pragma once

#include <afxwin.h>

class TkPaintedCaption
{
public:
    // postRedraw: the redraw after a switch is posted rather than sent.
    explicit TkPaintedCaption(BOOL postRedraw);
    virtual ~TkPaintedCaption() {}

    virtual void CreateItalicCaptionFont(CFont& font);
    virtual void CreateCaptionFont(CFont& font);
    // A caption that cannot be drawn switches the painted caption off.
    virtual void DrawCaption();
    // Only with the new shell (else FALSE, nothing changes); the previous flag.
    BOOL SetPaintedCaption(BOOL painted, BOOL redraw);

    BOOL m_bNewShell;
    // TkCaptionPainter's alignment.
    int m_nCaptionAlignment;
    BOOL m_bCaptionActive;
    BOOL m_bPaintedCaption;

protected:
    virtual CFrameWnd* GetCaptionFrame() = 0;
    // The default processing of the frame's window class.
    virtual LRESULT CaptionDefault(UINT message, WPARAM wParam, LPARAM lParam) = 0;

    // The painted handling of the three messages.
    LRESULT PaintedSetText(WPARAM wParam, LPARAM lParam);
    LRESULT PaintedNcActivate(WPARAM wParam, LPARAM lParam);
    LRESULT PaintedNcPaint(WPARAM wParam, LPARAM lParam);
    // The default processing with WS_VISIBLE cleared, so that the system
    // paints no caption of its own.
    LRESULT DefaultUnseen(UINT message, WPARAM wParam, LPARAM lParam);

private:
    BOOL m_bPostRedraw;
};
