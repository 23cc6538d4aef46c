#include "platform/mfc/Object.h"

#include <string.h>

namespace {

// Filled by static constructors before main; read-only after.
CRuntimeClass* g_firstClass;

} // namespace

CRuntimeClass CObject::classCObject = { "CObject", sizeof(CObject), kNoSchema, NULL, NULL, NULL };
static AFX_CLASSINIT _init_CObject(RUNTIME_CLASS(CObject));

AFX_CLASSINIT::AFX_CLASSINIT(CRuntimeClass* newClass)
{
    newClass->m_pNextClass = g_firstClass;
    g_firstClass = newClass;
}

CObject* CRuntimeClass::CreateObject()
{
    return m_pfnCreateObject ? m_pfnCreateObject() : NULL;
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* baseClass) const
{
    for (const CRuntimeClass* c = this; c; c = c->m_pBaseClass) {
        if (c == baseClass)
            return TRUE;
    }
    return FALSE;
}

CRuntimeClass* PASCAL CRuntimeClass::FromName(LPCSTR className)
{
    for (CRuntimeClass* c = g_firstClass; c && className; c = c->m_pNextClass) {
        if (strcmp(c->m_lpszClassName, className) == 0)
            return c;
    }
    return NULL;
}

CObject* PASCAL CRuntimeClass::CreateObject(LPCSTR className)
{
    CRuntimeClass* c = FromName(className);
    return c ? c->CreateObject() : NULL;
}

CObject::CObject()
{
}

CObject::~CObject()
{
}

CRuntimeClass* CObject::GetRuntimeClass() const
{
    return RUNTIME_CLASS(CObject);
}

void CObject::Serialize(CArchive&)
{
}

void CObject::AssertValid() const
{
}

BOOL CObject::IsSerializable() const
{
    return GetRuntimeClass()->m_wSchema != kNoSchema;
}

BOOL CObject::IsKindOf(const CRuntimeClass* someClass) const
{
    return GetRuntimeClass()->IsDerivedFrom(someClass);
}
