// CObject and the run-time class records behind IsKindOf, CreateObject and
// the class tags of archives.
#pragma once

#include <windows.h>

class CObject;
class CArchive;

// Objects of classes whose schema has this bit load older schemas too; the
// loader asks CArchive::GetObjectSchema which one it reads.
const UINT VERSIONABLE_SCHEMA = 0x80000000;
// The schema of classes that are not serializable.
const UINT kNoSchema = 0xFFFF;

struct CRuntimeClass
{
    LPCSTR m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema;
    CObject* (PASCAL* m_pfnCreateObject)();
    CRuntimeClass* m_pBaseClass;
    // Links every class that has a record, for FromName.
    CRuntimeClass* m_pNextClass;

    // NULL when the class cannot be created from its record.
    CObject* CreateObject();
    BOOL IsDerivedFrom(const CRuntimeClass* baseClass) const;

    static CRuntimeClass* PASCAL FromName(LPCSTR className);
    static CObject* PASCAL CreateObject(LPCSTR className);
};

// Enters a class into the list FromName searches; one static object per class.
struct AFX_CLASSINIT
{
    explicit AFX_CLASSINIT(CRuntimeClass* newClass);
};

class CObject
{
public:
    virtual CRuntimeClass* GetRuntimeClass() const;
    virtual ~CObject();
    virtual void Serialize(CArchive& ar);
    virtual void AssertValid() const;

    BOOL IsSerializable() const;
    BOOL IsKindOf(const CRuntimeClass* someClass) const;

    static CRuntimeClass classCObject;

protected:
    CObject();

private:
    CObject(const CObject&);
    void operator=(const CObject&);
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name) \
public: \
    static CRuntimeClass class##class_name; \
    virtual CRuntimeClass* GetRuntimeClass() const;

#define DECLARE_DYNCREATE(class_name) \
    DECLARE_DYNAMIC(class_name) \
    static CObject* PASCAL CreateObject();

#define DECLARE_SERIAL(class_name) \
    DECLARE_DYNCREATE(class_name) \
    friend CArchive& operator>>(CArchive& ar, class_name*& object);

#define IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, schema, create) \
    CRuntimeClass class_name::class##class_name = { \
        #class_name, sizeof(class class_name), schema, create, \
        RUNTIME_CLASS(base_class_name), NULL }; \
    static AFX_CLASSINIT _init_##class_name(RUNTIME_CLASS(class_name)); \
    CRuntimeClass* class_name::GetRuntimeClass() const { return RUNTIME_CLASS(class_name); }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name) \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, kNoSchema, NULL)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name) \
    CObject* PASCAL class_name::CreateObject() { return new class_name; } \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, kNoSchema, class_name::CreateObject)

#define IMPLEMENT_SERIAL(class_name, base_class_name, schema) \
    CObject* PASCAL class_name::CreateObject() { return new class_name; } \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, schema, class_name::CreateObject) \
    CArchive& operator>>(CArchive& ar, class_name*& object) \
    { \
        object = static_cast<class_name*>(ar.ReadObject(RUNTIME_CLASS(class_name))); \
        return ar; \
    }
