#include "platform/mfc/HandleMap.h"

CHandleMap::CHandleMap(NewObjectFn newObject, ForgetHandlesFn forgetHandles)
    : m_newObject(newObject), m_forgetHandles(forgetHandles)
{
}

CHandleMap::~CHandleMap()
{
    DeleteTemp();
}

CObject* CHandleMap::FromHandle(HANDLE handle)
{
    if (!handle)
        return NULL;
    CObject* object = LookupPermanent(handle);
    if (object)
        return object;
    CObject*& temporary = m_temporary[handle];
    if (!temporary)
        temporary = m_newObject(handle);
    return temporary;
}

CObject* CHandleMap::LookupPermanent(HANDLE handle) const
{
    std::map<HANDLE, CObject*>::const_iterator found = m_permanent.find(handle);
    return found == m_permanent.end() ? NULL : found->second;
}

void CHandleMap::SetPermanent(HANDLE handle, CObject* object)
{
    m_permanent[handle] = object;
}

void CHandleMap::RemoveHandle(HANDLE handle)
{
    m_permanent.erase(handle);
}

void CHandleMap::DeleteTemp()
{
    std::map<HANDLE, CObject*> temporary;
    temporary.swap(m_temporary);
    for (std::map<HANDLE, CObject*>::iterator it = temporary.begin(); it != temporary.end(); ++it)
    {
        m_forgetHandles(it->second);
        delete it->second;
    }
}
