#include "shell/app/AnimatedIcon.h"

namespace
{
const int kFrameWidth = 16;
}

CAnimatedIcon::CAnimatedIcon()
{
}

CAnimatedIcon::~CAnimatedIcon()
{
    if (m_icon)
        DestroyIcon(m_icon);
}

BOOL CAnimatedIcon::Prepare(UINT bitmapId, int count, COLORREF mask)
{
    if (count < 1)
        return FALSE;
    m_count = count;
    return Create(bitmapId, kFrameWidth, 1, mask);
}

BOOL CAnimatedIcon::NextFrame()
{
    if (!m_hImageList)
        return FALSE;
    if (++m_frame >= m_count)
        m_frame = 0;
    HICON icon = ImageList_GetIcon(m_hImageList, m_frame, ILD_NORMAL);
    if (CWnd* main = AfxGetMainWnd())
        main->SendMessage(WM_SETICON, ICON_BIG, (LPARAM)icon);
    // The window's previous icon is ours from the last frame, or the class's
    // shared icon before the first, which is not ours to destroy.
    if (m_icon)
        DestroyIcon(m_icon);
    m_icon = icon;
    return TRUE;
}
