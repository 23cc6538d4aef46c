// CHandleMap: which object stands for which GDI, DC or menu handle on this
// thread. Attached objects are permanent; FromHandle makes a temporary
// object for a handle that has none, and DeleteTemp drops those at idle time
// without touching their handles.
#pragma once

#include <afx.h>

#include <map>

class CHandleMap
{
public:
    // Makes a temporary object that refers to handle.
    typedef CObject* (*NewObjectFn)(HANDLE handle);
    // Clears the object's handles so that deleting it leaves them alone.
    typedef void (*ForgetHandlesFn)(CObject* object);

    CHandleMap(NewObjectFn newObject, ForgetHandlesFn forgetHandles);
    ~CHandleMap();

    CObject* FromHandle(HANDLE handle);
    CObject* LookupPermanent(HANDLE handle) const;
    void SetPermanent(HANDLE handle, CObject* object);
    void RemoveHandle(HANDLE handle);
    void DeleteTemp();

private:
    NewObjectFn m_newObject;
    ForgetHandlesFn m_forgetHandles;
    std::map<HANDLE, CObject*> m_permanent;
    std::map<HANDLE, CObject*> m_temporary;
};
