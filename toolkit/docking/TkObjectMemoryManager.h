// TkObjectMemoryManager_T: the one owner that deletes what the layout engine
// creates (nodes, listeners, containers, constraints, and other managers).
// An object is listed at most once and deleted exactly once.
#pragma once

#include <afxwin.h>
#include <afxcoll.h>

template <class T>
class TkObjectMemoryManager_T
{
public:
    TkObjectMemoryManager_T() : m_objects(10) {}
    virtual ~TkObjectMemoryManager_T() { FreeAll(); }
    TkObjectMemoryManager_T(const TkObjectMemoryManager_T&) = delete;
    TkObjectMemoryManager_T& operator=(const TkObjectMemoryManager_T&) = delete;

    virtual BOOL Manage(T* object)
    {
        if (!object || IsManaged(object))
            return FALSE;
        m_objects.AddTail(object);
        return TRUE;
    }
    virtual BOOL Unmanage(T* object)
    {
        POSITION position = IsManaged(object);
        if (!position)
            return FALSE;
        m_objects.RemoveAt(position);
        return TRUE;
    }
    virtual POSITION IsManaged(T* object)
    {
        return object ? m_objects.Find(object) : NULL;
    }
    // Each object leaves the list before it is deleted: a destructor that
    // unmanages itself, or deletes a neighbour, finds the list consistent.
    virtual int FreeAll()
    {
        int count = m_objects.GetCount();
        while (!m_objects.IsEmpty())
            delete static_cast<T*>(m_objects.RemoveHead());
        return count;
    }
    virtual int GetCount() { return m_objects.GetCount(); }

protected:
    CPtrList m_objects;
};
