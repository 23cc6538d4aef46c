#include "platform/mfc/ImageList.h"
#include "platform/mfc/Dc.h"
#include "platform/mfc/GdiObject.h"
#include "platform/mfc/HandleMap.h"
#include "platform/mfc/Module.h"

namespace
{
CObject* NewTempImageList(HANDLE handle)
{
    CImageList* imageList = new CImageList;
    imageList->m_hImageList = (HIMAGELIST)handle;
    return imageList;
}

void ForgetImageListHandle(CObject* object)
{
    static_cast<CImageList*>(object)->m_hImageList = NULL;
}

thread_local CHandleMap t_imageListMap(NewTempImageList, ForgetImageListHandle);
}

IMPLEMENT_DYNCREATE(CImageList, CObject)

CImageList::CImageList() : m_hImageList(NULL)
{
}

CImageList::~CImageList()
{
    DeleteImageList();
}

HIMAGELIST PASCAL CImageList::SafeHandle(const CImageList* imageList)
{
    return imageList ? imageList->m_hImageList : NULL;
}

CImageList* PASCAL CImageList::FromHandle(HIMAGELIST imageList)
{
    return static_cast<CImageList*>(t_imageListMap.FromHandle(imageList));
}

void PASCAL CImageList::DeleteTempMap()
{
    t_imageListMap.DeleteTemp();
}

BOOL CImageList::Attach(HIMAGELIST imageList)
{
    if (!imageList || m_hImageList)
        return FALSE;
    m_hImageList = imageList;
    t_imageListMap.SetPermanent(imageList, this);
    return TRUE;
}

HIMAGELIST CImageList::Detach()
{
    HIMAGELIST imageList = m_hImageList;
    if (imageList)
        t_imageListMap.RemoveHandle(imageList);
    m_hImageList = NULL;
    return imageList;
}

BOOL CImageList::Create(int cx, int cy, UINT flags, int initial, int grow)
{
    return Attach(ImageList_Create(cx, cy, flags, initial, grow));
}

BOOL CImageList::Create(UINT bitmapId, int cx, int grow, COLORREF mask)
{
    return Attach(ImageList_LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(bitmapId), cx,
                                       grow, mask, IMAGE_BITMAP, LR_CREATEDIBSECTION));
}

BOOL CImageList::DeleteImageList()
{
    HIMAGELIST imageList = Detach();
    return imageList && ImageList_Destroy(imageList);
}

int CImageList::GetImageCount() const
{
    return ImageList_GetImageCount(m_hImageList);
}

int CImageList::Add(CBitmap* bitmap, CBitmap* mask)
{
    return ImageList_Add(m_hImageList, (HBITMAP)bitmap->GetSafeHandle(),
                         (HBITMAP)mask->GetSafeHandle());
}

int CImageList::Add(CBitmap* bitmap, COLORREF mask)
{
    return ImageList_AddMasked(m_hImageList, (HBITMAP)bitmap->GetSafeHandle(), mask);
}

int CImageList::Add(HICON icon)
{
    return ImageList_AddIcon(m_hImageList, icon);
}

BOOL CImageList::Replace(int image, CBitmap* bitmap, CBitmap* mask)
{
    return ImageList_Replace(m_hImageList, image, (HBITMAP)bitmap->GetSafeHandle(),
                             (HBITMAP)mask->GetSafeHandle());
}

int CImageList::Replace(int image, HICON icon)
{
    return ImageList_ReplaceIcon(m_hImageList, image, icon);
}

BOOL CImageList::Remove(int image)
{
    return ImageList_Remove(m_hImageList, image);
}

HICON CImageList::ExtractIcon(int image)
{
    return ImageList_GetIcon(m_hImageList, image, ILD_NORMAL);
}

BOOL CImageList::GetImageInfo(int image, IMAGEINFO* info) const
{
    return ImageList_GetImageInfo(m_hImageList, image, info);
}

COLORREF CImageList::SetBkColor(COLORREF color)
{
    return ImageList_SetBkColor(m_hImageList, color);
}

COLORREF CImageList::GetBkColor() const
{
    return ImageList_GetBkColor(m_hImageList);
}

BOOL CImageList::SetOverlayImage(int image, int overlay)
{
    return ImageList_SetOverlayImage(m_hImageList, image, overlay);
}

BOOL CImageList::Draw(CDC* dc, int image, POINT point, UINT style)
{
    return ImageList_Draw(m_hImageList, image, dc->GetSafeHdc(), point.x, point.y, style);
}
