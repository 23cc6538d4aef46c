// The caption messages of TkMDIFrameWnd: painted while the painted caption
// is on (TkPaintedCaption), else the default handling, then the filters.
#include "toolkit/frames/TkMDIFrameWnd.h"

LRESULT TkMDIFrameWnd::CaptionDefault(UINT message, WPARAM wParam, LPARAM lParam)
{
    return CMDIFrameWnd::DefWindowProc(message, wParam, lParam);
}

LRESULT TkMDIFrameWnd::OnSetTextMessage(WPARAM wParam, LPARAM lParam)
{
    if (!m_bPaintedCaption)
        return FilterAfterDefault(this, m_pFilterRoot.get());
    return PaintedSetText(wParam, lParam);
}

LRESULT TkMDIFrameWnd::OnNcPaintMessage(WPARAM wParam, LPARAM lParam)
{
    if (!m_bPaintedCaption)
        return FilterAfterDefault(this, m_pFilterRoot.get());
    return PaintedNcPaint(wParam, lParam);
}
