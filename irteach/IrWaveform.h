// One IR signal as the learner shows it: the raw timings with what they
// decode to, the visible time window with its zoom, pan and scroll steps, and
// the square-wave drawing with its time scale. Times are in microseconds.
#pragma once

#include <afxwin.h>

#include <vector>

class CDevice;

class CIrWaveform
{
public:
    // The scroll bar's range is 0 to kScrollRange.
    enum { kScrollRange = 32000 };
    static const double kFirstWindow;

    CIrWaveform();

    // The pens, brushes and label font; FALSE when the system has none to give.
    BOOL CreateTools();
    // The off-screen surface goes; the next paint makes it again.
    void FreeSurface();

    // The current signal; an IR device (null otherwise) decodes it, and the
    // code whose data is exactly that digit string names it.
    void SetCurrentCode(const char* timings, CDevice* decoder);
    const CString& GetTimings() const { return m_timings; }
    const CString& GetDigits() const { return m_digits; }
    const CString& GetMatchedName() const { return m_matchedName; }
    double GetScore() const { return m_score; }
    double GetTotal() const { return m_total; }
    double GetStart() const { return m_start; }
    double GetEnd() const { return m_end; }

    void ZoomIn();
    void ZoomOut();
    void PanLeft();
    void PanRight();
    // A scroll-bar request (SB_LINELEFT ...) with the thumb's position.
    void Scroll(UINT code, int thumb);

    // The scroll bar's page and position for the window; with no signal the
    // page spans the whole range.
    int ScrollPage() const;
    int ScrollPosition() const;

    // Draws into dc, a surface of width w and height h; IR mode adds the
    // decode line.
    void Draw(CDC& dc, int w, int h, BOOL irMode);
    // Draws off-screen and copies the result to the pane in one transfer.
    void DrawWaveform(CDC& pane, const CRect& client, BOOL irMode);

private:
    void SetWindow(double start, double width);
    void DrawLabels(CDC& dc, int w, int h, int level, BOOL irMode);
    void DrawAxis(CDC& dc, int w, int level);
    void DrawSignal(CDC& dc, int w, int level);

    CString m_timings;
    std::vector<double> m_samples;
    double m_total;
    CString m_digits;
    CString m_matchedName;
    double m_score;
    double m_start;
    double m_end;

    CBrush m_background;
    CPen m_framePen;
    CPen m_signalPen;
    CPen m_axisPen;
    CPen m_labelPen;
    CBitmap m_surface;
    CSize m_surfaceSize;
};
