#include "platform/mfc/Geometry.h"

CSize CPoint::operator-(POINT point) const
{
    return CSize(x - point.x, y - point.y);
}

CRect CPoint::operator+(const RECT* rect) const
{
    CRect result(rect);
    result.OffsetRect(*this);
    return result;
}

CRect CPoint::operator-(const RECT* rect) const
{
    CRect result(rect);
    result.OffsetRect(-x, -y);
    return result;
}

CRect CSize::operator+(const RECT* rect) const
{
    CRect result(rect);
    result.OffsetRect(*this);
    return result;
}

CRect CSize::operator-(const RECT* rect) const
{
    CRect result(rect);
    result.OffsetRect(-cx, -cy);
    return result;
}

void CRect::NormalizeRect()
{
    if (left > right)
    {
        LONG swap = left;
        left = right;
        right = swap;
    }
    if (top > bottom)
    {
        LONG swap = top;
        top = bottom;
        bottom = swap;
    }
}

CRect CRect::operator+(POINT point) const
{
    CRect result(*this);
    result.OffsetRect(point);
    return result;
}

CRect CRect::operator-(POINT point) const
{
    CRect result(*this);
    result.OffsetRect(-point.x, -point.y);
    return result;
}

CRect CRect::operator+(SIZE size) const
{
    CRect result(*this);
    result.OffsetRect(size);
    return result;
}

CRect CRect::operator-(SIZE size) const
{
    CRect result(*this);
    result.OffsetRect(-size.cx, -size.cy);
    return result;
}

CRect CRect::operator+(LPCRECT rect) const
{
    CRect result(*this);
    result.InflateRect(rect);
    return result;
}

CRect CRect::operator-(LPCRECT rect) const
{
    CRect result(*this);
    result.DeflateRect(rect);
    return result;
}

CRect CRect::operator&(const RECT& rect) const
{
    CRect result;
    result.IntersectRect(this, &rect);
    return result;
}

CRect CRect::operator|(const RECT& rect) const
{
    CRect result;
    result.UnionRect(this, &rect);
    return result;
}
