// The tree under every layout node: a node keeps its children in a pointer
// list and knows its parent. IComposite_T is what nodes call on each other;
// ITreeCollection_T hands out positions for the iterators, which walk the
// direct children (Iterator_T) or a whole subtree (IteratorPreOrder_T:
// children first, siblings in list order, the start node last).
#pragma once

#include <afxwin.h>
#include <afxcoll.h>

#include <vector>

class CCIterPos
{
public:
    virtual ~CCIterPos() {}
};

// One list position together with the node whose list it is in.
template <class T>
class CCIterPos_T : public CCIterPos
{
public:
    CCIterPos_T(T owner, POSITION position) : m_owner(owner), m_position(position) {}
    T m_owner;
    POSITION m_position;
};

template <class T>
class ICollection_T
{
public:
    virtual ~ICollection_T() {}
    virtual int GetChildCount(BOOL recursive) = 0;
};

// Positions come from here and belong to the caller.
template <class T>
class ITreeCollection_T
{
public:
    virtual ~ITreeCollection_T() {}
    virtual CCIterPos_T<T>* GetFirstChildPos(T parent) = 0;
    virtual CCIterPos_T<T>* GetLastChildPos(T parent) = 0;
    virtual CCIterPos_T<T>* GetNextSiblingPos(const CCIterPos_T<T>* position) = 0;
    virtual CCIterPos_T<T>* GetPrevSiblingPos(const CCIterPos_T<T>* position) = 0;
    virtual T GetNodeAt(const CCIterPos_T<T>* position) = 0;
    virtual T GetParentOf(T node) = 0;
    virtual BOOL IsEmptyPos(const CCIterPos_T<T>* position) = 0;
};

template <class T, class POS>
class IComposite_T : public ICollection_T<T>
{
public:
    virtual T GetChildAt(POS position) = 0;
    virtual BOOL AddChild(T child) = 0;
    virtual BOOL InsertChild(T child, POS after) = 0;
    virtual BOOL RemoveChild(T child) = 0;
    virtual BOOL RemoveChildAt(POS position) = 0;
    virtual BOOL FindChild(T child, POS* position) = 0;
    virtual POS GetFirstChildPosition() = 0;
    virtual POS GetLastChildPosition() = 0;
    virtual POS GetNextChildPosition(POS position) = 0;
    virtual POS GetPrevChildPosition(POS position) = 0;
    virtual void SetCompositeParent(T parent, BOOL notify) = 0;
    virtual T GetCompositeParent() = 0;
};

// T is a pointer to the class that derives from this one.
template <class T>
class TkComposite_T : public IComposite_T<T, POSITION>, public ITreeCollection_T<T>
{
public:
    TkComposite_T() : m_children(10), m_parent(NULL) {}

    int GetChildCount(BOOL recursive) override
    {
        int count = m_children.GetCount();
        if (recursive)
            for (POSITION p = m_children.GetHeadPosition(); p;)
                count += Child(m_children.GetNext(p))->GetChildCount(TRUE);
        return count;
    }
    T GetChildAt(POSITION position) override
    {
        return position ? Child(m_children.GetAt(position)) : NULL;
    }
    BOOL AddChild(T child) override
    {
        if (!child)
            return FALSE;
        m_children.AddTail(child);
        child->SetCompositeParent(Self(), FALSE);
        return TRUE;
    }
    BOOL InsertChild(T child, POSITION after) override
    {
        if (!child)
            return FALSE;
        if (after)
            m_children.InsertAfter(after, child);
        else
            m_children.AddHead(child);
        child->SetCompositeParent(Self(), FALSE);
        return TRUE;
    }
    BOOL RemoveChild(T child) override
    {
        POSITION position = NULL;
        return FindChild(child, &position) && RemoveChildAt(position);
    }
    BOOL RemoveChildAt(POSITION position) override
    {
        if (!position)
            return FALSE;
        T child = Child(m_children.GetAt(position));
        m_children.RemoveAt(position);
        child->SetCompositeParent(NULL, FALSE);
        return TRUE;
    }
    BOOL FindChild(T child, POSITION* position) override
    {
        POSITION found = child ? m_children.Find(child) : NULL;
        if (position)
            *position = found;
        return found != NULL;
    }
    POSITION GetFirstChildPosition() override { return m_children.GetHeadPosition(); }
    POSITION GetLastChildPosition() override { return m_children.GetTailPosition(); }
    POSITION GetNextChildPosition(POSITION position) override
    {
        if (position)
            m_children.GetNext(position);
        return position;
    }
    POSITION GetPrevChildPosition(POSITION position) override
    {
        if (position)
            m_children.GetPrev(position);
        return position;
    }
    // Either side may be missing: a node without parent, or one that only
    // leaves its parent.
    void SetCompositeParent(T parent, BOOL notify) override
    {
        if (notify)
        {
            if (m_parent)
                m_parent->RemoveChild(Self());
            if (parent)
                parent->AddChild(Self());
        }
        m_parent = parent;
    }
    T GetCompositeParent() override { return m_parent; }

