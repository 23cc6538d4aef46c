// CImageList: owns an image list of the common controls (unless detached);
// FromHandle gives temporary objects for lists owned elsewhere.
#pragma once

#include <afx.h>

#include <commctrl.h>

class CBitmap;
class CDC;

class CImageList : public CObject
{
    DECLARE_DYNCREATE(CImageList)
public:
    CImageList();
    ~CImageList() override;

    HIMAGELIST m_hImageList;
    operator HIMAGELIST() const { return m_hImageList; }
    HIMAGELIST GetSafeHandle() const { return SafeHandle(this); }
    static HIMAGELIST PASCAL SafeHandle(const CImageList* imageList);

    static CImageList* PASCAL FromHandle(HIMAGELIST imageList);
    static void PASCAL DeleteTempMap();
    BOOL Attach(HIMAGELIST imageList);
    HIMAGELIST Detach();

    BOOL Create(int cx, int cy, UINT flags, int initial, int grow);
    // Images cx wide cut from a bitmap resource; mask colour marks transparent pixels.
    BOOL Create(UINT bitmapId, int cx, int grow, COLORREF mask);
    BOOL DeleteImageList();

    int GetImageCount() const;
    int Add(CBitmap* bitmap, CBitmap* mask);
    int Add(CBitmap* bitmap, COLORREF mask);
    int Add(HICON icon);
    BOOL Replace(int image, CBitmap* bitmap, CBitmap* mask);
    int Replace(int image, HICON icon);
    BOOL Remove(int image);
    HICON ExtractIcon(int image);
    BOOL GetImageInfo(int image, IMAGEINFO* info) const;
    COLORREF SetBkColor(COLORREF color);
    COLORREF GetBkColor() const;
    BOOL SetOverlayImage(int image, int overlay);
    BOOL Draw(CDC* dc, int image, POINT point, UINT style);

private:
    CImageList(const CImageList&);
    void operator=(const CImageList&);
};
