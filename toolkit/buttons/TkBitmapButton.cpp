#include "toolkit/buttons/TkBitmapButton.h"

#include "toolkit/toolbars/TkSysColorBitmap.h"

namespace
{
const UINT kTextFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
// The layout leaves these pixels at the right and bottom to the frame.
const int kFrameReserve = 3;
const int kFocusOutset = 3;
}

int TkBitmapButton::s_nDefaultMarginX = 5;
int TkBitmapButton::s_nDefaultMarginY = 5;

IMPLEMENT_DYNCREATE(TkBitmapButton, TkOwnerDrawButton)

BEGIN_MESSAGE_MAP(TkBitmapButton, TkOwnerDrawButton)
    ON_WM_SIZE()
    ON_WM_SYSCOLORCHANGE()
END_MESSAGE_MAP()

TkBitmapButton::TkBitmapButton()
    : m_lpszBitmapName(NULL), m_nMarginX(s_nDefaultMarginX), m_nMarginY(s_nDefaultMarginY),
      m_nImagePosition(kImageLeft)
{
}

BOOL TkBitmapButton::LoadBitmap(int imagePosition, LPCSTR bitmapName)
{
    m_nImagePosition = imagePosition;
    m_lpszBitmapName = bitmapName;
    HBITMAP bitmap = NULL;
    if (!TkLoadSysColorBitmap(&bitmap, AfxGetResourceHandle(), bitmapName))
        return FALSE;
    m_bitmap.DeleteObject();
    m_bitmap.Attach(bitmap);
    return TRUE;
}

BOOL TkBitmapButton::Create(LPCSTR text, DWORD style, int imagePosition, LPCSTR bitmapName,
                            const RECT& rect, CWnd* parent, UINT id, UINT flags)
{
    if (!LoadBitmap(imagePosition, bitmapName) ||
        !TkOwnerDrawButton::Create(text, style, rect, parent, id, flags))
        return FALSE;
    Layout();
    return TRUE;
}

BOOL TkBitmapButton::Attach(UINT id, int imagePosition, LPCSTR bitmapName, CWnd* parent,
                            UINT flags)
{
    if (!LoadBitmap(imagePosition, bitmapName) || !SubclassDlgItem(id, parent, flags))
        return FALSE;
    Layout();
    return TRUE;
}

void TkBitmapButton::Layout()
{
    if (!m_hWnd || !m_bitmap.GetSafeHandle())
        return;
    CRect client;
    GetClientRect(&client);
    const int width = client.Width() - kFrameReserve;
    const int height = client.Height() - kFrameReserve;
    BITMAP info = {};
    m_bitmap.GetBitmap(&info);
    const int cx = info.bmWidth;
    const int cy = info.bmHeight;
    const int centreX = (width - cx) / 2;
    const int centreY = (height - cy) / 2;
    const CRect area(0, 0, width, height);
    switch (m_nImagePosition)
    {
    case kImageLeft:
        m_rcImage.SetRect(m_nMarginX, centreY, m_nMarginX + cx, centreY + cy);
        m_rcText.SetRect(m_rcImage.right + 1, 0, width, height);
        break;
    case kImageRight:
        m_rcImage.SetRect(width - m_nMarginX - cx, centreY, width - m_nMarginX, centreY + cy);
        m_rcText.SetRect(0, 0, m_rcImage.left - 1, height);
        break;
    case kImageAbove:
        m_rcImage.SetRect(centreX, m_nMarginY, centreX + cx, m_nMarginY + cy);
        m_rcText.SetRect(0, m_rcImage.bottom + 1, width, height);
        break;
    case kImageBelow:
        m_rcImage.SetRect(centreX, height - m_nMarginY - cy, centreX + cx, height - m_nMarginY);
        m_rcText.SetRect(0, 0, width, m_rcImage.top - 1);
        break;
    default:
        m_rcImage.SetRect(centreX, centreY, centreX + cx, centreY + cy);
        m_rcText.SetRectEmpty();
        break;
    }
    m_rcImage.IntersectRect(&m_rcImage, &area);
    m_rcText.IntersectRect(&m_rcText, &area);
}

CFont* TkBitmapButton::TextFont() const
{
    CFont* font = GetFont();
    return font ? font : CFont::FromHandle((HFONT)::GetStockObject(DEFAULT_GUI_FONT));
}

void TkBitmapButton::DrawContent(CDC* dc, const CRect& content, UINT)
{
    if (!m_bitmap.GetSafeHandle())
        return;
    CRect image(m_rcImage);
    image.OffsetRect(content.TopLeft());
    CDC memDC;
    if (memDC.CreateCompatibleDC(dc))
    {
        CBitmap* old = memDC.SelectObject(&m_bitmap);
        dc->BitBlt(image.left, image.top, image.Width(), image.Height(), &memDC, 0, 0, SRCCOPY);
        memDC.SelectObject(old);
    }
    if (m_nImagePosition == kImageOnly)
        return;
    CString text;
    GetWindowText(text);
    CRect textRect(m_rcText);
    textRect.OffsetRect(content.TopLeft());
    CFont* oldFont = dc->SelectObject(TextFont());
    dc->SetBkColor(m_clrFace);
    dc->SetTextColor(RGB(0, 0, 0));
    dc->DrawText(text, text.GetLength(), &textRect, kTextFormat);
    dc->SelectObject(oldFont);
}

void TkBitmapButton::DrawFocus(CDC* dc, CRect item, UINT state)
{
    const CPoint origin = ContentRect(item, state).TopLeft();
    if (m_nImagePosition == kImageOnly)
    {
        CRect focus(m_rcImage);
        focus.OffsetRect(origin);
        focus.InflateRect(kFocusOutset, kFocusOutset);
        dc->DrawFocusRect(focus);
        return;
    }
    CString text;
    GetWindowText(text);
    CRect extent(m_rcText);
    CFont* oldFont = dc->SelectObject(TextFont());
    dc->DrawText(text, text.GetLength(), &extent, kTextFormat | DT_CALCRECT);
    dc->SelectObject(oldFont);
    CRect focus;
    focus.left = m_rcText.left + (m_rcText.Width() - extent.Width()) / 2 - 1;
    focus.top = m_rcText.top + (m_rcText.Height() - extent.Height()) / 2;
    focus.right = focus.left + extent.Width() + 2;
    focus.bottom = focus.top + extent.Height();
    focus.OffsetRect(origin);
    dc->DrawFocusRect(focus);
}

void TkBitmapButton::OnSize(UINT type, int cx, int cy)
{
    TkOwnerDrawButton::OnSize(type, cx, cy);
    Layout();
}

void TkBitmapButton::OnSysColorChange()
{
    LoadBitmap(m_nImagePosition, m_lpszBitmapName);
    TkOwnerDrawButton::OnSysColorChange();
}
