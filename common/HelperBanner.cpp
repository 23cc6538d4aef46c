#include "common/HelperBanner.h"

#include <algorithm>

namespace {

const int kMinBands = 2;
const int kMaxBands = 64;
const COLORREF kActiveTop = RGB(0xC6, 0x9E, 0xC6);
const COLORREF kActiveBottom = RGB(0x20, 0x00, 0xC0);
const COLORREF kInactiveTop = RGB(0x7B, 0x9E, 0xC6);
const COLORREF kInactiveBottom = RGB(0x00, 0x00, 0xC0);
// The caption's font height and the nudge that centres it along the strip.
const int kFontHeight = 18;
const int kCaptionOffset = 17;
const int kTextIndent = 3;

BYTE Channel(int from, int to, int band, int bands)
{
    double step = double(to - from) / (bands - 1);
    return static_cast<BYTE>(from + step * band);
}

} // namespace

void FillGradient(CDC* dc, const RECT& rect, COLORREF from, COLORREF to, BOOL horizontal)
{
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return;
    int extent = horizontal ? width : height;
    int bands = std::min(std::max(extent, kMinBands), kMaxBands);
    int bandSize = extent / bands;
    CGdiObject* oldPen = dc->SelectStockObject(NULL_PEN);
    for (int band = 0; band < bands; ++band)
    {
        COLORREF color = RGB(Channel(GetRValue(from), GetRValue(to), band, bands),
                             Channel(GetGValue(from), GetGValue(to), band, bands),
                             Channel(GetBValue(from), GetBValue(to), band, bands));
        CRect part(rect);
        int start = band * bandSize;
        int end = band == bands - 1 ? extent : start + bandSize;
        if (horizontal)
            part.left = rect.left + start, part.right = rect.left + end;
        else
            part.top = rect.top + start, part.bottom = rect.top + end;
        CBrush brush(color);
        CBrush* oldBrush = dc->SelectObject(&brush);
        // A null pen leaves the right and bottom edge unpainted.
        dc->Rectangle(part.left, part.top, part.right + 1, part.bottom + 1);
        dc->SelectObject(oldBrush);
    }
    dc->SelectObject(oldPen);
}

CHelperBanner::CHelperBanner(CWnd* owner) : m_owner(owner)
{
    m_font.CreateFont(kFontHeight, 0, 900, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial");
}

int CHelperBanner::GetWidth() const
{
    return m_shown ? std::max(0, m_width - 2) : 0;
}

void CHelperBanner::SetActive(BOOL active)
{
    bool wanted = active != FALSE;
    if (wanted == m_active)
        return;
    m_active = wanted;
    InvalidateStrip(OwnerHeight());
}

void CHelperBanner::Resize(int ownerHeight)
{
    if (m_shown)
        InvalidateStrip(ownerHeight);
}

void CHelperBanner::SetOrigin(int x, int y)
{
    m_origin = CPoint(x, y);
}

void CHelperBanner::InvalidateStrip(int ownerHeight)
{
    if (!m_owner->GetSafeHwnd())
        return;
    CRect strip(0, 0, m_width - 1, ownerHeight - 1);
    m_owner->InvalidateRect(&strip, FALSE);
}

int CHelperBanner::OwnerHeight() const
{
    CRect client;
    if (m_owner->GetSafeHwnd())
        m_owner->GetClientRect(&client);
    return client.Height();
}

CRect CHelperBanner::StripRect(int ownerHeight) const
{
    return CRect(m_origin.x, m_origin.y, m_width - 1, ownerHeight - 1);
}

void CHelperBanner::Draw(CDC* dc, const RECT& update)
{
    if (!m_shown)
        return;
    int height = OwnerHeight();
    CRect strip = StripRect(height);
    CRect common;
    if (!common.IntersectRect(&strip, &update))
        return;
    FillGradient(dc, strip, m_active ? kActiveTop : kInactiveTop,
                 m_active ? kActiveBottom : kInactiveBottom, FALSE);
    int oldMode = dc->SetBkMode(TRANSPARENT);
    CFont* oldFont = dc->SelectObject(&m_font);
    int length = dc->GetTextExtent(m_text).cx;
    CRect text(m_origin.x - kTextIndent, m_origin.y, m_width - 1,
               height - 1 - std::max(0, height - 1 - length - m_origin.y) / 2 + kCaptionOffset);
    const UINT format = DT_SINGLELINE | DT_NOCLIP | DT_BOTTOM;
    COLORREF oldColor = dc->SetTextColor(m_active ? m_shadowActive : m_shadowInactive);
    dc->DrawText(m_text, &text, format);
    text.OffsetRect(1, -1);
    dc->SetTextColor(m_active ? m_textActive : m_textInactive);
    dc->DrawText(m_text, &text, format);
    dc->SetTextColor(oldColor);
    dc->SelectObject(oldFont);
    dc->SetBkMode(oldMode);
    m_owner->ValidateRect(&strip);
}
