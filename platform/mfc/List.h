// CList: a doubly linked list of TYPE, passed in as ARG_TYPE. A POSITION is a
// node; GetNext and GetPrev return the element and move the position on
// (NULL past either end).
#pragma once

#include "platform/mfc/Debug.h"
#include "platform/mfc/ElementHelpers.h"
#include "platform/mfc/Object.h"
#include "platform/mfc/Plex.h"
#include "platform/mfc/Position.h"

#include <new>

template <class TYPE, class ARG_TYPE>
class CList : public CObject
{
protected:
    struct CNode
    {
        CNode* pNext;
        CNode* pPrev;
        TYPE data;
    };

public:
    explicit CList(int blockSize = 10) : m_pNodeHead(NULL), m_pNodeTail(NULL), m_nCount(0),
                                         m_pool(sizeof(CNode), blockSize) {}
    ~CList() override { RemoveAll(); }

    int GetCount() const { return m_nCount; }
    int GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    TYPE& GetHead() { return Checked(m_pNodeHead)->data; }
    const TYPE& GetHead() const { return Checked(m_pNodeHead)->data; }
    TYPE& GetTail() { return Checked(m_pNodeTail)->data; }
    const TYPE& GetTail() const { return Checked(m_pNodeTail)->data; }

    TYPE RemoveHead();
    TYPE RemoveTail();
    POSITION AddHead(ARG_TYPE element) { return InsertBefore(NULL, element); }
    POSITION AddTail(ARG_TYPE element) { return InsertAfter(NULL, element); }
    void AddHead(CList* other);
    void AddTail(CList* other);
    void RemoveAll();

    POSITION GetHeadPosition() const { return ToPosition(m_pNodeHead); }
    POSITION GetTailPosition() const { return ToPosition(m_pNodeTail); }
    TYPE& GetNext(POSITION& position) { return Step(position, true)->data; }
    const TYPE& GetNext(POSITION& position) const { return Step(position, true)->data; }
    TYPE& GetPrev(POSITION& position) { return Step(position, false)->data; }
    const TYPE& GetPrev(POSITION& position) const { return Step(position, false)->data; }

    TYPE& GetAt(POSITION position) { return ToNode(position)->data; }
    const TYPE& GetAt(POSITION position) const { return ToNode(position)->data; }
    void SetAt(POSITION position, ARG_TYPE element) { ToNode(position)->data = element; }
    void RemoveAt(POSITION position);

    // NULL as the position inserts at the head (before) or the tail (after).
    POSITION InsertBefore(POSITION position, ARG_TYPE element);
    POSITION InsertAfter(POSITION position, ARG_TYPE element);

    // Searches after startAfter, or from the head; NULL when not found.
    POSITION Find(ARG_TYPE value, POSITION startAfter = NULL) const;
    // NULL when the index is outside the list.
    POSITION FindIndex(int index) const;

    void Serialize(CArchive& ar) override;

protected:
    CNode* m_pNodeHead;
    CNode* m_pNodeTail;
    int m_nCount;

private:
    static POSITION ToPosition(CNode* node) { return reinterpret_cast<POSITION>(node); }
    static CNode* ToNode(POSITION position)
    {
        return Checked(reinterpret_cast<CNode*>(position));
    }
    static CNode* Checked(CNode* node)
    {
        ASSERT(node != NULL);
        return node;
    }
    CNode* Step(POSITION& position, bool forward) const
    {
        CNode* node = ToNode(position);
        position = ToPosition(forward ? node->pNext : node->pPrev);
        return node;
    }
    CNode* NewNode(CNode* prev, CNode* next, ARG_TYPE element);
    // Puts a new node between prev and next (NULL at either end of the list).
    POSITION Link(CNode* prev, CNode* next, ARG_TYPE element);
    void FreeNode(CNode* node);

    CPlexPool m_pool;
};

