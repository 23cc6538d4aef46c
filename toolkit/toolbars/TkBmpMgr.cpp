#include "toolkit/toolbars/TkBmpMgr.h"
#include "toolkit/toolbars/TkSysColorBitmap.h"

#include <stdlib.h>
#include <string.h>

namespace {

const CSize kSmallImage(16, 15);
const CSize kLargeImage(22, 24);
const LPCSTR kToolBarType = MAKEINTRESOURCEA(241);
const DWORD kToolBarHeaderWords = 4;

WORD ReadWord(const BYTE* data)
{
    return (WORD)(data[0] | (data[1] << 8));
}

// Resource names are kept as given: ids as they are, names copied.
LPCSTR CopyResourceName(LPCSTR name)
{
    return IS_INTRESOURCE(name) ? name : strdup(name);
}

void FreeResourceName(LPCSTR name)
{
    if (!IS_INTRESOURCE(name))
        free((void*)name);
}

}  // namespace

BOOL TkReadToolBarResource(LPCSTR resource, CSize* image, CDWordArray& ids)
{
    DWORD size = 0;
    const BYTE* data = TkLockResource(AfxGetResourceHandle(), resource, kToolBarType, &size);
    return data != NULL && TkParseToolBarResource(data, size, image, ids);
}

BOOL TkParseToolBarResource(const BYTE* data, DWORD size, CSize* image, CDWordArray& ids)
{
    ids.RemoveAll();
    if (data == NULL || size < kToolBarHeaderWords * sizeof(WORD))
        return FALSE;
    WORD count = ReadWord(data + 3 * sizeof(WORD));
    if (size < (kToolBarHeaderWords + count) * sizeof(WORD))
        return FALSE;
    *image = CSize(ReadWord(data + sizeof(WORD)), ReadWord(data + 2 * sizeof(WORD)));
    for (WORD i = 0; i < count; i++)
        ids.Add(ReadWord(data + (kToolBarHeaderWords + i) * sizeof(WORD)));
    return TRUE;
}

IMPLEMENT_DYNAMIC(TkBmpMgr, CObject)

TkBmpMgr::TkBmpMgr()
    : m_sizeSmall(kSmallImage), m_sizeLarge(kLargeImage), m_bSmallMode(TRUE), m_bKeepBoth(FALSE),
      m_nRefs(1)
{
}

TkBmpMgr::~TkBmpMgr()
{
    for (int i = 0; i < m_arrInfos.GetSize(); i++) {
        BmpInfo* info = m_arrInfos[i];
        DeleteOwned(info->hSmall, info->bSmallGiven);
        DeleteOwned(info->hLarge, info->bLargeGiven);
        FreeResourceName(info->pszSmall);
        FreeResourceName(info->pszLarge);
        delete info;
    }
}

void TkBmpMgr::AddRef()
{
    ::InterlockedIncrement(&m_nRefs);
}

void TkBmpMgr::Release()
{
    if (::InterlockedDecrement(&m_nRefs) == 0)
        delete this;
}

void TkBmpMgr::DeleteOwned(HBITMAP& bitmap, BOOL given)
{
    if (given)
        return;
    if (bitmap != NULL)
        ::DeleteObject(bitmap);
    bitmap = NULL;
}

HBITMAP TkBmpMgr::LoadResourceBitmap(LPCSTR resource, BOOL mapColors) const
{
    HINSTANCE instance = AfxGetResourceHandle();
    if (!mapColors)
        return ::LoadBitmapA(instance, resource);
    HBITMAP bitmap = NULL;
    TkLoadSysColorBitmap(&bitmap, instance, resource);
    return bitmap;
}

HBITMAP TkBmpMgr::StretchSmallStrip(HBITMAP strip, int images) const
{
    HDC screen = ::GetDC(NULL);
    HBITMAP large = ::CreateCompatibleBitmap(screen, images * m_sizeLarge.cx, m_sizeLarge.cy);
    HDC from = ::CreateCompatibleDC(screen);
    HDC to = ::CreateCompatibleDC(screen);
    if (large != NULL && from != NULL && to != NULL) {
        HGDIOBJ oldFrom = ::SelectObject(from, strip);
        HGDIOBJ oldTo = ::SelectObject(to, large);
        ::SetStretchBltMode(to, COLORONCOLOR);
        for (int i = 0; i < images; i++)
            ::StretchBlt(to, i * m_sizeLarge.cx, 0, m_sizeLarge.cx, m_sizeLarge.cy, from,
                         i * m_sizeSmall.cx, 0, m_sizeSmall.cx, m_sizeSmall.cy, SRCCOPY);
        ::SelectObject(from, oldFrom);
        ::SelectObject(to, oldTo);
    }
    if (from != NULL)
        ::DeleteDC(from);
    if (to != NULL)
        ::DeleteDC(to);
    ::ReleaseDC(NULL, screen);
    return large;
}

