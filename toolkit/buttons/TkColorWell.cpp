#include "toolkit/buttons/TkColorWell.h"

#include <afxdlgs.h>

#include <vector>

namespace
{
const int kDefaultRows = 5;
const int kDefaultColumns = 4;
const int kCellDialogUnits = 10;
const int kCellGap = 2;
// The custom cell sits this much below its row.
const int kCustomDrop = 5;
// Below the extra row: room for the etched line and the custom cell's drop.
const int kCustomRowSpace = 6;

// The cell colours when the system's default palette gives none.
const COLORREF kBuiltInColors[] = {
    RGB(0, 0, 0),       RGB(128, 0, 0),     RGB(0, 128, 0),     RGB(128, 128, 0),
    RGB(0, 0, 128),     RGB(128, 0, 128),   RGB(0, 128, 128),   RGB(192, 192, 192),
    RGB(192, 220, 192), RGB(166, 202, 240), RGB(255, 251, 240), RGB(160, 160, 164),
    RGB(128, 128, 128), RGB(255, 0, 0),     RGB(0, 255, 0),     RGB(255, 255, 0),
    RGB(0, 0, 255),     RGB(255, 0, 255),   RGB(0, 255, 255),   RGB(255, 255, 255),
};
const int kBuiltInCount = sizeof(kBuiltInColors) / sizeof(kBuiltInColors[0]);
}

IMPLEMENT_DYNCREATE(TkColorWell, CWnd)

BEGIN_MESSAGE_MAP(TkColorWell, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_KEYDOWN()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    ON_WM_SYSCOLORCHANGE()
    ON_WM_CTLCOLOR()
    ON_MESSAGE(WM_GETDLGCODE, OnGetDlgCode)
    ON_COMMAND(ID_TKCOLORWELL_OTHER, OnOtherCommand)
END_MESSAGE_MAP()

TkColorWell::TkColorWell()
    : m_nRows(kDefaultRows), m_nColumns(kDefaultColumns), m_nCustomColumn(0), m_nCustomRow(0),
      m_nCellHeight(0), m_nCellWidth(0), m_nMarginX(0), m_nMarginY(0), m_nExtraRowHeight(0),
      m_nSelRow(0), m_nSelColumn(0), m_nCustomIndex(0), m_bFocused(FALSE),
      m_bHoverTracking(FALSE), m_bCustomOption(FALSE), m_bCustomPresent(FALSE),
      m_bUsePalette(FALSE), m_nColorDialogFlags(CC_RGBINIT | CC_FULLOPEN),
      m_pCustomColors(NULL), m_bBorder(TRUE)
{
    RefreshColors();
}

void TkColorWell::RefreshColors()
{
    m_clr3DHilite = GetSysColor(COLOR_3DHIGHLIGHT);
    m_clr3DShadow = GetSysColor(COLOR_3DSHADOW);
    m_clr3DFace = GetSysColor(COLOR_3DFACE);
    m_clr3DDkShadow = GetSysColor(COLOR_3DDKSHADOW);
    m_clr3DLight = GetSysColor(COLOR_3DLIGHT);
    m_clrWindowFrame = GetSysColor(COLOR_WINDOWFRAME);
    m_faceBrush.DeleteObject();
    m_faceBrush.CreateSolidBrush(m_clr3DFace);
}

void TkColorWell::InitGrid()
{
    m_nRows = kDefaultRows;
    m_nColumns = kDefaultColumns;
}

void TkColorWell::InitColors(PALETTEENTRY*, int, int)
{
}

LPCSTR TkColorWell::GetClassName()
{
    return AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(NULL, IDC_ARROW));
}

BOOL TkColorWell::BuildPalette()
{
    const int cells = m_nRows * m_nColumns;
    std::vector<BYTE> buffer(sizeof(LOGPALETTE) + cells * sizeof(PALETTEENTRY));
    LOGPALETTE* logPalette = (LOGPALETTE*)buffer.data();
    logPalette->palVersion = 0x300;
    logPalette->palNumEntries = (WORD)(cells + 1);
    PALETTEENTRY* entries = logPalette->palPalEntry;
    int filled = (int)::GetPaletteEntries((HPALETTE)::GetStockObject(DEFAULT_PALETTE), 0,
                                          cells, entries);
    if (filled == 0)
    {
        for (; filled < cells && filled < kBuiltInCount; filled++)
        {
            const COLORREF color = kBuiltInColors[filled];
            entries[filled] = {GetRValue(color), GetGValue(color), GetBValue(color), 0};
        }
    }
    for (int i = filled; i <= cells; i++)
        entries[i] = {0, 0, 0, 0};
    InitColors(entries, cells, filled);
    m_palette.DeleteObject();
    return m_palette.CreatePalette(logPalette);
}

