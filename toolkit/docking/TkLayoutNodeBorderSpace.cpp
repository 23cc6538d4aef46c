#include "toolkit/docking/TkLayoutNodeBorderSpace.h"

#include "toolkit/colors/TkSysColors.h"

#include <algorithm>

TkLayoutNodeBorderSpace::TkLayoutNodeBorderSpace()
    : m_sideStripsFirst(TRUE), m_marginsEnabled(TRUE), m_widthLeft(6), m_widthTop(3),
      m_widthRight(6), m_widthBottom(3)
{
    ApplyMargins();
}

void TkLayoutNodeBorderSpace::ApplyMargins()
{
    SetMargins(m_widthLeft, m_widthTop, m_widthRight, m_widthBottom);
}

void TkLayoutNodeBorderSpace::SetMargins(int left, int top, int right, int bottom)
{
    m_marginLeft = m_marginsEnabled ? left : 0;
    m_marginTop = m_marginsEnabled ? top : 0;
    m_marginRight = m_marginsEnabled ? right : 0;
    m_marginBottom = m_marginsEnabled ? bottom : 0;
}

void TkLayoutNodeBorderSpace::CalcLayout(CRect& result, const CRect& rect, BOOL constrain,
                                         BOOL force)
{
    TkLNBorder_T<TkLayoutNodeDCBase>::CalcLayout(result, rect, constrain, force);
    ComputeStrips(result, m_sideStripsFirst, m_strips[kSideLeft], m_strips[kSideRight],
                  m_strips[kSideTop], m_strips[kSideBottom]);
    InvalidateChangedStrips();
}

void TkLayoutNodeBorderSpace::ComputeStrips(const CRect& r, BOOL sideStripsFirst, CRect& left,
                                            CRect& right, CRect& top, CRect& bottom)
{
    left = CRect(r.left, r.top, std::min(r.left + m_marginLeft, r.right), r.bottom);
    right = CRect(std::max(r.right - m_marginRight, r.left), r.top, r.right, r.bottom);
    top = CRect(r.left, r.top, r.right, std::min(r.top + m_marginTop, r.bottom));
    bottom = CRect(r.left, std::max(r.bottom - m_marginBottom, r.top), r.right, r.bottom);
    // Between strips that meet, an empty strip rather than an inverted one.
    if (sideStripsFirst)
    {
        top.left = bottom.left = left.right;
        top.right = bottom.right = std::max(right.left, left.right);
    }
    else
    {
        left.top = right.top = top.bottom;
        left.bottom = right.bottom = std::max(bottom.top, top.bottom);
    }
}

void TkLayoutNodeBorderSpace::DrawNode(CDC* dc, const CRect&)
{
    if (!m_marginsEnabled)
        return;
    static const int kSides[] = {kSideLeft, kSideRight, kSideTop, kSideBottom};
    for (int side : kSides)
        DrawMargins(dc, m_strips[side], side);
}

void TkLayoutNodeBorderSpace::DrawMargins(CDC* dc, const CRect& rect, int)
{
    if (!rect.IsRectEmpty())
        dc->FillSolidRect(rect, tkSysColors.m_clrBtnFace);
}

// The parts of the old rectangle that the new one no longer covers.
void TkLayoutNodeBorderSpace::InvalidateChangedStrips()
{
    CRect c = GetCurrentRect();
    ForEachExposedStrip(m_laidOutRect, c, [this](const CRect& strip) { InvalidateMargins(strip); });
    for (int side = 0; side < 4; ++side)
        if (m_oldStrips[side] != m_strips[side])
            InvalidateMargins(m_strips[side]);
    std::copy(m_strips, m_strips + 4, m_oldStrips);
    m_laidOutRect = c;
}

void TkLayoutNodeBorderSpace::InvalidateMargins(const CRect& rect)
{
    if (m_hWnd)
        ::InvalidateRect(m_hWnd, rect, TRUE);
}

BOOL TkLayoutNodeBorderSpace::EnableMargins(BOOL enable, BOOL realize)
{
    if (!enable == !m_marginsEnabled)
        return FALSE;
    m_marginsEnabled = enable ? TRUE : FALSE;
    ApplyMargins();
    CRect result;
    RecalcLayout(result, GetCurrentRect(), FALSE, TRUE);
    if (realize)
        RealizeNodes(0);
    return TRUE;
}

BOOL TkLayoutNodeBorderSpace::AreMarginsEnabled()
{
    return m_marginsEnabled;
}

TkLNBorderClientEdge::TkLNBorderClientEdge()
    : m_edgeLeft(0), m_edgeTop(0), m_edgeRight(0), m_edgeBottom(0), m_outerBand(0),
      m_middleBand(2), m_innerBand(0),
      m_highlightPen(::CreatePen(PS_SOLID, 1, tkSysColors.m_clrBtnHilite)),
      m_shadowPen(::CreatePen(PS_SOLID, 1, tkSysColors.m_clrBtnShadow))
{
    ApplyMargins();
}

