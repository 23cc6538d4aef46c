// Row and cell drawing of CLxListCtrl, the empty text and the background picture.
#include "listctrl/LxListCtrl.h"

#include <vector>

#include <afxwin.h>

#include <stdlib.h>

namespace
{
const UINT kTextFlags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_NOCLIP;
// Cells other than column 0 keep this far from their edges.
const int kCellInset = 6;
const int kImageWidth = 16;
// The open/close box of a category row and where its text starts.
const int kBoxSize = 12;
const int kBoxLeft = 3;
const int kCategoryTextLeft = 20;
const COLORREF kLightGrey = RGB(0xC0, 0xC0, 0xC0);
const COLORREF kDarkGrey = RGB(0x80, 0x80, 0x80);

UINT AlignmentFlags(int format)
{
    switch (format & LVCFMT_JUSTIFYMASK)
    {
    case LVCFMT_RIGHT:
        return DT_RIGHT;
    case LVCFMT_CENTER:
        return DT_CENTER;
    default:
        return DT_LEFT;
    }
}

// A brush of alternate pixels, for the focus frame.
HBRUSH CreateHalftoneBrush()
{
    static const WORD kPattern[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
    HBITMAP bitmap = ::CreateBitmap(8, 8, 1, 1, kPattern);
    HBRUSH brush = ::CreatePatternBrush(bitmap);
    ::DeleteObject(bitmap);
    return brush;
}

// A 12 x 12 box raised like a button, with a minus, or a plus while closed.
void DrawCategoryBox(CDC& dc, const CRect& box, bool open)
{
    int x = box.left, y = box.top;
    dc.FillSolidRect(x, y, kBoxSize, kBoxSize, RGB(0, 0, 0));
    dc.FillSolidRect(x, y, kBoxSize - 1, kBoxSize - 1, RGB(255, 255, 255));
    dc.FillSolidRect(x + 1, y + 1, kBoxSize - 2, kBoxSize - 2, kDarkGrey);
    dc.FillSolidRect(x + 1, y + 1, kBoxSize - 3, kBoxSize - 3, kLightGrey);
    dc.FillSolidRect(x + 3, y + 5, 6, 2, RGB(0, 0, 0));
    if (!open)
        dc.FillSolidRect(x + 5, y + 3, 2, 6, RGB(0, 0, 0));
}
}

// Draws one row of a list into the DC of its DRAWITEMSTRUCT.
class CLxRowPainter
{
public:
    CLxRowPainter(CLxListCtrl& list, const DRAWITEMSTRUCT& drawItem, bool categoryView);
    void Paint();

private:
    void PaintItemRow();
    void PaintCategoryRow(const LxCategory& category);
    void SelectLook(const LxCellLook& look);
    COLORREF CellBackground(const LxCellLook& look) const;
    COLORREF CellText(const LxCellLook& look, bool focusedCell) const;
    bool IsFocusedCell(int column) const;
    void PaintBackground();
    void TileBackground();
    void PaintImages();
    void PaintFirstCell();
    void PaintCell(int column, const CRect& span);
    void PaintCellContent(int column, const CString& text, const CRect& rect, UINT flags,
                          bool centreImage);
    void PaintRowEnd();
    UINT ImageStyle() const;

