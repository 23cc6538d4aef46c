// TkMsgFilter: a node of a window's message-filter tree. A filter sees the
// owner window's messages before the window's own handling; a root (id -1)
// is given every message and passes it down its enabled children. The tree
// is built from tables of descriptors, each naming a filter by id, its parent
// and its class. TkNcMsgFilter marks the filters of non-client messages.
#pragma once

#include <afxwin.h>

// Result bits of Filter.
const LRESULT TKMF_HANDLED = 0x0001;
// No later sibling sees the message.
const LRESULT TKMF_STOP = 0x0100;

class TkMsgFilter : public CObject
{
    DECLARE_DYNCREATE(TkMsgFilter)
public:
    // Which filter a tree has: id, parent (-1: under the root), class, flags.
    class Descriptor
    {
    public:
        // Bit 0 of m_nFlags: applying the descriptor switched off leaves the
        // filter enabled.
        enum
        {
            keepEnabled = 1,
        };
        Descriptor(UINT id, UINT parentId, CRuntimeClass* filterClass, UINT flags = 0);
        virtual ~Descriptor() {}
        virtual Descriptor* Clone() const;

        UINT m_nId;
        UINT m_nParentId;
        CRuntimeClass* m_pClass;
        UINT m_nFlags;
    };
    // Owns its descriptors.
    class DescriptorTable : public CArray<Descriptor*, Descriptor*>
    {
    public:
        DescriptorTable() {}
        DescriptorTable(const DescriptorTable& other);
        ~DescriptorTable();
        void Add(UINT id, UINT parentId, CRuntimeClass* filterClass, UINT flags = 0);
        // The descriptor of id, NULL when none.
        Descriptor* Find(UINT id) const;

    private:
        DescriptorTable& operator=(const DescriptorTable&);
    };

    TkMsgFilter();
    TkMsgFilter(CWnd* owner, UINT id);
    ~TkMsgFilter() override;

    virtual TkMsgFilter* Clone() const;
    virtual CWnd* GetOwner() const;
    virtual void SetOwner(CWnd* owner, BOOL recurse);
    // 0 when disabled.
    virtual LRESULT Filter(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual LRESULT OnFilter(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual LRESULT FilterChildren(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // The child of id; with depth (-1: any) a descendant; else, with a class,
    // a new child of that class. NULL when none.
    virtual TkMsgFilter* FindOrCreate(UINT id, CRuntimeClass* filterClass, int depth);
    virtual TkMsgFilter* ApplyDescriptor(const Descriptor* descriptor, BOOL enable);
    virtual void ApplyDescriptors(const DescriptorTable* table, const BOOL* enables);
    virtual void ApplyDescriptors(const DescriptorTable* table, BOOL enable);

    UINT GetId() const { return m_nId; }
    void SetId(UINT id) { m_nId = id; }
    BOOL IsEnabled() const { return m_bEnabled; }
    void Enable(BOOL enable) { m_bEnabled = enable; }
    int GetChildCount() const { return (int)m_children.GetSize(); }
    TkMsgFilter* GetChild(int index) const;

    // Copies id, enabled flag and owner, and clones the children.
    TkMsgFilter(const TkMsgFilter& other);

protected:
    UINT m_nId;
    BOOL m_bEnabled;
    BOOL m_bOwnsChildren;
    CArray<TkMsgFilter*, TkMsgFilter*> m_children;
    CWnd* m_pOwner;

private:
    TkMsgFilter& operator=(const TkMsgFilter&);
};

// Clone of each filter class: a copy of the same class that owns clones of
// the children, with the owner set on the whole copy.
template <class FilterClass>
TkMsgFilter* CloneFilter(const FilterClass& filter)
{
    TkMsgFilter* copy = new FilterClass(filter);
    copy->SetOwner(filter.GetOwner(), TRUE);
    return copy;
}

class TkNcMsgFilter : public TkMsgFilter
{
    DECLARE_DYNCREATE(TkNcMsgFilter)
public:
    TkNcMsgFilter() {}
    TkMsgFilter* Clone() const override { return CloneFilter(*this); }

    TkNcMsgFilter(const TkNcMsgFilter& other) : TkMsgFilter(other) {}
};

// Offers the message the thread is dispatching to root; result gets the
// answer when bit 0 of the returned flags is set.
LRESULT FilterCurrentMessage(TkMsgFilter* root, LRESULT* result);
// The frames' handling of the message being dispatched to window: the
// filters' answer when they handled it, else the window's default.
LRESULT FilterBeforeDefault(CWnd* window, TkMsgFilter* root);
// The window's default answers; the filters see the message after it (to
// draw over what the default drew).
LRESULT FilterAfterDefault(CWnd* window, TkMsgFilter* root);
