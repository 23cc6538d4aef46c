#include "toolkit/frames/TkPaintedCaption.h"
#include "toolkit/frames/TkCaptionPainter.h"

namespace
{
// A WM_NCPAINT region of 1 stands for the whole window.
const WPARAM kWholeWindow = 1;

void CreateSystemCaptionFont(CFont& font, BOOL italic)
{
    NONCLIENTMETRICSA metrics = {sizeof metrics};
    ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    metrics.lfCaptionFont.lfItalic = (BYTE)italic;
    font.Attach(::CreateFontIndirectA(&metrics.lfCaptionFont));
}
}  // namespace

TkPaintedCaption::TkPaintedCaption(BOOL postRedraw)
    : m_bNewShell(LOBYTE(LOWORD(::GetVersion())) >= 4), m_nCaptionAlignment(0),
      m_bCaptionActive(FALSE), m_bPaintedCaption(FALSE), m_bPostRedraw(postRedraw)
{
}

void TkPaintedCaption::CreateItalicCaptionFont(CFont& font)
{
    CreateSystemCaptionFont(font, TRUE);
}

void TkPaintedCaption::CreateCaptionFont(CFont& font)
{
    CreateSystemCaptionFont(font, FALSE);
}

void TkPaintedCaption::DrawCaption()
{
    CFont italic, plain;
    CreateItalicCaptionFont(italic);
    CreateCaptionFont(plain);
    if (!TkCaptionPainter::Draw(GetCaptionFrame(), m_bCaptionActive, m_nCaptionAlignment, &italic,
                                &plain))
        SetPaintedCaption(FALSE, TRUE);
}

BOOL TkPaintedCaption::SetPaintedCaption(BOOL painted, BOOL redraw)
{
    if (!m_bNewShell)
        return FALSE;
    BOOL previous = m_bPaintedCaption;
    m_bPaintedCaption = painted;
    CFrameWnd* frame = GetCaptionFrame();
    if (frame->m_hWnd)
    {
        if (redraw && m_bPostRedraw)
            frame->PostMessage(WM_NCPAINT, kWholeWindow);
        else if (redraw)
            frame->SendMessage(WM_NCPAINT, kWholeWindow);
        frame->PostMessage(WM_NCACTIVATE, FALSE);
    }
    return previous;
}

LRESULT TkPaintedCaption::DefaultUnseen(UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND window = GetCaptionFrame()->m_hWnd;
    LONG style = ::GetWindowLongA(window, GWL_STYLE);
    ::SetWindowLongA(window, GWL_STYLE, style & ~WS_VISIBLE);
    LRESULT result = CaptionDefault(message, wParam, lParam);
    ::SetWindowLongA(window, GWL_STYLE, style);
    return result;
}

LRESULT TkPaintedCaption::PaintedSetText(WPARAM wParam, LPARAM lParam)
{
    DefaultUnseen(WM_SETTEXT, wParam, lParam);
    DrawCaption();
    return TRUE;
}

LRESULT TkPaintedCaption::PaintedNcActivate(WPARAM wParam, LPARAM lParam)
{
    CFrameWnd* frame = GetCaptionFrame();
    BOOL shown = (frame->m_nFlags & WF_STAYACTIVE) ? TRUE : wParam != 0;
    if (!frame->IsWindowEnabled())
        shown = FALSE;
    m_bCaptionActive = shown;
    CFrameWnd* active = frame->GetActiveFrame();
    if (active && active != frame)
    {
        active->SendMessage(WM_NCACTIVATE, shown);
        active->SendMessage(WM_NCPAINT, kWholeWindow);
    }
    LRESULT result = DefaultUnseen(WM_NCACTIVATE, shown, lParam);
    frame->SendMessage(WM_NCPAINT, kWholeWindow);
    return result;
}

LRESULT TkPaintedCaption::PaintedNcPaint(WPARAM wParam, LPARAM lParam)
{
    CFrameWnd* frame = GetCaptionFrame();
    CRect window;
    frame->GetWindowRect(&window);
    CRect caption = TkCaptionPainter::CaptionRect(frame);
    caption.OffsetRect(window.TopLeft());
    HRGN given = wParam != kWholeWindow ? (HRGN)wParam : NULL;
    if (given && !::RectInRegion(given, &caption))
        return CaptionDefault(WM_NCPAINT, wParam, lParam);
    // The system paints all but the caption.
    HRGN rest = ::CreateRectRgnIndirect(&window);
    if (given)
        ::CombineRgn(rest, given, NULL, RGN_COPY);
    HRGN captionRegion = ::CreateRectRgnIndirect(&caption);
    ::CombineRgn(rest, rest, captionRegion, RGN_DIFF);
    ::DeleteObject(captionRegion);
    LRESULT result = CaptionDefault(WM_NCPAINT, (WPARAM)rest, lParam);
    ::DeleteObject(rest);
    DrawCaption();
    return result;
}