    CCIterPos_T<T>* GetFirstChildPos(T parent) override
    {
        return new CCIterPos_T<T>(parent, parent ? parent->GetFirstChildPosition() : NULL);
    }
    CCIterPos_T<T>* GetLastChildPos(T parent) override
    {
        return new CCIterPos_T<T>(parent, parent ? parent->GetLastChildPosition() : NULL);
    }
    CCIterPos_T<T>* GetNextSiblingPos(const CCIterPos_T<T>* position) override
    {
        return new CCIterPos_T<T>(position->m_owner,
                                  position->m_owner->GetNextChildPosition(position->m_position));
    }
    CCIterPos_T<T>* GetPrevSiblingPos(const CCIterPos_T<T>* position) override
    {
        return new CCIterPos_T<T>(position->m_owner,
                                  position->m_owner->GetPrevChildPosition(position->m_position));
    }
    T GetNodeAt(const CCIterPos_T<T>* position) override
    {
        return position->m_owner->GetChildAt(position->m_position);
    }
    T GetParentOf(T node) override { return node ? node->GetCompositeParent() : NULL; }
    BOOL IsEmptyPos(const CCIterPos_T<T>* position) override
    {
        return !position || !position->m_position;
    }

protected:
    CPtrList m_children;
    T m_parent;

private:
    T Self() { return static_cast<T>(this); }
    static T Child(void* item) { return static_cast<T>(item); }
};

// The direct children of one node, in list order.
template <class T>
class Iterator_T
{
public:
    Iterator_T(ITreeCollection_T<T>* collection, T parent)
        : m_collection(collection), m_parent(parent), m_position(NULL)
    {
    }
    ~Iterator_T() { delete m_position; }
    Iterator_T(const Iterator_T&) = delete;
    Iterator_T& operator=(const Iterator_T&) = delete;

    void First() { Replace(m_collection->GetFirstChildPos(m_parent)); }
    void Last() { Replace(m_collection->GetLastChildPos(m_parent)); }
    void Next() { if (m_position) Replace(m_collection->GetNextSiblingPos(m_position)); }
    void Prev() { if (m_position) Replace(m_collection->GetPrevSiblingPos(m_position)); }
    T Current()
    {
        return m_collection->IsEmptyPos(m_position) ? NULL : m_collection->GetNodeAt(m_position);
    }
    T GetParentOf(T node) { return m_collection->GetParentOf(node); }

private:
    void Replace(CCIterPos_T<T>* position)
    {
        delete m_position;
        m_position = position;
    }

    ITreeCollection_T<T>* m_collection;
    T m_parent;
    CCIterPos_T<T>* m_position;
};

// A whole subtree: every node after its descendants, the start node last.
template <class T>
class IteratorPreOrder_T
{
public:
    IteratorPreOrder_T(ITreeCollection_T<T>* collection, T start)
        : m_collection(collection), m_start(start), m_current(NULL)
    {
    }
    ~IteratorPreOrder_T() { Clear(); }
    IteratorPreOrder_T(const IteratorPreOrder_T&) = delete;
    IteratorPreOrder_T& operator=(const IteratorPreOrder_T&) = delete;

    void First()
    {
        Clear();
        m_current = m_start ? DescendToLeaf(m_start) : NULL;
    }
    void Next()
    {
        if (!m_current || m_path.empty())
        {
            m_current = NULL;
            return;
        }
        CCIterPos_T<T>* sibling = m_collection->GetNextSiblingPos(m_path.back());
        if (!m_collection->IsEmptyPos(sibling))
        {
            delete m_path.back();
            m_path.back() = sibling;
            m_current = DescendToLeaf(m_collection->GetNodeAt(sibling));
            return;
        }
        delete sibling;
        m_current = m_path.back()->m_owner;
        delete m_path.back();
        m_path.pop_back();
    }
    T Current() const { return m_current; }

private:
    T DescendToLeaf(T node)
    {
        for (;;)
        {
            CCIterPos_T<T>* first = m_collection->GetFirstChildPos(node);
            if (m_collection->IsEmptyPos(first))
            {
                delete first;
                return node;
            }
            m_path.push_back(first);
            node = m_collection->GetNodeAt(first);
        }
    }
    void Clear()
    {
        for (CCIterPos_T<T>* position : m_path)
            delete position;
        m_path.clear();
        m_current = NULL;
    }

    ITreeCollection_T<T>* m_collection;
    T m_start;
    T m_current;
    // The position of every node on the way down from the start.
    std::vector<CCIterPos_T<T>*> m_path;
};
