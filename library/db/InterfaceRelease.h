// Releases a COM interface when the scope ends, thrown out of or not.
#pragma once

#include <unknwn.h>

class CInterfaceRelease
{
public:
    explicit CInterfaceRelease(IUnknown* object) : m_object(object) {}
    ~CInterfaceRelease() { if (m_object) m_object->Release(); }
    CInterfaceRelease(const CInterfaceRelease&) = delete;
    CInterfaceRelease& operator=(const CInterfaceRelease&) = delete;

private:
    IUnknown* m_object;
};
