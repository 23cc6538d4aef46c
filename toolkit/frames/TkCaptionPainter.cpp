#include "toolkit/frames/TkCaptionPainter.h"

#include <algorithm>

namespace
{
// At most this many bands make the gradient.
const int kGradientBands = 60;
// Single line, vertically centred, ending in an ellipsis when cut.
const UINT kTitleFormat = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS;
const int kTitleIndent = 3;

// Whether the system menu's close item may be chosen.
BOOL CloseEnabled(CWnd* frame)
{
    HMENU menu = ::GetSystemMenu(frame->m_hWnd, FALSE);
    if (!menu)
        return FALSE;
    UINT state = ::GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND);
    return state != (UINT)-1 && !(state & (MF_GRAYED | MF_DISABLED));
}
}

CRect TkCaptionPainter::CaptionRect(CWnd* frame)
{
    CRect window;
    frame->GetWindowRect(&window);
    DWORD style = frame->GetStyle();
    const int button = ::GetSystemMetrics(SM_CXSIZE);
    CRect rect;
    rect.left = ::GetSystemMetrics(SM_CXFRAME);
    rect.top = ::GetSystemMetrics(SM_CYFRAME) - ((style & WS_THICKFRAME) ? 0 : 1);
    rect.right = window.Width() - button - 1;
    rect.bottom = rect.top + ::GetSystemMetrics(SM_CYSIZE);
    int boxes = ((style & WS_MINIMIZEBOX) ? 1 : 0) + ((style & WS_MAXIMIZEBOX) ? 1 : 0);
    int close = CloseEnabled(frame) ? 1 : 0;
    rect.right += ::GetSystemMetrics(SM_CXBORDER) - (boxes + close - 1) * button - (boxes >= 1 ? 1 : 0);
    return rect;
}

void TkCaptionPainter::SplitTitle(const CString& title, CString& first, CString& second)
{
    int hyphen = title.Find('-');
    first = hyphen < 0 ? title : title.Left(hyphen);
    second = hyphen < 0 ? CString() : title.Mid(hyphen);
}

// Black at the left to the active caption colour at the right, each
// channel stepped in 1/256 parts and never past its end.
void TkCaptionPainter::DrawGradient(CDC* dc, const CRect& area)
{
    const COLORREF end = ::GetSysColor(COLOR_ACTIVECAPTION);
    const int width = area.Width();
    const int bands = std::max(1, std::min(kGradientBands, width));
    const int ends[3] = {GetRValue(end), GetGValue(end), GetBValue(end)};
    for (int i = 0; i < bands; i++)
    {
        int value[3];
        for (int c = 0; c < 3; c++)
            value[c] = std::min(ends[c], (ends[c] * 256 / bands) * i / 256);
        int left = area.left + width * i / bands;
        int right = i == bands - 1 ? area.right : area.left + width * (i + 1) / bands + 1;
        dc->FillSolidRect(left, area.top, right - left, area.Height(), RGB(value[0], value[1], value[2]));
    }
}

void TkCaptionPainter::DrawTitle(CDC* dc, const CRect& area, const CString& title, BOOL active,
                                 int alignment, CFont* italicFont, CFont* font)
{
    CString first, second;
    SplitTitle(title, first, second);
    CFont* old = dc->SelectObject(italicFont);
    int firstWidth = dc->GetTextExtent(first).cx;
    int ellipsisWidth = dc->GetTextExtent(CString("W...")).cx;
    dc->SelectObject(font);
    int secondWidth = dc->GetTextExtent(second).cx;
    BOOL showSecond = area.Width() >= firstWidth + ellipsisWidth;
    int x = area.left + kTitleIndent;
    if (alignment != alignLeft)
    {
        int total = firstWidth + (showSecond ? secondWidth : 0);
        int free = area.Width() - kTitleIndent - total;
        x += std::max(0, alignment == alignCentre ? free / 2 : free);
    }
    dc->SetBkMode(TRANSPARENT);
    dc->SetTextColor(RGB(255, 255, 255));
    dc->SelectObject(italicFont);
    CRect rect(x, area.top, area.right, area.bottom);
    dc->DrawText(first, &rect, kTitleFormat);
    if (showSecond && !second.IsEmpty())
    {
        if (!active)
            dc->SetTextColor(::GetSysColor(COLOR_INACTIVECAPTIONTEXT));
        dc->SelectObject(font);
        rect.left = x + firstWidth;
        dc->DrawText(second, &rect, kTitleFormat);
    }
    dc->SelectObject(old);
}

BOOL TkCaptionPainter::Draw(CWnd* frame, BOOL active, int alignment, CFont* italicFont, CFont* font)
{
    CRect caption = CaptionRect(frame);
    if (caption.Width() <= 0 || caption.Height() <= 0)
        return TRUE;
    CWindowDC windowDc(frame);
    CDC memory;
    CBitmap bitmap;
    if (!memory.CreateCompatibleDC(&windowDc) ||
        !bitmap.CreateCompatibleBitmap(&windowDc, caption.Width(), caption.Height()))
        return FALSE;
    CBitmap* oldBitmap = memory.SelectObject(&bitmap);
    CRect area(0, 0, caption.Width(), caption.Height());
    const COLORREF inactive = ::GetSysColor(COLOR_INACTIVECAPTION);
    if (frame->GetStyle() & WS_SYSMENU)
    {
        const int cx = ::GetSystemMetrics(SM_CXSIZE);
        CRect cell(0, 0, cx, ::GetSystemMetrics(SM_CYSIZE));
        memory.FillSolidRect(&cell, active ? RGB(0, 0, 0) : inactive);
        cell.DeflateRect(2, 1, 0, 1);
        HICON icon = (HICON)::GetClassLongPtrA(frame->m_hWnd, cx >= 30 ? GCLP_HICON : GCLP_HICONSM);
        if (icon)
            ::DrawIconEx(memory.m_hDC, cell.left, cell.top, icon, cell.Width(), cell.Height(), 0, NULL,
                         DI_NORMAL);
        area.left = cx;
    }
    if (active)
        DrawGradient(&memory, area);
    else
        memory.FillSolidRect(&area, inactive);
    CString title;
    frame->GetWindowText(title);
    DrawTitle(&memory, area, title, active, alignment, italicFont, font);
    windowDc.BitBlt(caption.left, caption.top, caption.Width(), caption.Height(), &memory, 0, 0, SRCCOPY);
    memory.SelectObject(oldBitmap);
    return TRUE;
}
