// TkLNBorder_T: turns a node class into a node with at most one child and a
// margin on each side around it. Grippers, border spaces and edges draw in
// the margins. Pending growth is added to the next constrained layout.
#pragma once

#include "toolkit/docking/TkNodeBehaviours.h"

#include <algorithm>

template <class T>
class TkLNBorder_T : public T
{
public:
    TkLNBorder_T()
        : m_marginLeft(0), m_marginRight(0), m_marginTop(0), m_marginBottom(0), m_growTop(0),
          m_growBottom(0), m_growLeft(0), m_growRight(0)
    {
    }

    using T::GetChildCount;

    // The child's preferred rectangle with the margins around it.
    CRect GetReferenceRect() override
    {
        TkLayoutNode* child = GetWrappedNode();
        if (!child)
            return this->GetCurrentRect();
        CRect rect = child->GetReferenceRect();
        rect.InflateRect(m_marginLeft, m_marginTop, m_marginRight, m_marginBottom);
        return rect;
    }
    void SetReferenceRect(const CRect& rect) override
    {
        T::SetReferenceRect(rect);
        if (TkLayoutNode* child = GetWrappedNode())
        {
            CRect inner = rect;
            inner.DeflateRect(m_marginLeft, m_marginTop, m_marginRight, m_marginBottom);
            child->SetReferenceRect(inner);
        }
    }
    // A second child is refused; the answer is the present count.
    int AddChildNode(TkLayoutNode* node) override
    {
        if (GetChildCount() < 1)
            return T::AddChildNode(node);
        return GetChildCount();
    }
    int RemoveChildNode(TkLayoutNode* node) override { return T::RemoveChildNode(node); }
    void CalcLayout(CRect& result, const CRect& rect, BOOL constrain, BOOL force) override
    {
        CRect r = rect;
        if (constrain)
        {
            ApplyPendingGrowth(r);
            AddChildGrowth(r);
        }
        r.right = std::max(r.right, r.left);
        r.bottom = std::max(r.bottom, r.top);
        this->SetCurrentRect(r);
        if (TkLayoutNode* child = GetWrappedNode())
        {
            UpdateMinMax();
            RecalcChild(child, InnerRect(r));
        }
        result = r;
    }

    virtual TkLayoutNode* GetWrappedNode()
    {
        return this->GetChildAt(this->GetFirstChildPosition());
    }
    virtual int GetChildCount() { return T::GetChildCount(FALSE); }
    virtual void RecalcChild(TkLayoutNode* child, const CRect& rect)
    {
        CRect accepted;
        child->RecalcLayout(accepted, rect, FALSE, TRUE);
    }
    // A hidden child takes no room; otherwise the child's limits plus the margins.
    virtual void UpdateMinMax()
    {
        TkLayoutNode* child = GetWrappedNode();
        if (!child)
            return;
        ITkHideableNode* hideable = dynamic_cast<ITkHideableNode*>(child);
        if (hideable && !hideable->IsNodeVisible())
        {
            this->SetSizeLimits(CSize(0, 0), CSize(0, 0), 0);
            return;
        }
        CSize minimum, maximum;
        DWORD flags = 0;
        child->GetSizeLimits(&minimum, &maximum, &flags);
        CSize margins(m_marginLeft + m_marginRight, m_marginTop + m_marginBottom);
        this->SetSizeLimits(minimum + margins, maximum + margins, flags);
    }
    virtual void ApplyPendingGrowth(CRect& rect)
    {
        rect.top += m_growTop;
        rect.bottom += m_growBottom;
        rect.left += m_growLeft;
        rect.right += m_growRight;
        m_growTop = m_growBottom = m_growLeft = m_growRight = 0;
    }
    virtual void AddChildGrowth(CRect& rect)
    {
        TkLayoutNode* child = GetWrappedNode();
        if (!child)
            return;
        CRect before = child->GetCurrentRect();
        CRect after;
        child->RecalcLayout(after, before, TRUE, TRUE);
        rect.right += after.Width() - before.Width();
        rect.bottom += after.Height() - before.Height();
    }

    // Margins wider than r leave an empty inner rectangle inside r.
    CRect InnerRect(const CRect& r) const
    {
        CRect inner = r;
        inner.DeflateRect(m_marginLeft, m_marginTop, m_marginRight, m_marginBottom);
        inner.left = std::min(std::max(inner.left, r.left), r.right);
        inner.right = std::min(std::max(inner.right, r.left), r.right);
        inner.top = std::min(std::max(inner.top, r.top), r.bottom);
        inner.bottom = std::min(std::max(inner.bottom, r.top), r.bottom);
        inner.right = std::max(inner.right, inner.left);
        inner.bottom = std::max(inner.bottom, inner.top);
        return inner;
    }

protected:
    int m_marginLeft;
    int m_marginRight;
    int m_marginTop;
    int m_marginBottom;
    int m_growTop;
    int m_growBottom;
    int m_growLeft;
    int m_growRight;
};
