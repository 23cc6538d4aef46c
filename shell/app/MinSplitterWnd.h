// The static splitter of the library tab: it keeps each pane at least at its
// minimum size instead of hiding it, and when even that does not fit, shares
// the room evenly.
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

private:
    // Sets the entries up for the base class's placing; what they keep after.
    std::vector<CRowColInfo> LayOutRowsOrColumns(CRowColInfo* info, int count, int size, int& previous, int gap);

    int m_previousHeight = 0;
    int m_previousWidth = 0;
};
