#include "irteach/IrWaveform.h"

#include <math.h>

#include "devices/manager/Device.h"
#include "devices/port/LowLevelText.h"

namespace {

const COLORREF kBackgroundColour = RGB(0, 128, 128);
const COLORREF kSignalColour = RGB(255, 255, 0);
const COLORREF kAxisColour = RGB(64, 64, 64);
const COLORREF kLabelPenColour = RGB(0, 0, 192);
const COLORREF kLabelColour = RGB(0, 0, 92);
const COLORREF kDecodeColour = RGB(92, 0, 0);

// The plot keeps this far from the pane's left and right edges and its top.
const int kMargin = 5;
const int kTicks = 10;
const int kDecodeLineOffset = 12;
// Pans and scroll lines move the window by this share of its width.
const double kStepShare = 0.2;

// The level of the low state: the bottom third of the pane holds the labels.
int LowLevelBase(int h)
{
    return h - h / 3 + kMargin;
}

} // namespace

const double CIrWaveform::kFirstWindow = 100000;

CIrWaveform::CIrWaveform() : m_total(0), m_score(0), m_start(0), m_end(kFirstWindow), m_surfaceSize(0, 0)
{
}

BOOL CIrWaveform::CreateTools()
{
    return m_background.CreateSolidBrush(kBackgroundColour) && m_framePen.CreatePen(PS_SOLID, 1, kBackgroundColour) &&
           m_signalPen.CreatePen(PS_SOLID, 1, kSignalColour) && m_axisPen.CreatePen(PS_SOLID, 1, kAxisColour) &&
           m_labelPen.CreatePen(PS_SOLID, 1, kLabelPenColour);
}

void CIrWaveform::FreeSurface()
{
    m_surface.DeleteObject();
    m_surfaceSize = CSize(0, 0);
}

void CIrWaveform::SetCurrentCode(const char* timings, CDevice* decoder)
{
    m_timings = timings;
    m_samples = ParseIRTimings(timings);
    m_total = 0;
    for (double d : m_samples)
        m_total += fabs(d);
    m_digits.Empty();
    m_matchedName.Empty();
    m_score = 0;
    if (!decoder)
        return;
    m_digits = decoder->MatchPattern(timings, &m_score);
    for (int i = 0; i < decoder->GetNumCodes(); ++i) {
        if (decoder->GetCode(i).data == m_digits) {
            m_matchedName = decoder->GetCode(i).name;
            break;
        }
    }
}

// A window that would begin before the signal begins at 0 instead.
void CIrWaveform::SetWindow(double start, double width)
{
    if (start < 0)
        start = 0;
    m_start = start;
    m_end = start + width;
}

void CIrWaveform::ZoomIn()
{
    double width = m_end - m_start;
    double decade = pow(10, floor(log10(width)));
    double ratio = width / decade;
    double zoomed = ratio < 2 ? 0.5 * decade : ratio < 5 ? decade : 2 * decade;
    SetWindow((m_start + m_end) / 2 - zoomed / 2, zoomed);
}

// Zooming out stops once the whole signal is in view.
void CIrWaveform::ZoomOut()
{
    double width = m_end - m_start;
    if (width > m_total)
        return;
    double decade = pow(10, floor(log10(width)));
    double ratio = width / decade;
    double zoomed = ratio < 2 ? 2 * decade : ratio < 5 ? 5 * decade : 10 * decade;
    SetWindow((m_start + m_end) / 2 - zoomed / 2, zoomed);
}

void CIrWaveform::PanLeft()
{
    double width = m_end - m_start;
    SetWindow(m_start - kStepShare * width, width);
}

void CIrWaveform::PanRight()
{
    if (m_end >= m_total)
        return;
    double width = m_end - m_start;
    SetWindow(m_start + kStepShare * width, width);
}

void CIrWaveform::Scroll(UINT code, int thumb)
{
    double width = m_end - m_start;
    int line = int(kStepShare * kScrollRange * width / (width + m_total));
    int position = ScrollPosition();
    switch (code) {
    case SB_LINELEFT:
        position -= line;
        break;
    case SB_LINERIGHT:
        position += line;
        break;
    case SB_PAGELEFT:
        position -= ScrollPage();
        break;
    case SB_PAGERIGHT:
        position += ScrollPage();
        break;
    case SB_LEFT:
        position = 0;
        break;
    case SB_RIGHT:
        position = kScrollRange;
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        position = thumb;
        break;
    default:
        return;
    }
    position = position < 0 ? 0 : position > kScrollRange ? kScrollRange : position;
    SetWindow(position * m_total / kScrollRange, width);
}

