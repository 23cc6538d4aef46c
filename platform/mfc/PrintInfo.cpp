#include "mfc/PrintInfo.h"

CPrintInfo::CPrintInfo()
    : m_bPreview(FALSE), m_bDirect(FALSE), m_bContinuePrinting(TRUE), m_nCurPage(1),
      m_nNumPreviewPages(0), m_lpUserData(NULL), m_minPage(1), m_maxPage(0xFFFF)
{
}

