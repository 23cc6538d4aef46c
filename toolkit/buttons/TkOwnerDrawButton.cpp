#include "toolkit/buttons/TkOwnerDrawButton.h"

namespace
{
// Leaves the destination where the mask is white and paints the brush where it
// is black: the embossing step of the disabled look.
const DWORD kRopMaskedBrush = 0xB8074A;
}

IMPLEMENT_DYNCREATE(TkOwnerDrawButton, CButton)

BEGIN_MESSAGE_MAP(TkOwnerDrawButton, CButton)
    ON_MESSAGE(WM_GETDLGCODE, OnGetDlgCode)
    ON_WM_KEYUP()
    ON_WM_LBUTTONUP()
    ON_WM_SYSCOLORCHANGE()
END_MESSAGE_MAP()

TkOwnerDrawButton::TkOwnerDrawButton()
    : m_bNewLook(LOBYTE(LOWORD(GetVersion())) >= 4), m_nFlags(0)
{
    RefreshColors();
}

void TkOwnerDrawButton::RefreshColors()
{
    m_clrShadow = GetSysColor(COLOR_3DSHADOW);
    m_clrHilite = GetSysColor(COLOR_3DHIGHLIGHT);
    m_clrFace = GetSysColor(COLOR_3DFACE);
    m_clrWindowFrame = GetSysColor(COLOR_WINDOWFRAME);
}

BOOL TkOwnerDrawButton::Create(LPCSTR text, DWORD style, const RECT& rect, CWnd* parent,
                               UINT id, UINT flags)
{
    m_nFlags = flags;
    return CButton::Create(text, (style & ~BS_TYPEMASK) | BS_OWNERDRAW, rect, parent, id);
}

BOOL TkOwnerDrawButton::SubclassDlgItem(UINT id, CWnd* parent, UINT flags)
{
    m_nFlags = flags;
    if (!CButton::SubclassDlgItem(id, parent))
        return FALSE;
    CButton::SetButtonStyle(GetButtonStyle() | BS_OWNERDRAW, FALSE);
    return TRUE;
}

void TkOwnerDrawButton::SetButtonStyle(UINT style, BOOL redraw)
{
    const UINT newStyle = (style & ~BS_TYPEMASK) | BS_OWNERDRAW;
    const UINT oldStyle = (UINT)GetStyle() & 0xFFFF;
    CButton::SetButtonStyle(newStyle, FALSE);
    if (redraw && newStyle != oldStyle)
        Invalidate();
}

void TkOwnerDrawButton::DrawItem(LPDRAWITEMSTRUCT drawItem)
{
    CDC* dc = CDC::FromHandle(drawItem->hDC);
    const CRect item(drawItem->rcItem);
    const UINT state = drawItem->itemState;
    if (drawItem->itemAction & (ODA_DRAWENTIRE | ODA_SELECT))
    {
        CDC memDC;
        CBitmap bitmap;
        CDC* target = dc;
        CBitmap* oldBitmap = NULL;
        if (memDC.CreateCompatibleDC(dc) &&
            bitmap.CreateCompatibleBitmap(dc, item.right, item.bottom))
        {
            oldBitmap = memDC.SelectObject(&bitmap);
            target = &memDC;
        }
        PrepareDC(target);
        const CRect content = DrawFrame(target, item, state);
        DrawContent(target, content, state);
        if (state & ODS_DISABLED)
            DrawDisabled(target, content);
        RestoreDC(target);
        if (target == &memDC)
        {
            dc->BitBlt(item.left, item.top, item.Width(), item.Height(), &memDC, item.left,
                       item.top, SRCCOPY);
            memDC.SelectObject(oldBitmap);
        }
    }
    if ((state & ODS_FOCUS) || drawItem->itemAction == ODA_FOCUS)
        DrawFocus(dc, item, state);
}

void TkOwnerDrawButton::PrepareDC(CDC*)
{
}

void TkOwnerDrawButton::RestoreDC(CDC*)
{
}

void TkOwnerDrawButton::DrawContent(CDC*, const CRect&, UINT)
{
}

void TkOwnerDrawButton::OnClicked()
{
}

void TkOwnerDrawButton::DrawCornerlessOutline(CDC* dc, const CRect& rect)
{
    dc->FillSolidRect(rect.left + 1, rect.top, rect.Width() - 2, 1, m_clrWindowFrame);
    dc->FillSolidRect(rect.left + 1, rect.bottom - 1, rect.Width() - 2, 1, m_clrWindowFrame);
    dc->FillSolidRect(rect.left, rect.top + 1, 1, rect.Height() - 2, m_clrWindowFrame);
    dc->FillSolidRect(rect.right - 1, rect.top + 1, 1, rect.Height() - 2, m_clrWindowFrame);
}