int CIrWaveform::ScrollPage() const
{
    if (m_total <= 0)
        return kScrollRange + 1;
    return int(kScrollRange * (m_end - m_start) / m_total);
}

int CIrWaveform::ScrollPosition() const
{
    if (m_total <= 0)
        return 0;
    return int(kScrollRange * m_start / m_total);
}

void CIrWaveform::Draw(CDC& dc, int w, int h, BOOL irMode)
{
    CBrush* oldBrush = dc.SelectObject(&m_background);
    CPen* oldPen = dc.SelectObject(&m_framePen);
    dc.Rectangle(0, 0, w, h);
    if (!m_samples.empty()) {
        int level = LowLevelBase(h);
        DrawLabels(dc, w, h, level, irMode);
        DrawAxis(dc, w, level);
        DrawSignal(dc, w, level);
    }
    dc.SelectObject(oldPen);
    dc.SelectObject(oldBrush);
}

void CIrWaveform::DrawLabels(CDC& dc, int w, int h, int level, BOOL irMode)
{
    dc.SelectObject(&m_labelPen);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(kLabelColour);
    CRect line(kMargin, level, w - kMargin, h);
    CString text;
    text.Format("%.1lfms", m_start / 1000);
    dc.DrawText(text, &line, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
    text.Format("%.1lfms", m_end / 1000);
    dc.DrawText(text, &line, DT_RIGHT | DT_SINGLELINE | DT_NOPREFIX);
    text.Format("%.lfus/div %.1lfms total", (m_end - m_start) / kTicks, m_total / 1000);
    dc.DrawText(text, &line, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
    if (!irMode)
        return;
    dc.SetTextColor(kDecodeColour);
    if (m_matchedName.IsEmpty())
        text.Format("%s %.3lf", static_cast<LPCSTR>(m_digits), m_score);
    else
        text.Format("%s (%s) %.3lf", static_cast<LPCSTR>(m_digits), static_cast<LPCSTR>(m_matchedName), m_score);
    CRect decode(kMargin, level + kDecodeLineOffset, w - kMargin, h);
    dc.DrawText(text, &decode, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
}

void CIrWaveform::DrawAxis(CDC& dc, int w, int level)
{
    dc.SelectObject(&m_axisPen);
    int base = level + kMargin;
    dc.MoveTo(kMargin, base);
    dc.LineTo(w - kMargin, base);
    for (int i = 0; i <= kTicks; ++i) {
        int x = kMargin + i * (w - 2 * kMargin) / kTicks;
        dc.MoveTo(x, base);
        dc.LineTo(x, level + 1);
    }
}

// Marks run at the top, spaces at the low level; the line ends with the first
// sample that reaches past the plot.
void CIrWaveform::DrawSignal(CDC& dc, int w, int level)
{
    const int high = kMargin;
    const int low = level - 1;
    const int right = w - kMargin;
    const double scale = (w - 2 * kMargin) / (m_end - m_start);
    std::vector<POINT> points = {{kMargin, low}};
    double t = 0;
    for (double d : m_samples) {
        int y = d > 0 ? high : low;
        int x0 = kMargin + int((t - m_start) * scale);
        t += fabs(d);
        int x1 = kMargin + int((t - m_start) * scale);
        points.push_back({x0, y});
        points.push_back({x1, y});
        if (x1 > right)
            break;
    }
    int saved = dc.SaveDC();
    dc.IntersectClipRect(kMargin, 0, right + 1, level);
    dc.SelectObject(&m_signalPen);
    dc.Polyline(points.data(), int(points.size()));
    dc.RestoreDC(saved);
}

void CIrWaveform::DrawWaveform(CDC& pane, const CRect& client, BOOL irMode)
{
    CDC memory;
    if (!memory.CreateCompatibleDC(&pane))
        return;
    if (m_surfaceSize != client.Size()) {
        FreeSurface();
        if (!m_surface.CreateCompatibleBitmap(&pane, client.Width(), client.Height()))
            return;
        m_surfaceSize = client.Size();
    }
    CBitmap* oldBitmap = memory.SelectObject(&m_surface);
    CFont* font = pane.GetCurrentFont();
    CFont* oldFont = font ? memory.SelectObject(font) : nullptr;
    Draw(memory, client.Width(), client.Height(), irMode);
    pane.BitBlt(client.left, client.top, client.Width(), client.Height(), &memory, 0, 0, SRCCOPY);
    if (oldFont)
        memory.SelectObject(oldFont);
    memory.SelectObject(oldBitmap);
}
