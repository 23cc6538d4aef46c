#include "toolkit/docking/TkInsertConstraints.h"

#include <afxext.h>

void TkDynGridInsertConstraints::CopyFrom(const TkDynGridInsertConstraints& o)
{
    if (&o == this)
        return;
    m_reference = o.m_reference;
    m_after = o.m_after;
    m_newLine = o.m_newLine;
    m_resizable = o.m_resizable;
    m_extent = o.m_extent;
    m_lineThickness = o.m_lineThickness;
    m_usePoint = o.m_usePoint;
    m_point = o.m_point;
    m_index = o.m_index;
    m_useIndex = o.m_useIndex;
    m_lineIndex = o.m_lineIndex;
}

void TkDynGridInsertConstraints::Reset()
{
    m_reference = NULL;
    m_after = TRUE;
    m_newLine = FALSE;
    m_resizable = TRUE;
    m_extent = -1;
    m_lineThickness = -1;
    m_usePoint = FALSE;
    m_point = CPoint(0, 0);
    m_index = 0;
    m_useIndex = FALSE;
    m_lineIndex = 0;
}

void TkDynGridInsertConstraints::SetIndex(int index, BOOL after, BOOL useIndex)
{
    m_index = index;
    m_after = after;
    m_useIndex = useIndex;
}

BOOL TkDynGridInsertConstraints::GetIndex(int* index) const
{
    if (index)
        *index = m_index;
    return m_useIndex;
}

void TkDynGridInsertConstraints::SetInsertPoint(CPoint point, BOOL use)
{
    m_point = point;
    m_usePoint = use;
}

void TkDockInsertionConstraints::Reset()
{
    m_side = 0;
    TkDynGridInsertConstraints::Reset();
}

void TkDockInsertionConstraints::CopyFrom(const TkDockInsertionConstraints& other)
{
    m_side = other.m_side;
    TkDynGridInsertConstraints::CopyFrom(other);
}

int TkDockInsertionConstraints::SideFromStyle(DWORD style)
{
    if (style & CBRS_ALIGN_LEFT)
        return 2;
    if (style & CBRS_ALIGN_TOP)
        return 0;
    if (style & CBRS_ALIGN_RIGHT)
        return 3;
    if (style & CBRS_ALIGN_BOTTOM)
        return 1;
    return 0;
}

void TkDockInProgressInfo::Reset()
{
    m_oldPlace.SetRectEmpty();
    m_horizontal = TRUE;
    m_pointOffset = CPoint(0, 0);
    m_hasTargetRect = FALSE;
    m_targetRect.SetRectEmpty();
}

void TkDockInProgressInfo::SetTargetRect(const CRect& rect)
{
    m_targetRect = rect;
    m_hasTargetRect = TRUE;
}

BOOL TkDockInProgressInfo::GetTargetRect(CRect* rect) const
{
    if (rect)
        *rect = m_targetRect;
    return m_hasTargetRect;
}
