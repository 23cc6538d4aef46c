// TkBmpMgr: the image strips of the application's tool bars and bitmap menus.
// For a command id it answers which bitmap and which image index draw it, in
// small or large size; a strip without a large bitmap gets one stretched
// from its small images. Strips come from tool-bar resources, bitmap
// resources or handles given by the caller, which the manager never deletes.
// Shared by reference counting; Release at zero deletes it.
#pragma once

#include <afxwin.h>
#include <afxcoll.h>
#include <afxtempl.h>

class TkBmpMgr : public CObject
{
    DECLARE_DYNAMIC(TkBmpMgr)
public:
    struct BmpInfo
    {
        LPCSTR pszSmall;  // resource id or name, or NULL
        LPCSTR pszLarge;
        HBITMAP hSmall;
        HBITMAP hLarge;
        int nImages;
        BOOL bMapColors;
        BOOL bSmallGiven;
        BOOL bLargeGiven;
    };
    struct BmpItem
    {
        int nInfo;
        int nImage;
    };

    TkBmpMgr();

    virtual BOOL LoadBitmaps(BmpInfo* info, BOOL reload);
    virtual BOOL LoadSmallBitmap(BmpInfo* info);
    virtual BOOL LoadLargeBitmap(BmpInfo* info);

    BOOL LoadToolBarResource(LPCSTR resource, LPCSTR largeResource, BOOL mapColors);
    BOOL AddBitmapResource(LPCSTR bitmap, LPCSTR largeBitmap, const UINT* ids, int count, BOOL mapColors);
    BOOL AddBitmap(HBITMAP smallBitmap, HBITMAP largeBitmap, const UINT* ids, int count);
    BOOL GetImage(UINT id, HBITMAP* bitmap, int* index, BOOL forceSmall) const;
    BOOL ReloadBitmaps(BOOL reload);
    void SetSmallMode(BOOL on);
    void SetKeepBoth(BOOL on);
    void AddRef();
    void Release();

    CSize GetSmallSize() const { return m_sizeSmall; }
    CSize GetLargeSize() const { return m_sizeLarge; }
    // The size of the images GetImage answers with in the current mode.
    CSize GetImageSize() const { return m_bSmallMode ? m_sizeSmall : m_sizeLarge; }

protected:
    ~TkBmpMgr() override;

private:
    BOOL AddInfo(BmpInfo* info, const UINT* ids, int count);
    HBITMAP LoadResourceBitmap(LPCSTR resource, BOOL mapColors) const;
    HBITMAP StretchSmallStrip(HBITMAP strip, int images) const;
    static void DeleteOwned(HBITMAP& bitmap, BOOL given);

    CMap<UINT, UINT, BmpItem, const BmpItem&> m_mapItems;
    CTypedPtrArray<CPtrArray, BmpInfo*> m_arrInfos;
    CSize m_sizeSmall;
    CSize m_sizeLarge;
    BOOL m_bSmallMode;
    BOOL m_bKeepBoth;
    LONG m_nRefs;
};

// A tool-bar resource (type 241): version, image width and height, item
// count, then the items' command ids (16 bits each, 0 for a separator).
// FALSE when the block is shorter than its count says.
BOOL TkParseToolBarResource(const BYTE* data, DWORD size, CSize* image, CDWordArray& ids);
// The tool-bar resource of the resource handle; FALSE when missing or short.
BOOL TkReadToolBarResource(LPCSTR resource, CSize* image, CDWordArray& ids);
