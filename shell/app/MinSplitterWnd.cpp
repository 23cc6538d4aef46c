#include "shell/app/MinSplitterWnd.h"

#include <algorithm>
#include <vector>

namespace
{
// The base class's codes of the bars being dragged: bars after rows,
// after columns, and crossings numbered fifteen to a row.
const int kFirstRowBar = 101;
const int kLastRowBar = 115;
const int kFirstColumnBar = 201;
const int kLastColumnBar = 215;
const int kFirstCrossing = 301;
const int kCrossingsPerRow = 15;
}

BEGIN_MESSAGE_MAP(CMinSplitterWnd, CSplitterWnd)
    ON_MESSAGE(WM_MOUSEMOVE, OnMouseMove)
END_MESSAGE_MAP()

void CMinSplitterWnd::LayOut(Extent* entries, int count, int size, int previous, int gap)
{
    if (count <= 0)
        return;
    const int space = std::max(0, size - gap * (count - 1));
    const bool changed = size != previous;
    int used = 0;
    for (int i = 0; i < count - 1; ++i)
    {
        entries[i].current = std::max(entries[i].ideal, entries[i].minimum);
        // The first entry takes a change of the whole size.
        if (i == 0 && changed && previous > 0)
            entries[i].current = std::max(0, entries[i].ideal + size - previous);
        used += entries[i].current;
    }
    Extent& last = entries[count - 1];
    last.current = space - used;
    if (changed)
        last.current = std::max(last.current, last.minimum);
    else if (last.current < 0)
    {
        entries[0].current = std::max(0, entries[0].current + last.current);
        last.current = 0;
    }
    // An entry short of its minimum takes from the later ones, the last
    // first, each giving only what it has above its own minimum. The first
    // entry does so too: raised alone it would push the last out of sight.
    for (int i = 0; i < count; ++i)
    {
        for (int j = count - 1; j > i && entries[i].current < entries[i].minimum; --j)
        {
            int give = std::min(entries[i].minimum - entries[i].current, entries[j].current - entries[j].minimum);
            if (give <= 0)
                continue;
            entries[j].current -= give;
            entries[i].current += give;
        }
    }
    int minimums = 0;
    for (int i = 0; i < count; ++i)
        minimums += entries[i].minimum;
    if (minimums > space)
    {
        // Not even the minimums fit: the room is shared evenly.
        int left = space;
        for (int i = 0; i < count; ++i)
        {
            entries[i].current = left / (count - i);
            left -= entries[i].current;
        }
    }
    else
    {
        for (int i = 0; i < count; ++i)
            entries[i].current = std::max(entries[i].current, entries[i].minimum);
    }
    if (changed)
        for (int i = 0; i < count; ++i)
            entries[i].ideal = entries[i].current;
}

std::vector<CSplitterWnd::CRowColInfo> CMinSplitterWnd::LayOutRowsOrColumns(CRowColInfo* info, int count, int size,
                                                                            int& previous, int gap)
{
    std::vector<Extent> entries(count);
    for (int i = 0; i < count; ++i)
        entries[i] = { info[i].nMinSize, info[i].nIdealSize, info[i].nCurSize };
    LayOut(entries.data(), count, size, previous, gap);
    previous = size;
    // The base class places the panes: every entry but the last at its ideal
    // size when no minimum stands in the way, the last with the rest. What
    // the entries keep is given back afterwards.
    std::vector<CRowColInfo> kept(count);
    for (int i = 0; i < count; ++i)
    {
        kept[i] = { info[i].nMinSize, entries[i].ideal, entries[i].current };
        info[i].nMinSize = 0;
        info[i].nIdealSize = entries[i].current;
    }
    return kept;
}

void CMinSplitterWnd::RecalcLayout()
{
    if (!m_hWnd || m_nRows <= 0 || m_nCols <= 0)
        return;
    CRect client;
    GetClientRect(client);
    std::vector<CRowColInfo> rows =
        LayOutRowsOrColumns(m_pRowInfo, m_nRows, client.Height(), m_previousHeight, m_cySplitterGap);
    std::vector<CRowColInfo> columns =
        LayOutRowsOrColumns(m_pColInfo, m_nCols, client.Width(), m_previousWidth, m_cxSplitterGap);
    CSplitterWnd::RecalcLayout();
    std::copy(rows.begin(), rows.end(), m_pRowInfo);
    std::copy(columns.begin(), columns.end(), m_pColInfo);
}

void CMinSplitterWnd::BarLimits(const Extent* entries, int count, int index, int barStart, int size, int gap,
                                int& low, int& high)
{
    low = barStart - entries[index].current + entries[index].minimum;
    high = size - gap;
    for (int later = index + 1; later < count; ++later)
        high -= entries[later].minimum + (later > index + 1 ? gap : 0);
    high = std::max(high, low);
}

int CMinSplitterWnd::ClampTrack(const CRowColInfo* info, int count, int index, int barStart, int size, int gap,
                                int point, int trackStart)
{
    std::vector<Extent> entries(count);
    for (int i = 0; i < count; ++i)
        entries[i] = { info[i].nMinSize, info[i].nIdealSize, info[i].nCurSize };
    int low = 0;
    int high = 0;
    BarLimits(entries.data(), count, index, barStart, size, gap, low, high);
    // The base class moves the bar by the pointer's travel from where the
    // drag began.
    int bar = std::min(std::max(barStart + point - trackStart, low), high);
    return bar - barStart + trackStart;
}

LRESULT CMinSplitterWnd::OnMouseMove(WPARAM wParam, LPARAM lParam)
{
    if (!m_bTracking || ::GetCapture() != m_hWnd)
        return CSplitterWnd::OnMouseMove(wParam, lParam);
    const int hit = m_htTrack;
    const bool crossing = hit >= kFirstCrossing;
    const int row = crossing ? (hit - kFirstCrossing) / kCrossingsPerRow : hit - kFirstRowBar;
    const int column = crossing ? (hit - kFirstCrossing) % kCrossingsPerRow : hit - kFirstColumnBar;
    CRect client;
    GetClientRect(client);
    CPoint point((DWORD)lParam);
    if (crossing || (hit >= kFirstRowBar && hit <= kLastRowBar))
        point.y = ClampTrack(m_pRowInfo, m_nRows, row, RowBarRect(row).top, client.Height(), m_cySplitterGap,
                             point.y, m_ptTrackStart.y);
    if (crossing || (hit >= kFirstColumnBar && hit <= kLastColumnBar))
        point.x = ClampTrack(m_pColInfo, m_nCols, column, ColumnBarRect(column).left, client.Width(),
                             m_cxSplitterGap, point.x, m_ptTrackStart.x);
    return CSplitterWnd::OnMouseMove(wParam, MAKELPARAM(point.x, point.y));
}
