#include "listctrl/LxHeaderCtrl.h"

#include <stdlib.h>
#include <string.h>

CLxHeaderCtrl::CLxHeaderCtrl()
    : m_directionMask(0xFFFFFFFF), m_noSortMarkMask(0), m_fixedWidthMask(0),
      m_pImageList(NULL), m_dragEnabled(TRUE), m_sortColumn(-1), m_sortAscending(1),
      m_prevSortColumn(-1), m_prevSortAscending(1), m_pReorderList(NULL),
      m_reorderCallback(NULL), m_dragPending(false), m_dragging(false), m_dragSource(-1),
      m_dragTarget(-1), m_dividerAllowed(true)
{
}

int CLxHeaderCtrl::SetSortImage(int column, int ascending)
{
    int old = m_sortColumn;
    if (column != m_sortColumn)
    {
        m_prevSortColumn = m_sortColumn;
        m_prevSortAscending = m_sortAscending;
    }
    m_sortColumn = column;
    m_sortAscending = ascending;
    HDITEMA item = {};
    item.mask = HDI_FORMAT;
    if (m_hWnd && GetItem(column, &item))
    {
        item.fmt |= HDF_OWNERDRAW;
        SetItem(column, &item);
    }
    SetSortAscending(column, ascending == 1);
    if (m_hWnd)
        Invalidate();
    return old;
}

bool CLxHeaderCtrl::IsSortAscending(int column) const
{
    return (m_directionMask & LxColumnBit(column)) != 0;
}

void CLxHeaderCtrl::SetSortAscending(int column, bool on)
{
    if (on)
        m_directionMask |= LxColumnBit(column);
    else
        m_directionMask &= ~LxColumnBit(column);
}

void CLxHeaderCtrl::SetReorderCallback(CLxListCtrl* list, LxReorderCallback callback)
{
    m_pReorderList = list;
    m_reorderCallback = callback;
}

void CLxHeaderCtrl::DrawItem(LPDRAWITEMSTRUCT drawItem)
{
    CDC dc;
    dc.Attach(drawItem->hDC);
    int saved = dc.SaveDC();
    CRect item(drawItem->rcItem);
    dc.IntersectClipRect(&item);
    dc.FillSolidRect(&item, ::GetSysColor(COLOR_3DFACE));
    int margin = dc.GetTextExtent(" ", 1).cx * 2;

    char caption[256] = "";
    HDITEMA info = {};
    info.mask = HDI_TEXT | HDI_FORMAT | HDI_LPARAM;
    info.pszText = caption;
    info.cchTextMax = sizeof(caption);
    GetItem(drawItem->itemID, &info);
    UINT format = DT_END_ELLIPSIS | DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER;
    if (info.fmt & HDF_CENTER)
        format |= DT_CENTER;
    else if (info.fmt & HDF_RIGHT)
        format |= DT_RIGHT;

    CRect text = item;
    if (drawItem->itemState & ODS_SELECTED)
    {
        text.left++;
        text.top += 2;
        text.right++;
    }
    int column = (int)drawItem->itemID;
    if (!DrawImageCaption(dc, item, caption))
    {
        if (column == m_sortColumn || column == m_prevSortColumn)
            text.right -= 3 * margin;
        text.left += margin;
        text.right -= margin;
        if (text.left < text.right)
        {
            dc.SetBkMode(TRANSPARENT);
            dc.SetTextColor(::GetSysColor(COLOR_BTNTEXT));
            dc.DrawText(caption, -1, &text, format);
        }
    }
    if (column == m_sortColumn && !(m_noSortMarkMask & LxColumnBit((int)info.lParam)))
        DrawSortArrow(dc, item, margin);
    if (m_dragging && column == m_dragSource)
    {
        dc.SelectStockObject(WHITE_BRUSH);
        dc.PatBlt(item.left, item.top, item.Width(), item.Height(), PATINVERT);
    }
    dc.RestoreDC(saved);
    dc.Detach();
}

// A caption "N_" stands for image N of the header's image list; true when the
// caption was such a one (the image is drawn only where it fits).
bool CLxHeaderCtrl::DrawImageCaption(CDC& dc, const CRect& item, const char* caption)
{
    size_t length = strlen(caption);
    if (!m_pImageList || length == 0 || caption[length - 1] != '_')
        return false;
    int image = atoi(caption);
    IMAGEINFO info = {};
    if (!m_pImageList->GetImageInfo(image, &info))
        return true;
    int width = info.rcImage.right - info.rcImage.left;
    int height = info.rcImage.bottom - info.rcImage.top;
    if (item.Width() >= width)
    {
        CPoint at(item.left + (item.Width() - width) / 2, item.top + (item.Height() - height) / 2);
        m_pImageList->Draw(&dc, image, at, ILD_TRANSPARENT);
    }
    return true;
}

void CLxHeaderCtrl::DrawSortArrow(CDC& dc, const CRect& item, int margin)
{
    CPen light, shadow;
    light.CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_3DHILIGHT));
    shadow.CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_3DSHADOW));
    int m = margin, r = item.right, b = item.bottom;
    CPen* old = dc.SelectObject(&light);
    if (m_sortAscending)
    {
        dc.MoveTo(r - 2 * m, m - 1);
        dc.LineTo(r - 3 * m / 2, b - m);
        dc.LineTo(r - 5 * m / 2 - 2, b - m);
        dc.SelectObject(&shadow);
        dc.MoveTo(r - 5 * m / 2 - 1, b - m - 1);
        dc.LineTo(r - 2 * m, m - 2);
    }
    else
    {
        dc.MoveTo(r - 3 * m / 2, m - 1);
        dc.LineTo(r - 2 * m - 1, b - m + 1);
        dc.SelectObject(&shadow);
        dc.MoveTo(r - 2 * m - 1, b - m);
        dc.LineTo(r - 5 * m / 2 - 1, m - 1);
        dc.LineTo(r - 3 * m / 2, m - 1);
    }
    dc.SelectObject(old);
}