CRect TkOwnerDrawButton::DrawFrame(CDC* dc, CRect rect, UINT state)
{
    const CRect item(rect);
    dc->FillSolidRect(rect, m_clrFace);
    const BOOL pushed = (state & ODS_SELECTED) != 0;
    const COLORREF topLeft = pushed ? m_clrShadow : m_clrHilite;
    const COLORREF bottomRight = pushed ? m_clrHilite : m_clrShadow;
    if (m_bNewLook)
    {
        dc->Draw3dRect(rect, pushed ? m_clrWindowFrame : m_clrHilite,
                       pushed ? m_clrHilite : m_clrWindowFrame);
        rect.DeflateRect(1, 1);
        dc->Draw3dRect(rect, pushed ? m_clrShadow : m_clrFace,
                       pushed ? m_clrFace : m_clrShadow);
    }
    else
    {
        DrawCornerlessOutline(dc, rect);
        rect.DeflateRect(1, 1);
        dc->Draw3dRect(rect, topLeft, bottomRight);
        rect.DeflateRect(1, 1);
        dc->Draw3dRect(rect, topLeft, bottomRight);
    }
    return ContentRect(item, state);
}

CRect TkOwnerDrawButton::ContentRect(CRect item, UINT state) const
{
    const int frame = m_bNewLook ? 1 : 2;
    item.DeflateRect(frame, frame);
    if (state & ODS_SELECTED)
        item.OffsetRect(1, 1);
    else
    {
        item.right--;
        item.bottom--;
    }
    return item;
}

void TkOwnerDrawButton::DrawDisabled(CDC* dc, const CRect& content)
{
    const int width = content.Width();
    const int height = content.Height();
    CDC monoDC;
    CBitmap mask;
    if (width <= 0 || height <= 0 || !monoDC.CreateCompatibleDC(dc) ||
        !mask.CreateBitmap(width, height, 1, 1, NULL))
        return;
    CBitmap* oldMask = monoDC.SelectObject(&mask);
    // White where the face is plain (face or highlight colour), black where it shows something.
    monoDC.PatBlt(0, 0, width, height, WHITENESS);
    const COLORREF oldBk = dc->SetBkColor(m_clrFace);
    monoDC.BitBlt(0, 0, width - 1, height - 1, dc, content.left + 1, content.top + 1, SRCCOPY);
    dc->SetBkColor(m_clrHilite);
    monoDC.BitBlt(0, 0, width - 1, height - 1, dc, content.left + 1, content.top + 1, SRCPAINT);

    dc->FillSolidRect(content, m_clrFace);
    dc->SetBkColor(RGB(255, 255, 255));
    const COLORREF oldText = dc->SetTextColor(RGB(0, 0, 0));
    CBrush highlight(m_clrHilite);
    CBrush shadow(m_clrShadow);
    CBrush* oldBrush = dc->SelectObject(&highlight);
    dc->BitBlt(content.left + 2, content.top + 2, width - 2, height - 2, &monoDC, 0, 0,
               kRopMaskedBrush);
    dc->SelectObject(&shadow);
    dc->BitBlt(content.left + 1, content.top + 1, width - 1, height - 1, &monoDC, 0, 0,
               kRopMaskedBrush);
    dc->SelectObject(oldBrush);
    dc->SetTextColor(oldText);
    dc->SetBkColor(oldBk);
    monoDC.SelectObject(oldMask);
}

void TkOwnerDrawButton::DrawFocus(CDC* dc, CRect item, UINT state)
{
    CRect focus = ContentRect(item, state);
    focus.DeflateRect(1, 1);
    dc->DrawFocusRect(focus);
}

LRESULT TkOwnerDrawButton::OnGetDlgCode(WPARAM, LPARAM)
{
    LRESULT code = DLGC_BUTTON;
    if ((m_nFlags & kDefaultButton) && ::GetFocus() == m_hWnd)
        code |= DLGC_DEFPUSHBUTTON;
    return code;
}

BOOL TkOwnerDrawButton::IsPushedWithCapture() const
{
    return (GetState() & BST_PUSHED) && ::GetCapture() == m_hWnd;
}

// Default processing releases the button, so the pushed state is read first.
void TkOwnerDrawButton::OnKeyUp(UINT key, UINT, UINT)
{
    const BOOL click = key == VK_SPACE && IsPushedWithCapture();
    Default();
    if (click)
        OnClicked();
}

void TkOwnerDrawButton::OnLButtonUp(UINT, CPoint point)
{
    CRect client;
    GetClientRect(&client);
    const BOOL click = client.PtInRect(point) && IsPushedWithCapture();
    Default();
    if (click)
        OnClicked();
}

void TkOwnerDrawButton::OnSysColorChange()
{
    RefreshColors();
    Invalidate();
}