template <class TYPE, class ARG_TYPE>
typename CList<TYPE, ARG_TYPE>::CNode* CList<TYPE, ARG_TYPE>::NewNode(CNode* prev, CNode* next,
                                                                     ARG_TYPE element)
{
    CNode* node = static_cast<CNode*>(m_pool.Alloc());
    try {
        new (node) CNode{ next, prev, element };
    } catch (...) {
        m_pool.Free(node);
        throw;
    }
    m_nCount++;
    return node;
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::FreeNode(CNode* node)
{
    node->~CNode();
    m_pool.Free(node);
    if (--m_nCount == 0)
        m_pool.FreeAll();
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::Link(CNode* prev, CNode* next, ARG_TYPE element)
{
    CNode* node = NewNode(prev, next, element);
    if (prev)
        prev->pNext = node;
    else
        m_pNodeHead = node;
    if (next)
        next->pPrev = node;
    else
        m_pNodeTail = node;
    return ToPosition(node);
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::InsertBefore(POSITION position, ARG_TYPE element)
{
    CNode* next = position ? ToNode(position) : m_pNodeHead;
    return Link(next ? next->pPrev : NULL, next, element);
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::InsertAfter(POSITION position, ARG_TYPE element)
{
    CNode* prev = position ? ToNode(position) : m_pNodeTail;
    return Link(prev, prev ? prev->pNext : NULL, element);
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::RemoveAt(POSITION position)
{
    CNode* node = ToNode(position);
    if (node->pPrev)
        node->pPrev->pNext = node->pNext;
    else
        m_pNodeHead = node->pNext;
    if (node->pNext)
        node->pNext->pPrev = node->pPrev;
    else
        m_pNodeTail = node->pPrev;
    FreeNode(node);
}

template <class TYPE, class ARG_TYPE>
TYPE CList<TYPE, ARG_TYPE>::RemoveHead()
{
    TYPE element = GetHead();
    RemoveAt(ToPosition(m_pNodeHead));
    return element;
}

template <class TYPE, class ARG_TYPE>
TYPE CList<TYPE, ARG_TYPE>::RemoveTail()
{
    TYPE element = GetTail();
    RemoveAt(ToPosition(m_pNodeTail));
    return element;
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::AddHead(CList* other)
{
    // Walked from the tail so that the other list keeps its order in front.
    CNode* first = other->m_pNodeHead;
    for (CNode* node = other->m_pNodeTail; node; node = node->pPrev) {
        AddHead(node->data);
        // Adding a list to itself stops at its old head.
        if (node == first)
            break;
    }
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::AddTail(CList* other)
{
    CNode* last = other->m_pNodeTail;
    for (CNode* node = other->m_pNodeHead; node; node = node->pNext) {
        AddTail(node->data);
        // Adding a list to itself stops at its old tail.
        if (node == last)
            break;
    }
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::RemoveAll()
{
    while (m_pNodeHead)
        RemoveAt(ToPosition(m_pNodeHead));
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::Find(ARG_TYPE value, POSITION startAfter) const
{
    CNode* node = startAfter ? ToNode(startAfter)->pNext : m_pNodeHead;
    for (; node; node = node->pNext) {
        if (CompareElements<TYPE, ARG_TYPE>(&node->data, &value))
            return ToPosition(node);
    }
    return NULL;
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::FindIndex(int index) const
{
    if (index < 0 || index >= m_nCount)
        return NULL;
    CNode* node = m_pNodeHead;
    while (index-- > 0)
        node = node->pNext;
    return ToPosition(node);
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteCount(static_cast<DWORD>(m_nCount));
        for (CNode* node = m_pNodeHead; node; node = node->pNext)
            SerializeElements<TYPE>(ar, &node->data, 1);
        return;
    }
    RemoveAll();
    DWORD count = ar.ReadCount();
    for (DWORD i = 0; i < count; i++)
        AddTail(LoadElement<TYPE>(ar));
}
