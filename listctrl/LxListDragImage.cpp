// One drag image for all selected rows the list shows.
#include "listctrl/LxListCtrl.h"

#include <algorithm>

namespace
{
// Pixels of this colour are left out of the image: the gaps between rows.
const COLORREF kDragMaskColor = RGB(0x00, 0xFF, 0x00);
} // namespace

CRect CLxListCtrl::VisibleSelectionRect()
{
    CRect client;
    GetClientRect(&client);
    CRect all(0, 0, 0, 0);
    for (int row = GetNextItem(-1, LVNI_SELECTED); row >= 0; row = GetNextItem(row, LVNI_SELECTED))
    {
        CRect rect, shown;
        if (GetItemRect(row, &rect, LVIR_BOUNDS) && shown.IntersectRect(&rect, &client))
            all.UnionRect(&all, &rect);
    }
    all.left = std::max<LONG>(all.left, client.left);
    all.right = std::min<LONG>(all.right, client.right);
    all.top = std::max<LONG>(all.top, 0);
    return all;
}

// Each visible selected row's own drag image, drawn where the row is in the
// bitmap whose top-left corner is the given point of the client area.
void CLxListCtrl::DrawSelectedRows(HDC dc, CPoint origin)
{
    CRect client;
    GetClientRect(&client);
    for (int row = GetNextItem(-1, LVNI_SELECTED); row >= 0; row = GetNextItem(row, LVNI_SELECTED))
    {
        CRect rect, shown;
        if (!GetItemRect(row, &rect, LVIR_BOUNDS) || !shown.IntersectRect(&rect, &client))
            continue;
        POINT at;
        HIMAGELIST image = (HIMAGELIST)SendMessage(LVM_CREATEDRAGIMAGE, row, (LPARAM)&at);
        if (!image)
            continue;
        ::ImageList_Draw(image, 0, dc, rect.left - origin.x, rect.top - origin.y, ILD_NORMAL);
        ::ImageList_Destroy(image);
    }
}

CImageList* CLxListCtrl::CreateDragImageEx(POINT* topLeft)
{
    CRect all = VisibleSelectionRect();
    if (all.IsRectEmpty())
        return NULL;
    HDC screen = ::GetDC(m_hWnd);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, all.Width(), all.Height());
    ::ReleaseDC(m_hWnd, screen);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    HBRUSH mask = ::CreateSolidBrush(kDragMaskColor);
    RECT fill = {0, 0, all.Width(), all.Height()};
    ::FillRect(dc, &fill, mask);
    ::DeleteObject(mask);
    DrawSelectedRows(dc, all.TopLeft());
    ::SelectObject(dc, old);
    ::DeleteDC(dc);

    CImageList* images = new CImageList;
    images->Create(all.Width(), all.Height(), ILC_COLORDDB | ILC_MASK, 0, 1);
    ::ImageList_AddMasked(images->m_hImageList, bitmap, kDragMaskColor);
    ::DeleteObject(bitmap);
    if (topLeft)
        *topLeft = all.TopLeft();
    return images;
}
