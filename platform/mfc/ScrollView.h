// CScrollView: a view larger than its window. SetScrollSizes gives the size
// of what it shows; the view keeps its scroll bars to that size and moves
// the DC's origin in OnPrepareDC, so that OnDraw draws at fixed positions.
#pragma once

#include "platform/mfc/View.h"
#include "platform/mfc/Geometry.h"

class CScrollView : public CView
{
    DECLARE_DYNAMIC(CScrollView)
public:
    // Page and line sizes from the window: a tenth of the page is a line.
    static const SIZE sizeDefault;

    // Sizes in logical units of mapMode.
    void SetScrollSizes(int mapMode, SIZE sizeTotal, const SIZE& sizePage = sizeDefault,
                        const SIZE& sizeLine = sizeDefault);
    CSize GetTotalSize() const;
    // The logical point at the window's top left.
    CPoint GetScrollPosition() const;
    void ScrollToPosition(POINT point);
    void GetDeviceScrollSizes(int& mapMode, SIZE& sizeTotal, SIZE& sizePage,
                              SIZE& sizeLine) const;

    void OnPrepareDC(CDC* dc) override;

protected:
    CScrollView();

    // A scroll-bar request (SB_LINEDOWN ...) for the bar in HIBYTE (SB_HORZ,
    // SB_VERT) or LOBYTE of code; FALSE when nothing moved.
    virtual BOOL OnScroll(UINT code, UINT pos, BOOL doScroll = TRUE);
    // Scrolls by size device units, kept inside the total; FALSE when nothing moved.
    virtual BOOL OnScrollBy(CSize size, BOOL doScroll = TRUE);
    // Shows the bars the window needs for the total size.
    void UpdateBars();

    void OnSize(UINT type, int cx, int cy);
    void OnHScroll(UINT code, UINT pos, CScrollBar* bar);
    void OnVScroll(UINT code, UINT pos, CScrollBar* bar);
    DECLARE_MESSAGE_MAP()

    int m_nMapMode;
    CSize m_totalLog;
    CSize m_totalDev;
    CSize m_pageDev;
    CSize m_lineDev;

private:
    // A logical size of the mapping mode in device units (signs dropped).
    CSize LogicalToDevice(SIZE size) const;
    int NewPosition(int bar, UINT code, UINT pos) const;

    BOOL m_bInsideUpdate;
};