CSize TkColorWell::CalcSize(CWnd* parent, int& x, int& y, BOOL convert)
{
    CDialog* dialog =
        parent && parent->IsKindOf(RUNTIME_CLASS(CDialog)) ? (CDialog*)parent : NULL;
    if (dialog)
    {
        CRect cell(0, 0, kCellDialogUnits, kCellDialogUnits);
        dialog->MapDialogRect(&cell);
        m_nCellWidth = cell.Width();
        m_nCellHeight = cell.Height();
        if (convert)
        {
            CRect origin(x, y, x, y);
            dialog->MapDialogRect(&origin);
            x = origin.left;
            y = origin.top;
        }
    }
    else
    {
        const LONG units = GetDialogBaseUnits();
        m_nCellWidth = LOWORD(units) * kCellDialogUnits / 4;
        m_nCellHeight = HIWORD(units) * kCellDialogUnits / 8;
        if (convert)
        {
            x = x * LOWORD(units) / 4;
            y = y * HIWORD(units) / 8;
        }
    }
    m_nExtraRowHeight = m_nCellHeight + kCellGap;
    CSize size(m_nColumns * (m_nCellWidth + kCellGap) + 2 * m_nMarginX - kCellGap,
               m_nRows * (m_nCellHeight + kCellGap) + 2 * m_nMarginY - kCellGap);
    if (m_bCustomOption)
        size.cy += m_nExtraRowHeight + kCustomRowSpace;
    return size;
}

BOOL TkColorWell::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id,
                         BOOL customOption)
{
    InitLayout(style, customOption);
    int x = rect.left, y = rect.top;
    const CSize size = CalcSize(parent, x, y, FALSE);
    return CreateWell(style | WS_CHILD | WS_CLIPCHILDREN, x, y, size, parent, id);
}

void TkColorWell::InitLayout(DWORD style, BOOL customOption)
{
    InitGrid();
    m_bCustomOption = customOption;
    m_bCustomPresent = FALSE;
    m_nCustomColumn = m_nColumns - 1;
    m_nCustomRow = m_nRows;
    m_nCustomIndex = m_nRows * m_nColumns;
    m_nSelColumn = m_nSelRow = 0;
    // A popup is made again each time it opens; the button of the last one went with it.
    m_pOtherButton.reset();
    const int margin = (style & TKCWS_WIDEMARGIN) ? 4 : 2;
    m_nMarginX = m_nMarginY = margin + (m_bBorder ? 1 : 0);
}

BOOL TkColorWell::CreateWell(DWORD style, int x, int y, const CSize& size, CWnd* parent,
                             UINT id, DWORD exStyle)
{
    if (!BuildPalette())
        return FALSE;
    const BOOL child = (style & WS_CHILD) != 0;
    if (!CreateEx(exStyle, GetClassName(), "", style, x, y, size.cx, size.cy,
                  parent ? parent->GetSafeHwnd() : NULL,
                  child ? (HMENU)(UINT_PTR)id : NULL))
    {
        m_palette.DeleteObject();
        return FALSE;
    }
    if (m_bCustomOption)
        CreateOtherButton(parent);
    return m_hWnd != NULL;
}

void TkColorWell::CreateOtherButton(CWnd* parent)
{
    CString text;
    text.LoadString(ID_TKCOLORWELL_OTHER);
    CRect client;
    GetClientRect(&client);
    const CRect custom = CellRect(m_nCustomColumn, m_nCustomRow);
    const CRect place(m_nMarginX, custom.top, client.right - m_nMarginX, custom.bottom);
    m_pOtherButton.reset(new CButton);
    if (!m_pOtherButton->Create(text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, place,
                                this, ID_TKCOLORWELL_OTHER))
    {
        m_pOtherButton.reset();
        DestroyWindow();
        return;
    }
    if (parent && parent->GetFont())
        m_pOtherButton->SetFont(parent->GetFont());
}

