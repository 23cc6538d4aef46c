#include "platform/mfc/ElementHelpers.h"

template <>
void SerializeElements<CString>(CArchive& ar, CString* elements, int count)
{
    for (int i = 0; i < count; i++) {
        if (ar.IsStoring())
            ar << elements[i];
        else
            ar >> elements[i];
    }
}

template <>
UINT HashKey<LPCSTR>(LPCSTR key)
{
    UINT hash = 0;
    while (key && *key)
        hash = (hash << 5) + hash + static_cast<BYTE>(*key++);
    return hash;
}
