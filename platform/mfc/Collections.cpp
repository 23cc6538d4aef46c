#include "platform/mfc/Collections.h"

IMPLEMENT_DYNAMIC(CPtrArray, CObject)
IMPLEMENT_SERIAL(CObArray, CObject, 0)
IMPLEMENT_SERIAL(CByteArray, CObject, 0)
IMPLEMENT_SERIAL(CDWordArray, CObject, 0)
IMPLEMENT_SERIAL(CStringArray, CObject, 0)
IMPLEMENT_DYNAMIC(CPtrList, CObject)
IMPLEMENT_SERIAL(CStringList, CObject, 0)
IMPLEMENT_DYNAMIC(CMapPtrToPtr, CObject)

void CObArray::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteCount(static_cast<DWORD>(m_nSize));
        for (int i = 0; i < m_nSize; i++)
            ar << m_pData[i];
        return;
    }
    RemoveAll();
    DWORD count = ar.ReadCount();
    for (DWORD i = 0; i < count; i++) {
        CObject* object;
        ar >> object;
        Add(object);
    }
}
