// The static splitter of the library tab: it keeps each pane at least at its
// minimum size instead of hiding it, and when even that does not fit, shares
// the room evenly. A dragged bar stops where a pane would go below its
// minimum.
#pragma once

#include <afxext.h>

#include <vector>

class CMinSplitterWnd : public CSplitterWnd
{
public:
    // One row's (or column's) sizes, as the layout works on them.
    struct Extent
    {
        int minimum;
        int ideal;
        int current;
    };
    // Lays out count entries in size (previous: the size of the last layout,
    // 0 before the first) with gap between entries.
    static void LayOut(Extent* entries, int count, int size, int previous, int gap);

    void RecalcLayout() override;

protected:
    // While a bar is dragged, the mouse is held to where the bar may go.
    LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    // Where the bar after entry index (now at barStart) may go: no nearer
    // the entry's start than its minimum, no further than leaves every later
    // entry its minimum in size.
    static void BarLimits(const Extent* entries, int count, int index, int barStart, int size, int gap,
                          int& low, int& high);
    // The pointer's coordinate along one axis, held to the bar's limits.
    static int ClampTrack(const CRowColInfo* info, int count, int index, int barStart, int size, int gap,
                          int point, int trackStart);
    // Sets the entries up for the base class's placing; what they keep after.
    std::vector<CRowColInfo> LayOutRowsOrColumns(CRowColInfo* info, int count, int size, int& previous, int gap);

    int m_previousHeight = 0;
    int m_previousWidth = 0;
};
