// TkBitmapButton: an owner-drawn push button with a bitmap beside, above or
// below its caption, or a bitmap alone. The bitmap's greys follow the
// system's button colours and are reloaded when they change.
#pragma once

#include "toolkit/buttons/TkOwnerDrawButton.h"

class TkBitmapButton : public TkOwnerDrawButton
{
    DECLARE_DYNCREATE(TkBitmapButton)
public:
    enum ImagePosition
    {
        kImageLeft = 0,
        kImageRight = 1,
        kImageAbove = 2,
        kImageBelow = 3,
        kImageOnly = 4
    };
    // The margins new buttons take between the bitmap and the edge.
    static int s_nDefaultMarginX;
    static int s_nDefaultMarginY;

    TkBitmapButton();

    // bitmapName: a resource id (MAKEINTRESOURCE) or a name that outlives the button.
    BOOL Create(LPCSTR text, DWORD style, int imagePosition, LPCSTR bitmapName,
                const RECT& rect, CWnd* parent, UINT id, UINT flags = 0);
    // Takes over the dialog's item of that id.
    BOOL Attach(UINT id, int imagePosition, LPCSTR bitmapName, CWnd* parent, UINT flags = 0);

protected:
    void DrawContent(CDC* dc, const CRect& content, UINT state) override;
    void DrawFocus(CDC* dc, CRect item, UINT state) override;
    BOOL LoadBitmap(int imagePosition, LPCSTR bitmapName);
    void Layout();

    void OnSize(UINT type, int cx, int cy);
    void OnSysColorChange();
    DECLARE_MESSAGE_MAP()

    LPCSTR m_lpszBitmapName;
    CBitmap m_bitmap;
    int m_nMarginX;
    int m_nMarginY;
    CRect m_rcImage;
    CRect m_rcText;
    int m_nImagePosition;

private:
    CFont* TextFont() const;
};
