// CArray: a growable array of TYPE, passed in as ARG_TYPE. Elements beyond the
// size are kept default-constructed (zero for plain types), so growing shows
// fresh elements.
#pragma once

#include "platform/mfc/Debug.h"
#include "platform/mfc/ElementHelpers.h"
#include "platform/mfc/Object.h"

#include <utility>

template <class TYPE, class ARG_TYPE>
class CArray : public CObject
{
public:
    CArray() : m_pData(NULL), m_nSize(0), m_nMaxSize(0), m_nGrowBy(0) {}
    ~CArray() override { delete[] m_pData; }

    int GetSize() const { return m_nSize; }
    int GetCount() const { return m_nSize; }
    BOOL IsEmpty() const { return m_nSize == 0; }
    int GetUpperBound() const { return m_nSize - 1; }

    // growBy -1 keeps the step; 0 lets the step follow the size (4 to 1024).
    void SetSize(int newSize, int growBy = -1);
    void FreeExtra();
    void RemoveAll() { SetSize(0, -1); }

    TYPE GetAt(int index) const { return m_pData[CheckIndex(index)]; }
    void SetAt(int index, ARG_TYPE element) { m_pData[CheckIndex(index)] = element; }
    TYPE& ElementAt(int index) { return m_pData[CheckIndex(index)]; }
    const TYPE* GetData() const { return m_pData; }
    TYPE* GetData() { return m_pData; }
    TYPE operator[](int index) const { return GetAt(index); }
    TYPE& operator[](int index) { return ElementAt(index); }

    void SetAtGrow(int index, ARG_TYPE element);
    int Add(ARG_TYPE element);
    // Returns the index of the first appended element.
    int Append(const CArray& other);
    void Copy(const CArray& other);
    // An index past the end grows the array to it first.
    void InsertAt(int index, ARG_TYPE element, int count = 1);
    void InsertAt(int startIndex, CArray* other);
    // Counts reaching past the end stop at the end.
    void RemoveAt(int index, int count = 1);

    void Serialize(CArchive& ar) override;

protected:
    TYPE* m_pData;
    int m_nSize;
    int m_nMaxSize;
    int m_nGrowBy;

private:
    static const int kMinGrowBy = 4;
    static const int kMaxGrowBy = 1024;

    int CheckIndex(int index) const
    {
        ASSERT(index >= 0 && index < m_nSize);
        return index;
    }
    void Reallocate(int newMax);
};

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::Reallocate(int newMax)
{
    TYPE* data = newMax > 0 ? new TYPE[newMax]() : NULL;
    for (int i = 0; i < m_nSize && i < newMax; i++)
        data[i] = std::move(m_pData[i]);
    delete[] m_pData;
    m_pData = data;
    m_nMaxSize = newMax;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::SetSize(int newSize, int growBy)
{
    if (growBy >= 0)
        m_nGrowBy = growBy;
    if (newSize < 0)
        newSize = 0;
    if (newSize == 0) {
        delete[] m_pData;
        m_pData = NULL;
        m_nSize = m_nMaxSize = 0;
        return;
    }
    if (newSize > m_nMaxSize) {
        int step = m_nGrowBy;
        if (step == 0) {
            step = m_nSize / 8;
            step = step < kMinGrowBy ? kMinGrowBy : (step > kMaxGrowBy ? kMaxGrowBy : step);
        }
        int newMax = m_nMaxSize + step;
        Reallocate(newSize > newMax ? newSize : newMax);
    }
    // Dropped elements let go of what they hold and read as new if the array grows again.
    for (int i = newSize; i < m_nSize; i++)
        m_pData[i] = TYPE();
    m_nSize = newSize;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::FreeExtra()
{
    if (m_nSize != m_nMaxSize)
        Reallocate(m_nSize);
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::SetAtGrow(int index, ARG_TYPE element)
{
    if (index < 0)
        return;
    if (index < m_nSize) {
        m_pData[index] = element;
        return;
    }
    // The element may live in this array, whose storage growing replaces.
    TYPE value = element;
    SetSize(index + 1, -1);
    m_pData[index] = std::move(value);
}

template <class TYPE, class ARG_TYPE>
int CArray<TYPE, ARG_TYPE>::Add(ARG_TYPE element)
{
    int index = m_nSize;
    SetAtGrow(index, element);
    return index;
}

template <class TYPE, class ARG_TYPE>
int CArray<TYPE, ARG_TYPE>::Append(const CArray& other)
{
    int first = m_nSize;
    int count = other.m_nSize;
    SetSize(first + count, -1);
    for (int i = 0; i < count; i++)
        m_pData[first + i] = other.m_pData[i];
    return first;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::Copy(const CArray& other)
{
    if (this == &other)
        return;
    SetSize(other.m_nSize, -1);
    for (int i = 0; i < m_nSize; i++)
        m_pData[i] = other.m_pData[i];
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::InsertAt(int index, ARG_TYPE element, int count)
{
    if (index < 0 || count <= 0)
        return;
    // The element may live in this array: keep a copy before moving things.
    TYPE value = element;
    int oldSize = m_nSize;
    if (index >= oldSize) {
        SetSize(index + count, -1);
    } else {
        SetSize(oldSize + count, -1);
        for (int i = oldSize - 1; i >= index; i--)
            m_pData[i + count] = std::move(m_pData[i]);
    }
    for (int i = 0; i < count; i++)
        m_pData[index + i] = value;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::InsertAt(int startIndex, CArray* other)
{
    if (!other || other->m_nSize == 0 || startIndex < 0)
        return;
    // Copied first, so that an array can be inserted into itself.
    CArray copy;
    copy.Copy(*other);
    InsertAt(startIndex, copy.m_pData[0], copy.m_nSize);
    for (int i = 1; i < copy.m_nSize; i++)
        m_pData[startIndex + i] = copy.m_pData[i];
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::RemoveAt(int index, int count)
{
    if (index < 0 || index >= m_nSize || count <= 0)
        return;
    if (count > m_nSize - index)
        count = m_nSize - index;
    for (int i = index + count; i < m_nSize; i++)
        m_pData[i - count] = std::move(m_pData[i]);
    SetSize(m_nSize - count, -1);
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteCount(static_cast<DWORD>(m_nSize));
        SerializeElements<TYPE>(ar, m_pData, m_nSize);
        return;
    }
    RemoveAll();
    DWORD count = ar.ReadCount();
    for (DWORD i = 0; i < count; i++)
        Add(LoadElement<TYPE>(ar));
}
