// TkDockBar::Splitter: the 6-pixel handle between two bars of a row or
// between a row and the frame's client area; dragging it moves the bars'
// shares or the row's thickness. TkDockBar::ClientEdge: the 2-pixel sunken
// line between a row and the client area on the sides that have no splitter.
#pragma once

#include "toolkit/bars/TkDockBar.h"

class TkDockBar::Splitter : public CObject
{
public:
    enum Orientation
    {
        kHorizontalLine = 0,  // moves along y
        kVerticalLine = 1,    // moves along x
    };
    static constexpr int kThickness = 6;

    Splitter(BOOL betweenBars, int orientation, const CRect& rect, int index);

    virtual void Draw(CDC* dc);

    // The coordinate of the leading edge along the direction it moves in.
    int GetPosition() const;
    BOOL MovesAlongX() const { return m_nOrientation == kVerticalLine; }

    int m_nOrientation;
    BOOL m_bBetweenBars;
    // In the dock bar's client coordinates.
    CRect m_rect;
    // The bar before it (between bars) or the start of its row.
    int m_nIndex;
    BOOL m_bUsed;
    int m_nLowLimit;
    int m_nHighLimit;
};

class TkDockBar::ClientEdge : public CObject
{
public:
    enum Kind
    {
        kHorizontal = 0,
        kVertical = 1,
    };
    static constexpr int kThickness = 2;

    ClientEdge(int kind, const CRect& rect) : m_nKind(kind), m_rect(rect), m_bUsed(TRUE) {}

    virtual void Draw(CDC* dc);

    int m_nKind;
    CRect m_rect;
    BOOL m_bUsed;
};