CRect TkColorWell::CellRect(int column, int row) const
{
    CRect rect;
    rect.left = m_nMarginX + column * (m_nCellWidth + kCellGap);
    rect.top = m_nMarginY + row * (m_nCellHeight + kCellGap);
    if (IsCustomCell(column, row))
        rect.top += kCustomDrop;
    rect.right = rect.left + m_nCellWidth;
    rect.bottom = rect.top + m_nCellHeight;
    return rect;
}

BOOL TkColorWell::IsCustomCell(int column, int row) const
{
    return column == m_nCustomColumn && row == m_nCustomRow;
}

int TkColorWell::IndexOf(int column, int row) const
{
    return IsCustomCell(column, row) ? m_nCustomIndex : row * m_nColumns + column;
}

COLORREF TkColorWell::CellFill(int index) const
{
    if (m_bUsePalette)
        return PALETTEINDEX(index);
    PALETTEENTRY entry = {};
    m_palette.GetPaletteEntries(index, 1, &entry);
    return RGB(entry.peRed, entry.peGreen, entry.peBlue);
}

COLORREF TkColorWell::GetColor() const
{
    PALETTEENTRY entry = {};
    m_palette.GetPaletteEntries(IndexOf(m_nSelColumn, m_nSelRow), 1, &entry);
    return RGB(entry.peRed, entry.peGreen, entry.peBlue);
}

void TkColorWell::SetUsePalette(BOOL usePalette)
{
    m_bUsePalette = usePalette;
    if (m_hWnd)
        Invalidate(FALSE);
}

void TkColorWell::InvalidateCell(int column, int row)
{
    if (!m_hWnd)
        return;
    CRect rect = CellRect(column, row);
    rect.InflateRect(1, 1);
    InvalidateRect(&rect, FALSE);
}

void TkColorWell::SetColor(COLORREF color)
{
    color &= 0xFFFFFF;
    const int cells = m_nRows * m_nColumns;
    for (int index = 0; index < cells; index++)
    {
        PALETTEENTRY entry = {};
        m_palette.GetPaletteEntries(index, 1, &entry);
        if (RGB(entry.peRed, entry.peGreen, entry.peBlue) == color)
        {
            InvalidateCell(m_nSelColumn, m_nSelRow);
            m_nSelColumn = index % m_nColumns;
            m_nSelRow = index / m_nColumns;
            InvalidateCell(m_nSelColumn, m_nSelRow);
            return;
        }
    }
    if (!m_bCustomOption)
        return;
    PALETTEENTRY custom = {GetRValue(color), GetGValue(color), GetBValue(color), 0};
    m_palette.SetPaletteEntries(m_nCustomIndex, 1, &custom);
    if (!m_bCustomPresent && m_pOtherButton)
    {
        // Make room for the custom cell at the right end of the button's row.
        CRect place;
        m_pOtherButton->GetWindowRect(&place);
        ScreenToClient(&place);
        place.right -= kCellGap + m_nCellWidth;
        m_pOtherButton->MoveWindow(&place);
    }
    m_bCustomPresent = TRUE;
    InvalidateCell(m_nSelColumn, m_nSelRow);
    m_nSelColumn = m_nCustomColumn;
    m_nSelRow = m_nCustomRow;
    InvalidateCell(m_nSelColumn, m_nSelRow);
}

void TkColorWell::SelectCell(int column, int row, int how)
{
    if (!IsSelectable(column, row))
        return;
    InvalidateCell(m_nSelColumn, m_nSelRow);
    m_nSelColumn = column;
    m_nSelRow = row;
    InvalidateCell(m_nSelColumn, m_nSelRow);
    NotifySelection(how);
}

void TkColorWell::NotifySelection(int)
{
    CWnd* parent = GetParent();
    if (parent)
        parent->SendMessage(WM_TKCOLORWELL_SELECT, GetDlgCtrlID(), (LPARAM)GetColor());
}

BOOL TkColorWell::IsSelectable(int column, int row) const
{
    if (IsCustomCell(column, row))
        return HasCustomColor();
    return column >= 0 && column < m_nColumns && row >= 0 && row < m_nRows;
}