TkLNBorderClientEdge::~TkLNBorderClientEdge()
{
    ::DeleteObject(m_highlightPen);
    ::DeleteObject(m_shadowPen);
}

void TkLNBorderClientEdge::SetEdgeFlags(int left, int top, int right, int bottom)
{
    m_edgeLeft = left;
    m_edgeTop = top;
    m_edgeRight = right;
    m_edgeBottom = bottom;
    ApplyMargins();
}

void TkLNBorderClientEdge::SetMargins(int, int, int, int)
{
    int band = m_outerBand + m_middleBand + m_innerBand;
    TkLayoutNodeBorderSpace::SetMargins(m_edgeLeft > 0 ? band : 0, m_edgeTop > 0 ? band : 0,
                                        m_edgeRight > 0 ? band : 0, m_edgeBottom > 0 ? band : 0);
}

void TkLNBorderClientEdge::CalcLayout(CRect& result, const CRect& rect, BOOL constrain, BOOL force)
{
    m_sideStripsFirst = FALSE;
    TkLayoutNodeBorderSpace::CalcLayout(result, rect, constrain, force);
}

void TkLNBorderClientEdge::InvalidateMargins(const CRect& rect)
{
    CRect grown = rect;
    grown.InflateRect(3, 3);
    TkLayoutNodeBorderSpace::InvalidateMargins(grown);
}

void TkLNBorderClientEdge::DrawMargins(CDC* dc, const CRect& rect, int side)
{
    TkLayoutNodeBorderSpace::DrawMargins(dc, rect, side);
    DrawEdge(dc, rect, side);
}

int TkLNBorderClientEdge::EdgeFlag(int side) const
{
    switch (side)
    {
    case kSideTop:
        return m_edgeTop;
    case kSideBottom:
        return m_edgeBottom;
    case kSideLeft:
        return m_edgeLeft;
    case kSideRight:
        return m_edgeRight;
    default:
        return 0;
    }
}

BOOL TkLNBorderClientEdge::IsEdgeOn(int side, BOOL* horizontal)
{
    if (horizontal)
        *horizontal = side == kSideTop || side == kSideBottom;
    return EdgeFlag(side) != 0;
}

CRect TkLNBorderClientEdge::GetBandRect(const CRect& rect, int from, int to, int side)
{
    CRect band = rect;
    switch (side)
    {
    case kSideTop:
        band.top = rect.top + from;
        band.bottom = rect.top + to;
        break;
    case kSideBottom:
        band.top = rect.bottom - to;
        band.bottom = rect.bottom - from;
        break;
    case kSideLeft:
        band.left = rect.left + from;
        band.right = rect.left + to;
        break;
    case kSideRight:
        band.left = rect.right - to;
        band.right = rect.right - from;
        break;
    }
    band.left = std::max(band.left, rect.left);
    band.top = std::max(band.top, rect.top);
    band.right = std::min(band.right, rect.right);
    band.bottom = std::min(band.bottom, rect.bottom);
    return band;
}

// Outside in: a face band, the etched line pair (shadow, then highlight one
// pixel further in), a face band.
void TkLNBorderClientEdge::DrawEdge(CDC* dc, const CRect& rect, int side)
{
    BOOL horizontal = FALSE;
    if (!IsEdgeOn(side, &horizontal))
        return;
    COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    int middleEnd = m_outerBand + m_middleBand;
    CRect outer = GetBandRect(rect, 0, m_outerBand, side);
    CRect middle = GetBandRect(rect, m_outerBand, middleEnd, side);
    CRect inner = GetBandRect(rect, middleEnd, middleEnd + m_innerBand, side);
    if (!outer.IsRectEmpty())
        dc->FillSolidRect(outer, face);
    HDC hdc = dc->m_hDC;
    HGDIOBJ oldPen = ::SelectObject(hdc, m_shadowPen);
    for (int line = 0; line < 2; ++line)
    {
        if (line == 1)
            ::SelectObject(hdc, m_highlightPen);
        if (horizontal && middle.top + line < middle.bottom)
        {
            ::MoveToEx(hdc, middle.left, middle.top + line, NULL);
            ::LineTo(hdc, middle.right, middle.top + line);
        }
        else if (!horizontal && middle.left + line < middle.right)
        {
            ::MoveToEx(hdc, middle.left + line, middle.top, NULL);
            ::LineTo(hdc, middle.left + line, middle.bottom);
        }
    }
    ::SelectObject(hdc, oldPen);
    if (!inner.IsRectEmpty())
        dc->FillSolidRect(inner, face);
}
