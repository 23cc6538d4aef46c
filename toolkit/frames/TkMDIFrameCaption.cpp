// The painted caption of TkMDIFrameWnd: while it is on, the frame paints its
// caption itself and lets the system paint the rest of its non-client area.
#include "frames/TkMDIFrameWnd.h"
#include "frames/TkCaptionPainter.h"

namespace
{
// A WM_NCPAINT region of 1 stands for the whole window.
const WPARAM kWholeWindow = 1;
}

void TkMDIFrameWnd::CreateItalicCaptionFont(CFont& font)
{
    NONCLIENTMETRICSA metrics = {sizeof metrics};
    ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    metrics.lfCaptionFont.lfItalic = TRUE;
    font.Attach(::CreateFontIndirectA(&metrics.lfCaptionFont));
}

void TkMDIFrameWnd::CreateCaptionFont(CFont& font)
{
    NONCLIENTMETRICSA metrics = {sizeof metrics};
    ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    font.Attach(::CreateFontIndirectA(&metrics.lfCaptionFont));
}

// A caption that cannot be drawn switches the painted caption off.
void TkMDIFrameWnd::DrawCaption()
{
    CFont italic, plain;
    CreateItalicCaptionFont(italic);
    CreateCaptionFont(plain);
    if (!TkCaptionPainter::Draw(this, m_bCaptionActive, m_nCaptionAlignment, &italic, &plain))
        SetPaintedCaption(FALSE, TRUE);
}

BOOL TkMDIFrameWnd::SetPaintedCaption(BOOL painted, BOOL redraw)
{
    if (!m_bNewShell)
        return FALSE;
    BOOL previous = m_bPaintedCaption;
    m_bPaintedCaption = painted;
    if (m_hWnd)
    {
        if (redraw)
            SendMessage(WM_NCPAINT, kWholeWindow);
        PostMessage(WM_NCACTIVATE, FALSE);
    }
    return previous;
}

LRESULT TkMDIFrameWnd::DefaultUnseen(UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD style = GetStyle();
    ::SetWindowLongA(m_hWnd, GWL_STYLE, style & ~WS_VISIBLE);
    LRESULT result = CMDIFrameWnd::DefWindowProc(message, wParam, lParam);
    ::SetWindowLongA(m_hWnd, GWL_STYLE, style);
    return result;
}

LRESULT TkMDIFrameWnd::OnSetTextMessage(WPARAM wParam, LPARAM lParam)
{
    if (!m_bPaintedCaption)
        return FilterAfterDefault(this, m_pFilterRoot);
    DefaultUnseen(WM_SETTEXT, wParam, lParam);
    DrawCaption();
    return TRUE;
}

LRESULT TkMDIFrameWnd::PaintedNcActivate(WPARAM wParam, LPARAM lParam)
{
    BOOL shown = (m_nFlags & WF_STAYACTIVE) ? TRUE : wParam != 0;
    if (!IsWindowEnabled())
        shown = FALSE;
    m_bCaptionActive = shown;
    CFrameWnd* active = GetActiveFrame();
    if (active && active != this)
    {
        active->SendMessage(WM_NCACTIVATE, shown);
        active->SendMessage(WM_NCPAINT, kWholeWindow);
    }
    LRESULT result = DefaultUnseen(WM_NCACTIVATE, shown, lParam);
    SendMessage(WM_NCPAINT, kWholeWindow);
    return result;
}

LRESULT TkMDIFrameWnd::OnNcPaintMessage(WPARAM wParam, LPARAM lParam)
{
    if (!m_bPaintedCaption)
        return FilterAfterDefault(this, m_pFilterRoot);
    CRect window;
    GetWindowRect(&window);
    CRect caption = TkCaptionPainter::CaptionRect(this);
    caption.OffsetRect(window.TopLeft());
    HRGN given = wParam != kWholeWindow ? (HRGN)wParam : NULL;
    if (given && !::RectInRegion(given, &caption))
        return Default();
    // The system paints all but the caption.
    HRGN rest = ::CreateRectRgnIndirect(&window);
    if (given)
        ::CombineRgn(rest, given, NULL, RGN_COPY);
    HRGN captionRegion = ::CreateRectRgnIndirect(&caption);
    ::CombineRgn(rest, rest, captionRegion, RGN_DIFF);
    ::DeleteObject(captionRegion);
    LRESULT result = CMDIFrameWnd::DefWindowProc(WM_NCPAINT, (WPARAM)rest, lParam);
    ::DeleteObject(rest);
    DrawCaption();
    return result;
}