BOOL TkColorWell::HitTest(CPoint point, int& column, int& row) const
{
    for (int c = 0; c < m_nColumns; c++)
    {
        for (int r = 0; r < m_nRows; r++)
        {
            if (CellRect(c, r).PtInRect(point))
            {
                column = c;
                row = r;
                return TRUE;
            }
        }
    }
    if (HasCustomColor() && CellRect(m_nCustomColumn, m_nCustomRow).PtInRect(point))
    {
        column = m_nCustomColumn;
        row = m_nCustomRow;
        return TRUE;
    }
    return FALSE;
}

void TkColorWell::DrawCell(CDC* dc, int column, int row)
{
    CRect rect = CellRect(column, row);
    const COLORREF fill = CellFill(IndexOf(column, row));
    if (column == m_nSelColumn && row == m_nSelRow)
    {
        rect.InflateRect(1, 1);
        const int frames[] = {BLACK_BRUSH, WHITE_BRUSH, BLACK_BRUSH};
        for (int brush : frames)
        {
            dc->FrameRect(&rect, CBrush::FromHandle((HBRUSH)::GetStockObject(brush)));
            rect.DeflateRect(1, 1);
        }
    }
    else
    {
        dc->Draw3dRect(rect, m_clr3DShadow, m_clr3DHilite);
        rect.DeflateRect(1, 1);
        dc->Draw3dRect(rect, m_clr3DDkShadow, m_clr3DLight);
        rect.DeflateRect(1, 1);
    }
    CBrush brush(fill);
    dc->FillRect(&rect, &brush);
}

void TkColorWell::Paint(CDC* dc, const CRect& clip)
{
    CRect client;
    GetClientRect(&client);
    dc->FillSolidRect(client, m_clr3DFace);
    if (m_bBorder)
    {
        if (m_bFocused)
        {
            CBrush frame(m_clrWindowFrame);
            dc->FrameRect(&client, &frame);
        }
        client.DeflateRect(1, 1);
    }
    if (GetStyle() & TKCWS_WIDEMARGIN)
    {
        dc->Draw3dRect(client, m_clr3DLight, m_clr3DDkShadow);
        client.DeflateRect(1, 1);
        dc->Draw3dRect(client, m_clr3DHilite, m_clr3DShadow);
    }
    for (int c = 0; c < m_nColumns; c++)
    {
        for (int r = 0; r < m_nRows; r++)
        {
            CRect cell = CellRect(c, r);
            cell.InflateRect(1, 1);
            if (CRect().IntersectRect(&cell, &clip))
                DrawCell(dc, c, r);
        }
    }
    if (!m_bCustomOption)
        return;
    GetClientRect(&client);
    const CRect line(m_nMarginX, m_nMarginY + m_nRows * (m_nCellHeight + kCellGap),
                     client.right - m_nMarginX,
                     m_nMarginY + m_nRows * (m_nCellHeight + kCellGap) + 2);
    dc->Draw3dRect(line, m_clr3DShadow, RGB(255, 255, 255));
    if (m_bCustomPresent)
        DrawCell(dc, m_nCustomColumn, m_nCustomRow);
}

void TkColorWell::OnPaint()
{
    CPaintDC paintDC(this);
    CRect client;
    GetClientRect(&client);
    CRect clip;
    paintDC.GetClipBox(&clip);
    CDC memDC;
    CBitmap bitmap;
    if (!memDC.CreateCompatibleDC(&paintDC) ||
        !bitmap.CreateCompatibleBitmap(&paintDC, client.Width(), client.Height()))
        return;
    CBitmap* oldBitmap = memDC.SelectObject(&bitmap);
    CPalette* oldPalette = NULL;
    CPalette* oldScreenPalette = NULL;
    if (m_bUsePalette)
    {
        oldScreenPalette = paintDC.SelectPalette(&m_palette, FALSE);
        paintDC.RealizePalette();
        oldPalette = memDC.SelectPalette(&m_palette, FALSE);
        memDC.RealizePalette();
    }
    Paint(&memDC, clip);
    paintDC.BitBlt(0, 0, client.Width(), client.Height(), &memDC, 0, 0, SRCCOPY);
    if (m_bUsePalette)
    {
        memDC.SelectPalette(oldPalette, FALSE);
        paintDC.SelectPalette(oldScreenPalette, FALSE);
    }
    memDC.SelectObject(oldBitmap);
}

BOOL TkColorWell::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

