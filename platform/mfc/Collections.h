// The fixed collections: arrays, lists and maps of pointers, objects, bytes
// and texts. Texts go in as const char* and come out as CString.
#pragma once

#include "platform/mfc/Array.h"
#include "platform/mfc/List.h"
#include "platform/mfc/Map.h"

class CPtrArray : public CArray<void*, void*>
{
    DECLARE_DYNAMIC(CPtrArray)
};

// Archives its objects with their classes.
class CObArray : public CArray<CObject*, CObject*>
{
    DECLARE_SERIAL(CObArray)
public:
    void Serialize(CArchive& ar) override;
};

class CByteArray : public CArray<BYTE, BYTE>
{
    DECLARE_SERIAL(CByteArray)
};

class CDWordArray : public CArray<DWORD, DWORD>
{
    DECLARE_SERIAL(CDWordArray)
};

class CStringArray : public CArray<CString, LPCSTR>
{
    DECLARE_SERIAL(CStringArray)
};

class CPtrList : public CList<void*, void*>
{
    DECLARE_DYNAMIC(CPtrList)
public:
    explicit CPtrList(int blockSize = 10) : CList(blockSize) {}
};

class CStringList : public CList<CString, LPCSTR>
{
    DECLARE_SERIAL(CStringList)
public:
    explicit CStringList(int blockSize = 10) : CList(blockSize) {}
};

class CMapPtrToPtr : public CMap<void*, void*, void*, void*>
{
    DECLARE_DYNAMIC(CMapPtrToPtr)
public:
    explicit CMapPtrToPtr(int blockSize = 10) : CMap(blockSize) {}
};
