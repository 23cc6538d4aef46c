#include "platform/mfc/BitmapButton.h"

#include "platform/mfc/MfcString.h"

IMPLEMENT_DYNAMIC(CBitmapButton, CButton)

namespace
{
// Replaces what bitmap held; an image left out stays empty.
BOOL LoadImageInto(CBitmap& bitmap, LPCSTR name)
{
    bitmap.DeleteObject();
    return !name || bitmap.LoadBitmap(name);
}
}

BOOL CBitmapButton::LoadBitmaps(LPCSTR upName, LPCSTR downName, LPCSTR focusName,
                                LPCSTR disabledName)
{
    BOOL loaded = upName && LoadImageInto(m_bitmap, upName);
    loaded = LoadImageInto(m_bitmapSel, downName) && loaded;
    loaded = LoadImageInto(m_bitmapFocus, focusName) && loaded;
    loaded = LoadImageInto(m_bitmapDisabled, disabledName) && loaded;
    return loaded;
}

BOOL CBitmapButton::LoadBitmaps(UINT upId, UINT downId, UINT focusId, UINT disabledId)
{
    return LoadBitmaps(upId ? MAKEINTRESOURCEA(upId) : NULL,
                       downId ? MAKEINTRESOURCEA(downId) : NULL,
                       focusId ? MAKEINTRESOURCEA(focusId) : NULL,
                       disabledId ? MAKEINTRESOURCEA(disabledId) : NULL);
}

BOOL CBitmapButton::AutoLoad(UINT id, CWnd* parent)
{
    if (!SubclassDlgItem(id, parent))
        return FALSE;
    CString name;
    GetWindowText(name);
    if (!LoadBitmaps(name + "U", name + "D"))
        return FALSE;
    // The focused and disabled images are optional.
    CString focusName = name + "F";
    CString disabledName = name + "X";
    m_bitmapFocus.LoadBitmap(focusName);
    m_bitmapDisabled.LoadBitmap(disabledName);
    SizeToContent();
    return TRUE;
}

void CBitmapButton::SizeToContent()
{
    BITMAP info;
    if (!m_bitmap.GetSafeHandle() || !m_bitmap.GetBitmap(&info))
        return;
    SetWindowPos(NULL, 0, 0, info.bmWidth, info.bmHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CBitmapButton::DrawItem(LPDRAWITEMSTRUCT drawItem)
{
    UINT state = drawItem->itemState;
    CBitmap* image = &m_bitmap;
    if (state & ODS_DISABLED && m_bitmapDisabled.GetSafeHandle())
        image = &m_bitmapDisabled;
    else if (state & ODS_SELECTED && m_bitmapSel.GetSafeHandle())
        image = &m_bitmapSel;
    else if (state & ODS_FOCUS && m_bitmapFocus.GetSafeHandle())
        image = &m_bitmapFocus;
    if (!image->GetSafeHandle())
        return;
    HDC memory = CreateCompatibleDC(drawItem->hDC);
    HGDIOBJ old = SelectObject(memory, (HBITMAP)*image);
    const RECT& rect = drawItem->rcItem;
    BitBlt(drawItem->hDC, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
           memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
}
