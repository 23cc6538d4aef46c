#include "toolkit/buttons/TkWellButton.h"

#include <afxdlgs.h>

namespace
{
// The arrow's left edge lies this far before the content's right edge.
const int kArrowInset = 7;
const int kArrowWidth = 5;
const int kArrowHeight = 3;
}

IMPLEMENT_DYNCREATE(TkWellButton, TkOwnerDrawButton)

BEGIN_MESSAGE_MAP(TkWellButton, TkOwnerDrawButton)
    ON_MESSAGE(WM_TKCOLORWELL_SELECT, OnWellSelect)
    ON_MESSAGE(WM_TKCOLORWELL_OTHER, OnWellOther)
END_MESSAGE_MAP()

TkWellButton::TkWellButton()
    : m_pPopup(new TkPopupColorWell), m_pOldPalette(NULL),
      m_bUsePalette(FALSE), m_bPopupOption(TRUE), m_nColorDialogFlags(CC_RGBINIT | CC_FULLOPEN)
{
    LOGPALETTE logPalette = {0x300, 1, {{0, 0, 0, 0}}};
    m_palette.CreatePalette(&logPalette);
}

void TkWellButton::SetColor(COLORREF color)
{
    PALETTEENTRY entry = {GetRValue(color), GetGValue(color), GetBValue(color), 0};
    m_palette.SetPaletteEntries(0, 1, &entry);
    if (m_hWnd)
        Invalidate(FALSE);
}

COLORREF TkWellButton::GetColor() const
{
    PALETTEENTRY entry = {};
    m_palette.GetPaletteEntries(0, 1, &entry);
    return RGB(entry.peRed, entry.peGreen, entry.peBlue);
}

TkPopupColorWell* TkWellButton::GetOpenPopup() const
{
    return m_pPopup->IsActive() ? m_pPopup.get() : NULL;
}

void TkWellButton::OnClicked()
{
    if (GetOpenPopup())
        return;
    CRect anchor;
    GetWindowRect(&anchor);
    if (!m_pPopup->TrackPopup(WS_VISIBLE, anchor, GetParent(), 0, this, m_bPopupOption))
        return;
    m_pPopup->SetColor(GetColor());
    m_pPopup->SetUsePalette(m_bUsePalette);
}

LRESULT TkWellButton::OnWellSelect(WPARAM, LPARAM color)
{
    ChooseColor((COLORREF)color);
    return 0;
}

LRESULT TkWellButton::OnWellOther(WPARAM, LPARAM)
{
    CColorDialog dialog(GetColor(), 0, this);
    dialog.m_cc.Flags |= m_nColorDialogFlags;
    if (dialog.DoModal() == IDOK)
        ChooseColor(dialog.GetColor());
    return 0;
}

void TkWellButton::ChooseColor(COLORREF color)
{
    SetColor(color);
    UpdateWindow();
    CWnd* parent = GetParent();
    if (parent)
        parent->SendMessage(WM_TKCOLORWELL_SELECT, GetDlgCtrlID(), (LPARAM)GetColor());
}

void TkWellButton::PrepareDC(CDC* dc)
{
    if (!m_bUsePalette)
        return;
    m_pOldPalette = dc->SelectPalette(&m_palette, FALSE);
    dc->RealizePalette();
}

void TkWellButton::RestoreDC(CDC* dc)
{
    if (!m_bUsePalette)
        return;
    dc->SelectPalette(m_pOldPalette, FALSE);
    m_pOldPalette = NULL;
}

void TkWellButton::DrawContent(CDC* dc, const CRect& content, UINT state)
{
    const int arrowLeft = content.right - kArrowInset;
    const int arrowTop = content.top + (content.Height() - kArrowHeight) / 2;
    const POINT arrow[] = {{arrowLeft, arrowTop},
                           {arrowLeft + kArrowWidth - 1, arrowTop},
                           {arrowLeft + kArrowWidth / 2, arrowTop + kArrowHeight - 1}};
    CGdiObject* oldPen = dc->SelectStockObject(BLACK_PEN);
    CGdiObject* oldBrush = dc->SelectStockObject(BLACK_BRUSH);
    dc->Polygon(arrow, 3);
    dc->SelectObject(oldBrush);
    dc->SelectObject(oldPen);

    const int lineTop = content.top + 2;
    const int lineHeight = content.Height() - 4;
    dc->FillSolidRect(arrowLeft - 3, lineTop, 1, lineHeight, m_clrShadow);
    dc->FillSolidRect(arrowLeft - 2, lineTop, 1, lineHeight, m_clrHilite);
    if (state & ODS_DISABLED)
        return;
    CRect swatch(content.left + 3, content.top + 2, arrowLeft - 3 - 6, content.bottom - 2);
    CBrush frame(RGB(0, 0, 0));
    dc->FrameRect(&swatch, &frame);
    swatch.DeflateRect(1, 1);
    CBrush fill(m_bUsePalette ? PALETTEINDEX(0) : GetColor());
    dc->FillRect(&swatch, &fill);
}

void TkWellButton::DrawFocus(CDC* dc, CRect item, UINT)
{
    item.DeflateRect(1, 1);
    dc->DrawFocusRect(&item);
}
