// The main window's icon cycled through the frames of a bitmap strip (16
// pixels a frame) while the document's "Animate Icon" option is on.
#pragma once

#include <afxcmn.h>

class CAnimatedIcon : public CImageList
{
public:
    CAnimatedIcon();
    ~CAnimatedIcon() override;

    // FALSE when count is below 1 or the strip cannot be loaded.
    BOOL Prepare(UINT bitmapId, int count, COLORREF mask);
    // Shows the next frame as the main window's large icon; FALSE before
    // Prepare.
    BOOL NextFrame();

    int GetFrame() const { return m_frame; }

private:
    int m_frame = -1;
    int m_count = -99;
    // Made from the frame last shown; the window keeps using it until the next.
    HICON m_icon = nullptr;
};
