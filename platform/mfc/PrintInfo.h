// CPrintInfo: what a view's printing handlers share about one print job: the
// page range, the page being printed and the rectangle to draw it in.
#pragma once

#include "platform/mfc/Geometry.h"

class CPrintInfo
{
public:
    CPrintInfo();
    // Deletes the printer DC it holds.
    ~CPrintInfo();
    CPrintInfo(const CPrintInfo&) = delete;
    CPrintInfo& operator=(const CPrintInfo&) = delete;

    void SetMinPage(UINT page) { m_minPage = page; }
    void SetMaxPage(UINT page) { m_maxPage = page; }
    UINT GetMinPage() const { return m_minPage; }
    UINT GetMaxPage() const { return m_maxPage; }
    // The pages the user asked for; the job prints those inside min..max.
    UINT GetFromPage() const { return m_fromPage; }
    UINT GetToPage() const { return m_toPage; }
    void SetPageRange(UINT from, UINT to);

    BOOL m_bPreview;
    BOOL m_bDirect;
    BOOL m_bContinuePrinting;
    UINT m_nCurPage;
    UINT m_nNumPreviewPages;
    LPVOID m_lpUserData;
    CRect m_rectDraw;
    // The printer the job goes to, once chosen; owned.
    HDC m_hPrinterDC;

private:
    UINT m_minPage;
    UINT m_maxPage;
    UINT m_fromPage;
    UINT m_toPage;
};