    CLxListCtrl& m_list;
    const DRAWITEMSTRUCT& m_drawItem;
    CDC m_dc;
    int m_row;
    LVITEMA m_item;
    DWORD_PTR m_itemData;
    bool m_selected;
    CRect m_rowRect;
    CRect m_labelRect;
    COLORREF m_rowText;
    // With "ask the row only", column 0's answer holds for every cell.
    LxCellLook m_rowLook;
};

CLxRowPainter::CLxRowPainter(CLxListCtrl& list, const DRAWITEMSTRUCT& drawItem,
                             bool categoryView)
    : m_list(list), m_drawItem(drawItem), m_row((int)drawItem.itemID), m_item()
{
    m_item.mask = LVIF_IMAGE | LVIF_STATE | LVIF_PARAM;
    m_item.iItem = m_row;
    m_item.stateMask = 0xFFFF;
    list.GetItem(&m_item);
    m_itemData = (DWORD_PTR)m_item.lParam;
    bool showSelection = ::GetFocus() == list.m_hWnd || (list.GetStyle() & LVS_SHOWSELALWAYS);
    m_selected = (m_item.state & LVIS_DROPHILITED) ||
                 ((m_item.state & LVIS_SELECTED) && showSelection);
    list.GetItemRect(m_row, &m_rowRect, LVIR_BOUNDS);
    if (list.m_style & kLxStyleFullRow)
        m_rowRect.right = std::max<LONG>(m_rowRect.right, list.m_clientWidth);
    list.GetItemRect(m_row, &m_labelRect, LVIR_LABEL);
    COLORREF plainText = categoryView ? ::GetSysColor(COLOR_BTNTEXT) : list.m_textColor;
    m_rowText = m_selected ? ::GetSysColor(COLOR_HIGHLIGHTTEXT) : plainText;
}

void CLxRowPainter::Paint()
{
    m_dc.Attach(m_drawItem.hDC);
    int saved = m_dc.SaveDC();
    m_dc.SelectObject(m_list.m_pGridPen);
    m_dc.SetBkMode(TRANSPARENT);
    CLxCategoryManager* manager = m_list.m_pCategoryManager;
    int category = manager ? manager->IndexOfCategory((const void*)m_itemData) : -1;
    if (category >= 0)
        PaintCategoryRow(*manager->GetCategory(category));
    else
        PaintItemRow();
    m_dc.RestoreDC(saved);
    m_dc.Detach();
}

// Only the box, the category's text and a line below: no cells.
void CLxRowPainter::PaintCategoryRow(const LxCategory& category)
{
    m_dc.FillSolidRect(&m_rowRect, m_list.m_categoryBkColor);
    CRect box(CPoint(m_rowRect.left + kBoxLeft,
                     m_rowRect.top + (m_rowRect.Height() - kBoxSize) / 2),
              CSize(kBoxSize, kBoxSize));
    DrawCategoryBox(m_dc, box, category.expanded);
    m_dc.SelectObject(m_list.m_pDarkPen);
    m_dc.MoveTo(box.right, m_rowRect.bottom - 1);
    m_dc.LineTo(m_rowRect.right, m_rowRect.bottom - 1);
    CRect text = m_rowRect;
    text.left += kCategoryTextLeft;
    m_dc.SelectObject(&m_list.m_fonts[CLxListCtrl::kFontNormal]);
    m_dc.SetTextColor(m_rowText);
    m_dc.DrawText(m_list.GetItemText(m_row, 0), &text, kTextFlags);
}

void CLxRowPainter::PaintItemRow()
{
    if (m_list.m_background)
        TileBackground();
    m_rowLook = m_list.AskCell(m_row, 0, m_itemData);
    PaintBackground();
    PaintImages();
    PaintFirstCell();
    int columns = m_list.GetColumnCount();
    CRect span(m_rowRect.left, m_rowRect.top, m_rowRect.left + m_list.GetColumnWidth(0),
               m_rowRect.bottom);
    for (int column = 1; column < columns; column++)
    {
        span.left = span.right;
        span.right = span.left + m_list.GetColumnWidth(column);
        if (span.left >= m_rowRect.right)
            break;
        if (m_dc.RectVisible(&span))
            PaintCell(column, span);
    }
    PaintRowEnd();
}

void CLxRowPainter::SelectLook(const LxCellLook& look)
{
    m_dc.SelectObject(CLxListCtrl::FontOf(look, m_list.m_fonts));
}

COLORREF CLxRowPainter::CellBackground(const LxCellLook& look) const
{
    return look.answer & kLxAnswerBkColor ? look.background : m_list.m_textBkColor;
}

COLORREF CLxRowPainter::CellText(const LxCellLook& look, bool focusedCell) const
{
    if (look.answer & kLxAnswerTextColor)
        return look.text;
    return focusedCell ? ::GetSysColor(COLOR_BTNTEXT) : m_rowText;
}

bool CLxRowPainter::IsFocusedCell(int column) const
{
    return (m_list.m_style & kLxStyleFocusCell) && m_list.m_focusedColumn == column &&
           (m_item.state & LVIS_FOCUSED);
}

UINT CLxRowPainter::ImageStyle() const
{
    if (m_item.state & LVIS_CUT || m_selected)
        return ILD_TRANSPARENT | ILD_BLEND50;
    return ILD_TRANSPARENT;
}

// Tiles the picture from row 0's corner, so that the pattern scrolls with the rows.
void CLxRowPainter::TileBackground()
{
    CRect clip = m_rowRect;
    if (m_row == m_list.GetItemCount() - 1)
    {
        CRect client;
        m_list.GetClientRect(&client);
        clip.bottom = std::max(clip.bottom, client.bottom);
    }
    CRect origin;
    m_list.GetItemRect(0, &origin, LVIR_BOUNDS);
    SIZE tile = m_list.m_backgroundSize;
    if (tile.cx <= 0 || tile.cy <= 0)
        return;
    CDC source;
    source.CreateCompatibleDC(&m_dc);
    HGDIOBJ old = ::SelectObject(source.m_hDC, m_list.m_background);
    int saved = m_dc.SaveDC();
    m_dc.IntersectClipRect(&clip);
    int startX = origin.left - ((origin.left - clip.left) / tile.cx + 1) * tile.cx;
    int startY = origin.top - ((origin.top - clip.top) / tile.cy + 1) * tile.cy;
    while (startX + tile.cx <= clip.left)
        startX += tile.cx;
    while (startY + tile.cy <= clip.top)
        startY += tile.cy;
    for (int y = startY; y < clip.bottom; y += tile.cy)
    {
        for (int x = startX; x < clip.right; x += tile.cx)
            m_dc.BitBlt(x, y, tile.cx, tile.cy, &source, 0, 0, SRCCOPY);
    }
    m_dc.RestoreDC(saved);
    ::SelectObject(source.m_hDC, old);
}

void CLxRowPainter::PaintBackground()
{
    if (m_selected)
    {
        if (m_list.m_background && m_list.m_blendSelection)
        {
            // The picture blended with the selection colour.
            m_list.m_backgroundList.SetBkColor(CLR_NONE);
            ImageList_DrawEx(m_list.m_backgroundList, 0, m_dc, m_rowRect.left, m_rowRect.top,
                             m_rowRect.Width(), m_rowRect.Height(), CLR_NONE,
                             m_list.m_selectionColor, ILD_BLEND25);
        }
        else
            m_dc.FillSolidRect(&m_rowRect, m_list.m_selectionColor);
    }
    else if (!m_list.m_background)
        m_dc.FillSolidRect(&m_rowRect, CellBackground(m_rowLook));
}

void CLxRowPainter::PaintImages()
{
    HIMAGELIST state = (HIMAGELIST)m_list.SendMessage(LVM_GETIMAGELIST, LVSIL_STATE);
    int stateImage = (int)((m_item.state & LVIS_STATEIMAGEMASK) >> 12);
    if (state && stateImage > 0)
        ImageList_Draw(state, stateImage - 1, m_dc, m_rowRect.left, m_rowRect.top, ILD_TRANSPARENT);
    HIMAGELIST smallImages = (HIMAGELIST)m_list.SendMessage(LVM_GETIMAGELIST, LVSIL_SMALL);
    CRect icon;
    if (!smallImages || !m_list.GetItemRect(m_row, &icon, LVIR_ICON) ||
        icon.left >= m_labelRect.right - 1)
        return;
    COLORREF blend = m_item.state & LVIS_CUT ? m_list.m_bkColor : m_list.m_selectionColor;
    ImageList_DrawEx(smallImages, m_item.iImage, m_dc, icon.left, icon.top, kImageWidth,
                     icon.Height(), CLR_NONE, blend,
                     ImageStyle() | (m_item.state & LVIS_OVERLAYMASK));
}

void CLxRowPainter::PaintFirstCell()
{
    CRect text = m_labelRect;
    text.left += 2;
    text.right -= 2;
    bool focused = IsFocusedCell(0);
    if (focused && text.Width() > 4)
        m_dc.FillSolidRect(&text, CellBackground(m_rowLook));
    LVCOLUMNA column = {};
    column.mask = LVCF_FMT;
    m_list.GetColumn(0, &column);
    CString cell;
    m_list.GetCellText(m_row, 0, cell, &m_itemData);
    SelectLook(m_rowLook);
    m_dc.SetTextColor(CellText(m_rowLook, focused));
    CRect overlap;
    if (overlap.IntersectRect(&text, &m_rowRect))
        PaintCellContent(0, cell, text, kTextFlags | AlignmentFlags(column.fmt), false);
    if (m_list.m_style & kLxStyleVertGrid)
    {
        m_dc.MoveTo(m_labelRect.right - 1, m_rowRect.top);
        m_dc.LineTo(m_labelRect.right - 1, m_rowRect.bottom - 1);
    }
}

void CLxRowPainter::PaintCell(int column, const CRect& span)
{
    bool focused = IsFocusedCell(column);
    CString cell;
    m_list.GetCellText(m_row, column, cell, &m_itemData);
    bool rowOnly = (m_list.m_style & kLxStyleAskCells) && (m_list.m_style & kLxStyleAskRowOnly);
    LxCellLook look = rowOnly ? m_rowLook : m_list.AskCell(m_row, column, m_itemData);
    COLORREF background = CellBackground(look);
    CRect fill = span;
    fill.left++;
    if (focused)
        m_dc.FillSolidRect(&fill, background);
    else if (!m_selected && look.answer & kLxAnswerBkColor)
        m_dc.FillSolidRect(&fill, background);
    if (!cell.IsEmpty())
    {
        LVCOLUMNA info = {};
        info.mask = LVCF_FMT;
        m_list.GetColumn(column, &info);
        CRect text(span.left + kCellInset, span.top, span.right - kCellInset, span.bottom);
        SelectLook(look);
        m_dc.SetTextColor(CellText(look, focused));
        PaintCellContent(column, cell, text,
                         kTextFlags | DT_END_ELLIPSIS | AlignmentFlags(info.fmt), true);
    }
    if (m_list.m_style & kLxStyleVertGrid)
    {
        m_dc.MoveTo(span.right - 1, span.top);
        m_dc.LineTo(span.right - 1, span.bottom - 1);
    }
}

// An image cell shows the image its text numbers; other cells their text.
void CLxRowPainter::PaintCellContent(int column, const CString& text, const CRect& rect,
                                     UINT flags, bool centreImage)
{
    int id = m_list.GetColumnId(column);
    bool imageCell = (m_list.m_style & kLxStyleImageCells) && (m_list.m_imageMask & LxColumnBit(id));
    if (!imageCell)
    {
        CRect draw = rect;
        m_dc.DrawText(text, &draw, flags);
        return;
    }
    CImageList* images = m_list.m_pCellImageList;
    if (!images)
        return;
    int image = atoi(text);
    IMAGEINFO info = {};
    if (!images->GetImageInfo(image, &info))
        return;
    int width = info.rcImage.right - info.rcImage.left;
    int height = info.rcImage.bottom - info.rcImage.top;
    CPoint at(rect.left, rect.top + (rect.Height() - height) / 2);
    if (centreImage)
        at.x = rect.left + (rect.Width() - width) / 2;
    ImageList_DrawEx(*images, image, m_dc, at.x, at.y, centreImage ? width : kImageWidth, height,
                     CLR_NONE, m_list.m_selectionColor, ImageStyle());
}

void CLxRowPainter::PaintRowEnd()
{
    bool offered = false;
    if (m_list.m_style & kLxStyleOfferRows)
    {
        CLxListRequest request;
        request.m_code = kLxRequestDrawnRow;
        request.m_row = m_row;
        request.m_columnId = m_list.GetColumnId(0);
        request.m_itemData = m_itemData;
        request.m_rowRect = m_rowRect;
        request.m_pDC = &m_dc;
        offered = m_list.RequestData(request) != FALSE;
    }
    if (!offered && m_list.m_style & kLxStyleHorzGrid)
    {
        m_dc.SelectObject(m_list.m_pGridPen);
        m_dc.MoveTo(m_rowRect.left, m_rowRect.bottom - 1);
        m_dc.LineTo(m_rowRect.right - 1, m_rowRect.bottom - 1);
    }
    if (m_item.state & LVIS_FOCUSED)
    {
        CRect frame = m_rowRect;
        frame.bottom--;
        HBRUSH brush = CreateHalftoneBrush();
        ::FrameRect(m_dc, &frame, brush);
        ::DeleteObject(brush);
    }
}

void CLxListCtrl::DrawItem(LPDRAWITEMSTRUCT drawItem)
{
    if (drawItem->itemID == (UINT)-1)
        return;
    if (m_pCategoryManager)
    {
        DrawCategoryItem(drawItem);
        return;
    }
    CLxRowPainter(*this, *drawItem, false).Paint();
}

void CLxListCtrl::DrawCategoryItem(LPDRAWITEMSTRUCT drawItem)
{
    CLxRowPainter(*this, *drawItem, true).Paint();
}

void CLxListCtrl::OnPaint()
{
    int count = GetItemCount();
    if (count > 0 && (m_style & kLxStyleFullRow))
    {
        CRect row;
        GetItemRect(0, &row, LVIR_BOUNDS);
        CRect client;
        GetClientRect(&client);
        if (row.right < client.right)
        {
            CRect strip(row.right, client.top, client.right, client.bottom);
            InvalidateRect(&strip, FALSE);
        }
    }
    Default();
    if (count == 0)
        PaintEmptyText();
}

void CLxListCtrl::PaintEmptyText()
{
    CClientDC dc(this);
    CRect area;
    GetClientRect(&area);
    CRect header;
    if (m_header.m_hWnd)
        m_header.GetWindowRect(&header);
    area.top += header.Height() + 2;
    area.bottom += 20;
    dc.FillSolidRect(&area, m_textBkColor);
    CFont* old = dc.SelectObject(&m_fonts[kFontNormal]);
    dc.SetTextColor(::GetSysColor(COLOR_GRAYTEXT));
    dc.SetBkMode(TRANSPARENT);
    CRect text = area;
    dc.DrawText(m_emptyText, &text, DT_CALCRECT | DT_CENTER);
    CRect centred(area.left, area.top + (area.Height() - text.Height()) / 2, area.right,
                  area.top + (area.Height() + text.Height()) / 2);
    dc.DrawText(m_emptyText, &centred, DT_CENTER);
    dc.SelectObject(old);
}

BOOL CLxListCtrl::OnEraseBkgnd(CDC* dc)
{
    if (m_background)
        return TRUE;
    (void)dc;
    return (BOOL)Default();
}

BOOL CLxListCtrl::SetBackgroundImage(UINT resourceId)
{
    if (resourceId == (UINT)-1)
    {
        if (m_background)
            ::DeleteObject(m_background);
        m_background = NULL;
        m_backgroundList.DeleteImageList();
        m_palette.DeleteObject();
        if (m_hWnd)
            Invalidate();
        return TRUE;
    }
    return SetBackgroundImage(MAKEINTRESOURCEA(resourceId));
}

BOOL CLxListCtrl::SetBackgroundImage(const char* resourceName)
{
    if (m_background)
        ::DeleteObject(m_background);
    m_background = NULL;
    m_backgroundList.DeleteImageList();
    m_palette.DeleteObject();
    m_background = (HBITMAP)::LoadImageA(AfxGetResourceHandle(), resourceName, IMAGE_BITMAP, 0,
                                         0, LR_CREATEDIBSECTION);
    if (!m_background)
        return FALSE;
    BITMAP info = {};
    ::GetObjectA(m_background, sizeof(info), &info);
    m_backgroundSize.cx = info.bmWidth;
    m_backgroundSize.cy = info.bmHeight;
    m_backgroundList.Create(info.bmWidth, info.bmHeight, ILC_COLOR24, 1, 0);
    ImageList_Add(m_backgroundList, m_background, NULL);
    BuildBackgroundPalette(info.bmBitsPixel);
    if (m_hWnd)
        Invalidate();
    return TRUE;
}

// The picture's own colours for a picture of 256 colours or fewer, else the
// screen's halftone palette.
void CLxListCtrl::BuildBackgroundPalette(int bitsPerPixel)
{
    CClientDC screen(NULL);
    if (bitsPerPixel > 8)
    {
        m_palette.Attach(::CreateHalftonePalette(screen.GetSafeHdc()));
        return;
    }
    RGBQUAD table[256];
    CDC memory;
    memory.CreateCompatibleDC(&screen);
    HGDIOBJ old = ::SelectObject(memory.GetSafeHdc(), m_background);
    UINT count = ::GetDIBColorTable(memory.GetSafeHdc(), 0, 1u << bitsPerPixel, table);
    ::SelectObject(memory.GetSafeHdc(), old);
    if (count == 0)
        return;
    std::vector<BYTE> bytes(sizeof(LOGPALETTE) + count * sizeof(PALETTEENTRY));
    LOGPALETTE* palette = (LOGPALETTE*)bytes.data();
    palette->palVersion = 0x300;
    palette->palNumEntries = (WORD)count;
    for (UINT i = 0; i < count; i++)
        palette->palPalEntry[i] = PALETTEENTRY{ table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue, 0 };
    m_palette.CreatePalette(palette);
}

// Only a palette screen needs the picture's colours realised; the list is
// drawn again when any entry changed.
LRESULT CLxListCtrl::RealizeBackgroundPalette()
{
    CClientDC dc(this);
    if (!m_palette.GetSafeHandle() || !(dc.GetDeviceCaps(RASTERCAPS) & RC_PALETTE))
        return 0;
    CPalette* old = dc.SelectPalette(&m_palette, FALSE);
    UINT changed = dc.RealizePalette();
    dc.SelectPalette(old, TRUE);
    if (changed)
        Invalidate();
    return changed;
}

LRESULT CLxListCtrl::OnQueryNewPalette(WPARAM, LPARAM)
{
    return RealizeBackgroundPalette();
}

LRESULT CLxListCtrl::OnPaletteChanged(WPARAM changer, LPARAM)
{
    if ((HWND)changer == m_hWnd)
        return 0;
    RealizeBackgroundPalette();
    return 0;
}

CString CLxListCtrl::FitTextToWidth(CDC* dc, const CString& text, int width, int extra)
{
    if (dc->GetTextExtent(text).cx + extra <= width)
        return text;
    int ellipsis = dc->GetTextExtent("...", 3).cx;
    int length = text.GetLength();
    while (length > 1 && dc->GetTextExtent(text, length).cx + ellipsis + extra > width)
        length--;
    return text.Left(length) + "...";
}
