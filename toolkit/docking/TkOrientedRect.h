// TkOrientedRect: a rectangle read along a grid line (primary axis: x for a
// horizontal line, y for a vertical one) or across it (secondary axis). The
// grid code is written once for both orientations through it. Nothing is
// normalised: an inverted rectangle gives negative extents.
#pragma once

#include <afxwin.h>

class TkOrientedRect : public CRect
{
public:
    TkOrientedRect() : m_horizontal(TRUE) {}
    TkOrientedRect(const RECT& rect, BOOL horizontal) : CRect(rect), m_horizontal(horizontal) {}

    void SetOrientation(BOOL horizontal) { m_horizontal = horizontal; }
    BOOL IsHorizontal() const { return m_horizontal; }
    void Assign(const RECT& rect) { CopyRect(&rect); }

    int GetPrimaryNear() const { return m_horizontal ? left : top; }
    int GetPrimaryFar() const { return m_horizontal ? right : bottom; }
    void SetPrimaryNear(int v) { (m_horizontal ? left : top) = v; }
    void SetPrimaryFar(int v) { (m_horizontal ? right : bottom) = v; }
    int GetSecondaryNear() const { return m_horizontal ? top : left; }
    int GetSecondaryFar() const { return m_horizontal ? bottom : right; }
    void SetSecondaryNear(int v) { (m_horizontal ? top : left) = v; }
    void SetSecondaryFar(int v) { (m_horizontal ? bottom : right) = v; }
    int GetPrimaryExtent() const { return GetPrimaryFar() - GetPrimaryNear(); }
    int GetSecondaryExtent() const { return GetSecondaryFar() - GetSecondaryNear(); }
    int GetPrimary(const POINT& point) const { return m_horizontal ? point.x : point.y; }
    int GetSecondary(const POINT& point) const { return m_horizontal ? point.y : point.x; }

private:
    BOOL m_horizontal;
};
