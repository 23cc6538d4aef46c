// CPrintInfo: what a view's printing handlers share about one print job: the
// page range, the page being printed and the rectangle to draw it in.
#pragma once

#include "mfc/Geometry.h"

class CPrintInfo
{
public:
    CPrintInfo();

    void SetMinPage(UINT page) { m_minPage = page; }
    void SetMaxPage(UINT page) { m_maxPage = page; }
    UINT GetMinPage() const { return m_minPage; }
    UINT GetMaxPage() const { return m_maxPage; }

    BOOL m_bPreview;
    BOOL m_bDirect;
    BOOL m_bContinuePrinting;
    UINT m_nCurPage;
    UINT m_nNumPreviewPages;
    LPVOID m_lpUserData;
    CRect m_rectDraw;

private:
    UINT m_minPage;
    UINT m_maxPage;
};
