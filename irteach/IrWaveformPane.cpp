#include "irteach/IrWaveformPane.h"

#include "irteach/IrCodeConversion.h"
#include "irteach/IrWaveform.h"

BEGIN_MESSAGE_MAP(CIrWaveformPane, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

void CIrWaveformPane::RedrawWithoutErase()
{
    m_skipErase = true;
    Invalidate();
}

void CIrWaveformPane::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    CFont* font = GetFont();
    CFont* oldFont = font ? dc.SelectObject(font) : nullptr;
    m_waveform.DrawWaveform(dc, client, m_mode == kIrMode);
    if (oldFont)
        dc.SelectObject(oldFont);
}

BOOL CIrWaveformPane::OnEraseBkgnd(CDC* dc)
{
    if (m_skipErase) {
        m_skipErase = false;
        return TRUE;
    }
    return BOOL(Default());
}
