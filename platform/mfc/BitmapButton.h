// CBitmapButton: an owner-drawn button that shows one of up to four bitmaps:
// up, down (selected), focused and disabled. Only the up image is required;
// the others fall back to it.
#pragma once

#include "platform/mfc/GdiObject.h"
#include "platform/mfc/StdControls.h"

class CBitmapButton : public CButton
{
    DECLARE_DYNAMIC(CBitmapButton)
public:
    // NULL (or 0) leaves that image out. FALSE when a named image failed to load.
    BOOL LoadBitmaps(LPCSTR upName, LPCSTR downName = NULL, LPCSTR focusName = NULL,
                     LPCSTR disabledName = NULL);
    BOOL LoadBitmaps(UINT upId, UINT downId = 0, UINT focusId = 0, UINT disabledId = 0);
    // Subclasses the dialog's button id and loads the images named after its
    // caption with "U", "D", "F" and "X" appended; the first two are required.
    BOOL AutoLoad(UINT id, CWnd* parent);
    // Makes the button as large as its up image.
    void SizeToContent();

    void DrawItem(LPDRAWITEMSTRUCT drawItem) override;

    CBitmap m_bitmap;
    CBitmap m_bitmapSel;
    CBitmap m_bitmapFocus;
    CBitmap m_bitmapDisabled;
};
