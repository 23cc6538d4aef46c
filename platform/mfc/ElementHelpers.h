// What the collection templates do with one kind of element: archive it, hash
// it as a key, compare it. Specialise these for an element type that needs more
// than the defaults.
#pragma once

#include "platform/mfc/Archive.h"

// Elements as raw bytes; texts as archive strings.
template <class TYPE>
void SerializeElements(CArchive& ar, TYPE* elements, int count)
{
    UINT size = static_cast<UINT>(count * sizeof(TYPE));
    if (ar.IsStoring())
        ar.Write(elements, size);
    else if (ar.Read(elements, size) != size)
        AfxThrowArchiveException(CArchiveException::endOfFile);
}

template <>
void SerializeElements<CString>(CArchive& ar, CString* elements, int count);

// Collections load one element at a time, so that a bad count meets the end
// of the data before it claims the memory.
template <class TYPE>
TYPE LoadElement(CArchive& ar)
{
    TYPE element = TYPE();
    SerializeElements<TYPE>(ar, &element, 1);
    return element;
}

// Integers and pointers: the value without its low four bits, which pointers to
// aligned blocks share.
template <class ARG_KEY>
inline UINT HashKey(ARG_KEY key)
{
    return static_cast<UINT>((UINT_PTR)key >> 4);
}

template <>
UINT HashKey<LPCSTR>(LPCSTR key);

template <class TYPE, class ARG_TYPE>
inline BOOL CompareElements(const TYPE* element, const ARG_TYPE* key)
{
    return *element == *key;
}
