#include "platform/mfc/PrintInfo.h"

CPrintInfo::CPrintInfo()
    : m_bPreview(FALSE), m_bDirect(FALSE), m_bContinuePrinting(TRUE), m_nCurPage(1),
      m_nNumPreviewPages(0), m_lpUserData(NULL), m_hPrinterDC(NULL), m_minPage(1), m_maxPage(0xFFFF),
      m_fromPage(1), m_toPage(0xFFFF)
{
}

CPrintInfo::~CPrintInfo()
{
    if (m_hPrinterDC)
        ::DeleteDC(m_hPrinterDC);
}

void CPrintInfo::SetPageRange(UINT from, UINT to)
{
    m_fromPage = from;
    m_toPage = to;
}