BOOL TkBmpMgr::LoadSmallBitmap(BmpInfo* info)
{
    if (info->bSmallGiven)
        return TRUE;
    if (info->pszSmall == NULL)
        return FALSE;
    info->hSmall = LoadResourceBitmap(info->pszSmall, info->bMapColors);
    return info->hSmall != NULL;
}

BOOL TkBmpMgr::LoadLargeBitmap(BmpInfo* info)
{
    if (info->bLargeGiven)
        return TRUE;
    if (info->pszLarge != NULL) {
        info->hLarge = LoadResourceBitmap(info->pszLarge, info->bMapColors);
        return info->hLarge != NULL;
    }
    BOOL temporary = info->hSmall == NULL;
    if (temporary && !LoadSmallBitmap(info))
        return FALSE;
    info->hLarge = StretchSmallStrip(info->hSmall, info->nImages);
    if (temporary)
        DeleteOwned(info->hSmall, info->bSmallGiven);
    return info->hLarge != NULL;
}

BOOL TkBmpMgr::LoadBitmaps(BmpInfo* info, BOOL reload)
{
    if (!info->bSmallGiven && (m_bSmallMode || m_bKeepBoth)) {
        if (m_bSmallMode && !m_bKeepBoth)
            DeleteOwned(info->hLarge, info->bLargeGiven);
        if (reload)
            DeleteOwned(info->hSmall, FALSE);
        if (info->hSmall == NULL && !LoadSmallBitmap(info))
            return FALSE;
    }
    if (info->bLargeGiven || m_bSmallMode)
        return TRUE;
    if (!m_bKeepBoth)
        DeleteOwned(info->hSmall, info->bSmallGiven);
    if (reload)
        DeleteOwned(info->hLarge, FALSE);
    return info->hLarge != NULL || LoadLargeBitmap(info);
}

BOOL TkBmpMgr::AddInfo(BmpInfo* info, const UINT* ids, int count)
{
    int index = (int)m_arrInfos.Add(info);
    for (int i = 0; i < count; i++) {
        BmpItem item;
        if (!m_mapItems.Lookup(ids[i], item))
            m_mapItems.SetAt(ids[i], BmpItem{index, i});
    }
    return LoadBitmaps(info, TRUE);
}

BOOL TkBmpMgr::AddBitmapResource(LPCSTR bitmap, LPCSTR largeBitmap, const UINT* ids, int count,
                                 BOOL mapColors)
{
    BmpInfo* info = new BmpInfo{CopyResourceName(bitmap),
                                largeBitmap != NULL ? CopyResourceName(largeBitmap) : NULL,
                                NULL, NULL, count, mapColors, FALSE, FALSE};
    return AddInfo(info, ids, count);
}

BOOL TkBmpMgr::AddBitmap(HBITMAP smallBitmap, HBITMAP largeBitmap, const UINT* ids, int count)
{
    BmpInfo* info = new BmpInfo{NULL, NULL, smallBitmap, largeBitmap, count, FALSE,
                                smallBitmap != NULL, largeBitmap != NULL};
    return AddInfo(info, ids, count);
}

BOOL TkBmpMgr::LoadToolBarResource(LPCSTR resource, LPCSTR largeResource, BOOL mapColors)
{
    CSize image;
    CDWordArray all;
    if (!TkReadToolBarResource(resource, &image, all))
        return FALSE;
    BOOL first = m_arrInfos.GetSize() == 0;
    if (first)
        m_sizeSmall = image;
    if (largeResource != NULL && first) {
        CDWordArray largeIds;
        if (!TkReadToolBarResource(largeResource, &image, largeIds))
            return FALSE;
        m_sizeLarge = image;
    }
    CArray<UINT, UINT> ids;
    for (int i = 0; i < all.GetSize(); i++) {
        if (all[i] != 0)
            ids.Add(all[i]);
    }
    return AddBitmapResource(resource, largeResource, ids.GetData(), (int)ids.GetSize(), mapColors);
}

BOOL TkBmpMgr::GetImage(UINT id, HBITMAP* bitmap, int* index, BOOL forceSmall) const
{
    BmpItem item;
    if (!m_mapItems.Lookup(id, item))
        return FALSE;
    const BmpInfo* info = m_arrInfos[item.nInfo];
    *bitmap = m_bSmallMode || forceSmall ? info->hSmall : info->hLarge;
    *index = item.nImage;
    return TRUE;
}

BOOL TkBmpMgr::ReloadBitmaps(BOOL reload)
{
    for (int i = 0; i < m_arrInfos.GetSize(); i++)
        LoadBitmaps(m_arrInfos[i], reload);
    return TRUE;
}

void TkBmpMgr::SetSmallMode(BOOL on)
{
    if (!m_bSmallMode == !on)
        return;
    m_bSmallMode = on;
    ReloadBitmaps(TRUE);
}

void TkBmpMgr::SetKeepBoth(BOOL on)
{
    if (!m_bKeepBoth == !on)
        return;
    m_bKeepBoth = on;
    ReloadBitmaps(FALSE);
}