LRESULT TkColorWell::OnGetDlgCode(WPARAM, LPARAM)
{
    return DLGC_WANTARROWS;
}

// Arrows walk the grid row by row and wrap; the custom cell, when it shows a
// colour, sits after the last cell and below the last column.
void TkColorWell::MoveSelection(UINT key)
{
    const int lastColumn = m_nColumns - 1;
    const int lastRow = m_nRows - 1;
    const BOOL custom = HasCustomColor();
    const BOOL onCustom = IsCustomCell(m_nSelColumn, m_nSelRow);
    int c = m_nSelColumn;
    int r = m_nSelRow;
    switch (key)
    {
    case VK_LEFT:
        if (onCustom)
            c = lastColumn, r = lastRow;
        else if (c > 0)
            c--;
        else if (r > 0)
            c = lastColumn, r--;
        else if (custom)
            c = m_nCustomColumn, r = m_nCustomRow;
        else
            c = lastColumn, r = lastRow;
        break;
    case VK_RIGHT:
        if (onCustom)
            c = 0, r = 0;
        else if (c < lastColumn)
            c++;
        else if (r < lastRow)
            c = 0, r++;
        else if (custom)
            c = m_nCustomColumn, r = m_nCustomRow;
        else
            c = 0, r = 0;
        break;
    case VK_UP:
        if (r > 0)
            r--;
        else if (custom && c == m_nCustomColumn)
            r = m_nCustomRow;
        else
            r = lastRow;
        break;
    case VK_DOWN:
        if (r < lastRow)
            r++;
        else if (!onCustom && custom && c == m_nCustomColumn)
            r = m_nCustomRow;
        else
            r = 0;
        break;
    default:
        return;
    }
    SelectCell(c, r, kByKey);
}

void TkColorWell::OnKeyDown(UINT key, UINT, UINT)
{
    if (key == VK_TAB && GetKeyState(VK_SHIFT) < 0)
    {
        CWnd* parent = GetParent();
        CWnd* previous = parent ? parent->GetNextDlgTabItem(this, TRUE) : NULL;
        if (previous)
            previous->SetFocus();
        return;
    }
    if (key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN)
    {
        MoveSelection(key);
        return;
    }
    Default();
}

void TkColorWell::OnLButtonDown(UINT, CPoint point)
{
    SetFocus();
    int column, row;
    if (HitTest(point, column, row))
        SelectCell(column, row, kByChoice);
}

void TkColorWell::OnMouseMove(UINT, CPoint point)
{
    int column, row;
    if (m_bHoverTracking && HitTest(point, column, row) &&
        (column != m_nSelColumn || row != m_nSelRow))
        SelectCell(column, row, kByHover);
}

void TkColorWell::OnSetFocus(CWnd* oldWnd)
{
    m_bFocused = TRUE;
    Invalidate(FALSE);
    const BOOL fromOutside = !oldWnd || !IsChild(oldWnd);
    if (m_pOtherButton && fromOutside && GetKeyState(VK_SHIFT) < 0)
        m_pOtherButton->SetFocus();
}

void TkColorWell::OnKillFocus(CWnd*)
{
    m_bFocused = FALSE;
    Invalidate(FALSE);
}

void TkColorWell::OnSysColorChange()
{
    RefreshColors();
    Invalidate(FALSE);
}

HBRUSH TkColorWell::OnCtlColor(CDC* dc, CWnd*, UINT ctlColor)
{
    if (ctlColor != CTLCOLOR_BTN)
        return (HBRUSH)Default();
    dc->SetBkColor(m_clr3DFace);
    return (HBRUSH)m_faceBrush.GetSafeHandle();
}

void TkColorWell::OnOtherCommand()
{
    OnOther();
}

void TkColorWell::OnOther()
{
    CColorDialog dialog(GetColor(), 0, this);
    dialog.m_cc.Flags |= m_nColorDialogFlags;
    if (m_pCustomColors)
        dialog.m_cc.lpCustColors = m_pCustomColors;
    if (dialog.DoModal() != IDOK)
        return;
    SetColor(dialog.GetColor());
    NotifySelection(kByChoice);
}

void DDX_TkColorWell(CDataExchange* pDX, TkColorWell& well, COLORREF& color)
{
    if (pDX->m_bSaveAndValidate)
        color = well.GetColor();
    else
        well.SetColor(color);
}
