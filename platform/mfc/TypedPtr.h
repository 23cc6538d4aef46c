// Typed views of the pointer collections: BASE is CPtrArray, CObArray,
// CPtrList or CMapPtrToPtr; the elements are stored as the base's
// pointers and handed out as TYPE.
#pragma once

#include "platform/mfc/Position.h"

template <class BASE, class TYPE>
class CTypedPtrArray : public BASE
{
public:
    TYPE GetAt(int index) const { return static_cast<TYPE>(BASE::GetAt(index)); }
    TYPE& ElementAt(int index) { return reinterpret_cast<TYPE&>(BASE::ElementAt(index)); }
    void SetAt(int index, TYPE element) { BASE::SetAt(index, element); }
    void SetAtGrow(int index, TYPE element) { BASE::SetAtGrow(index, element); }
    int Add(TYPE element) { return BASE::Add(element); }
    void InsertAt(int index, TYPE element, int count = 1) { BASE::InsertAt(index, element, count); }
    int Append(const CTypedPtrArray& other) { return BASE::Append(other); }
    void Copy(const CTypedPtrArray& other) { BASE::Copy(other); }
    TYPE operator[](int index) const { return GetAt(index); }
    TYPE& operator[](int index) { return ElementAt(index); }
};

template <class BASE, class TYPE>
class CTypedPtrList : public BASE
{
public:
    explicit CTypedPtrList(int blockSize = 10) : BASE(blockSize) {}

    TYPE& GetHead() { return reinterpret_cast<TYPE&>(BASE::GetHead()); }
    TYPE GetHead() const { return static_cast<TYPE>(BASE::GetHead()); }
    TYPE& GetTail() { return reinterpret_cast<TYPE&>(BASE::GetTail()); }
    TYPE GetTail() const { return static_cast<TYPE>(BASE::GetTail()); }
    TYPE RemoveHead() { return static_cast<TYPE>(BASE::RemoveHead()); }
    TYPE RemoveTail() { return static_cast<TYPE>(BASE::RemoveTail()); }
    POSITION AddHead(TYPE element) { return BASE::AddHead(element); }
    POSITION AddTail(TYPE element) { return BASE::AddTail(element); }
    void AddHead(CTypedPtrList* other) { BASE::AddHead(other); }
    void AddTail(CTypedPtrList* other) { BASE::AddTail(other); }
    TYPE& GetNext(POSITION& position) { return reinterpret_cast<TYPE&>(BASE::GetNext(position)); }
    TYPE GetNext(POSITION& position) const { return static_cast<TYPE>(BASE::GetNext(position)); }
    TYPE& GetPrev(POSITION& position) { return reinterpret_cast<TYPE&>(BASE::GetPrev(position)); }
    TYPE GetPrev(POSITION& position) const { return static_cast<TYPE>(BASE::GetPrev(position)); }
    TYPE& GetAt(POSITION position) { return reinterpret_cast<TYPE&>(BASE::GetAt(position)); }
    TYPE GetAt(POSITION position) const { return static_cast<TYPE>(BASE::GetAt(position)); }
    void SetAt(POSITION position, TYPE element) { BASE::SetAt(position, element); }
    POSITION InsertBefore(POSITION position, TYPE element) { return BASE::InsertBefore(position, element); }
    POSITION InsertAfter(POSITION position, TYPE element) { return BASE::InsertAfter(position, element); }
};

template <class BASE, class KEY, class VALUE>
class CTypedPtrMap : public BASE
{
public:
    explicit CTypedPtrMap(int blockSize = 10) : BASE(blockSize) {}

    BOOL Lookup(KEY key, VALUE& value) const
    {
        typename BASE::BASE_VALUE stored = typename BASE::BASE_VALUE();
        if (!BASE::Lookup(key, stored))
            return FALSE;
        value = static_cast<VALUE>(stored);
        return TRUE;
    }
    VALUE& operator[](KEY key) { return reinterpret_cast<VALUE&>(BASE::operator[](key)); }
    void SetAt(KEY key, VALUE value) { BASE::SetAt(key, value); }
    BOOL RemoveKey(KEY key) { return BASE::RemoveKey(key); }
    void GetNextAssoc(POSITION& position, KEY& key, VALUE& value) const
    {
        typename BASE::BASE_KEY storedKey = typename BASE::BASE_KEY();
        typename BASE::BASE_VALUE storedValue = typename BASE::BASE_VALUE();
        BASE::GetNextAssoc(position, storedKey, storedValue);
        key = static_cast<KEY>(storedKey);
        value = static_cast<VALUE>(storedValue);
    }
};
