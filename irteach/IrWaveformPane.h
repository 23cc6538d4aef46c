// The learner's waveform pane: a static control that paints its signal
// off-screen, and skips one background erase after a scroll so that the
// pane does not flicker while the thumb is dragged.
#pragma once

#include <afxwin.h>

class CIrWaveform;

class CIrWaveformPane : public CWnd
{
public:
    CIrWaveformPane(CIrWaveform& waveform, const int& mode) : m_waveform(waveform), m_mode(mode) {}

    // Repaints without erasing first.
    void RedrawWithoutErase();

protected:
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* dc);
    DECLARE_MESSAGE_MAP()

private:
    CIrWaveform& m_waveform;
    const int& m_mode;   // the dialog's mode: 1 draws the decode line
    bool m_skipErase = false;
};
