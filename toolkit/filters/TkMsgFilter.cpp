#include "toolkit/filters/TkMsgFilter.h"

TkMsgFilter::Descriptor::Descriptor(UINT id, UINT parentId, CRuntimeClass* filterClass,
                                    UINT flags)
    : m_nId(id), m_nParentId(parentId), m_pClass(filterClass), m_nFlags(flags)
{
}

TkMsgFilter::Descriptor* TkMsgFilter::Descriptor::Clone() const
{
    return new Descriptor(m_nId, m_nParentId, m_pClass, m_nFlags);
}

TkMsgFilter::DescriptorTable::DescriptorTable(const DescriptorTable& other)
{
    for (int index = 0; index < other.GetSize(); index++)
        CArray::Add(other[index]->Clone());
}

TkMsgFilter::DescriptorTable::~DescriptorTable()
{
    for (int index = 0; index < GetSize(); index++)
        delete GetAt(index);
}

void TkMsgFilter::DescriptorTable::Add(UINT id, UINT parentId, CRuntimeClass* filterClass,
                                       UINT flags)
{
    CArray::Add(new Descriptor(id, parentId, filterClass, flags));
}

TkMsgFilter::Descriptor* TkMsgFilter::DescriptorTable::Find(UINT id) const
{
    for (int index = 0; index < GetSize(); index++)
    {
        if (GetAt(index)->m_nId == id)
            return GetAt(index);
    }
    return NULL;
}

IMPLEMENT_DYNCREATE(TkMsgFilter, CObject)

TkMsgFilter::TkMsgFilter() : m_nId((UINT)-1), m_bEnabled(TRUE), m_bOwnsChildren(TRUE), m_pOwner(NULL)
{
}

TkMsgFilter::TkMsgFilter(CWnd* owner, UINT id)
    : m_nId(id), m_bEnabled(TRUE), m_bOwnsChildren(TRUE), m_pOwner(owner)
{
}

TkMsgFilter::TkMsgFilter(const TkMsgFilter& other)
    : CObject(), m_nId(other.m_nId), m_bEnabled(other.m_bEnabled), m_bOwnsChildren(TRUE),
      m_pOwner(other.m_pOwner)
{
    for (int index = 0; index < other.GetChildCount(); index++)
        m_children.Add(other.GetChild(index)->Clone());
}

TkMsgFilter::~TkMsgFilter()
{
    if (!m_bOwnsChildren)
        return;
    for (int index = 0; index < GetChildCount(); index++)
        delete GetChild(index);
}

TkMsgFilter* TkMsgFilter::Clone() const
{
    return CloneFilter(*this);
}

CWnd* TkMsgFilter::GetOwner() const
{
    return m_pOwner;
}

void TkMsgFilter::SetOwner(CWnd* owner, BOOL recurse)
{
    m_pOwner = owner;
    if (!recurse)
        return;
    for (int index = 0; index < GetChildCount(); index++)
        GetChild(index)->SetOwner(owner, TRUE);
}

TkMsgFilter* TkMsgFilter::GetChild(int index) const
{
    return index >= 0 && index < GetChildCount() ? m_children[index] : NULL;
}

LRESULT TkMsgFilter::Filter(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    return m_bEnabled ? OnFilter(message, wParam, lParam, result) : 0;
}

LRESULT TkMsgFilter::OnFilter(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    return FilterChildren(message, wParam, lParam, result);
}

LRESULT TkMsgFilter::FilterChildren(UINT message, WPARAM wParam, LPARAM lParam,
                                    LRESULT* result)
{
    LRESULT flags = 0;
    for (int index = 0; index < GetChildCount(); index++)
    {
        TkMsgFilter* child = GetChild(index);
        if (!child->IsEnabled())
            continue;
        LRESULT answer = child->Filter(message, wParam, lParam, result);
        flags |= answer;
        if (answer & TKMF_STOP)
            break;
    }
    return flags;
}

TkMsgFilter* TkMsgFilter::FindOrCreate(UINT id, CRuntimeClass* filterClass, int depth)
{
    for (int index = 0; index < GetChildCount(); index++)
    {
        if (GetChild(index)->GetId() == id)
            return GetChild(index);
    }
    if (depth != 0)
    {
        for (int index = 0; index < GetChildCount(); index++)
        {
            TkMsgFilter* found = GetChild(index)->FindOrCreate(id, NULL, depth - 1);
            if (found)
                return found;
        }
    }
    if (!filterClass || !filterClass->IsDerivedFrom(RUNTIME_CLASS(TkMsgFilter)))
        return NULL;
    TkMsgFilter* filter = static_cast<TkMsgFilter*>(filterClass->CreateObject());
    if (!filter)
        return NULL;
    filter->SetOwner(m_pOwner, TRUE);
    filter->SetId(id);
    m_children.Add(filter);
    return filter;
}

TkMsgFilter* TkMsgFilter::ApplyDescriptor(const Descriptor* descriptor, BOOL enable)
{
    TkMsgFilter* parent = this;
    if (descriptor->m_nParentId != (UINT)-1)
        parent = FindOrCreate(descriptor->m_nParentId, NULL, -1);
    if (!parent)
        return NULL;
    TkMsgFilter* filter = parent->FindOrCreate(descriptor->m_nId,
                                               enable ? descriptor->m_pClass : NULL, -1);
    if (filter && (enable || !(descriptor->m_nFlags & Descriptor::keepEnabled)))
        filter->Enable(enable);
    return filter;
}

void TkMsgFilter::ApplyDescriptors(const DescriptorTable* table, const BOOL* enables)
{
    for (int index = 0; index < table->GetSize(); index++)
        ApplyDescriptor(table->GetAt(index), enables[index]);
}

void TkMsgFilter::ApplyDescriptors(const DescriptorTable* table, BOOL enable)
{
    for (int index = 0; index < table->GetSize(); index++)
        ApplyDescriptor(table->GetAt(index), enable);
}

IMPLEMENT_DYNCREATE(TkNcMsgFilter, TkMsgFilter)

LRESULT FilterCurrentMessage(TkMsgFilter* root, LRESULT* result)
{
    const MSG* current = CWnd::GetCurrentMessage();
    if (!root || !current)
        return 0;
    return root->Filter(current->message, current->wParam, current->lParam, result);
}

LRESULT FilterBeforeDefault(CWnd* window, TkMsgFilter* root)
{
    LRESULT result = 0;
    if (FilterCurrentMessage(root, &result) & TKMF_HANDLED)
        return result;
    const MSG* current = CWnd::GetCurrentMessage();
    return window->DefWindowProc(current->message, current->wParam, current->lParam);
}

LRESULT FilterAfterDefault(CWnd* window, TkMsgFilter* root)
{
    const MSG* current = CWnd::GetCurrentMessage();
    LRESULT result = window->DefWindowProc(current->message, current->wParam, current->lParam);
    LRESULT filtered = result;
    FilterCurrentMessage(root, &filtered);
    return result;
}
