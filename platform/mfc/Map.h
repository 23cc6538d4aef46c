// CMap: a hash table from KEY to VALUE (passed in as ARG_KEY and ARG_VALUE).
// The table has 17 buckets unless InitHashTable sets another size before the
// first element; a new key goes to the front of its bucket, and iteration runs
// through the buckets in order.
#pragma once

#include "platform/mfc/Debug.h"
#include "platform/mfc/ElementHelpers.h"
#include "platform/mfc/Object.h"
#include "platform/mfc/Plex.h"
#include "platform/mfc/Position.h"

#include <new>

// GetStartPosition's value for a map that has elements, before the first.
#define BEFORE_START_POSITION (reinterpret_cast<POSITION>(-1))

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
class CMap : public CObject
{
protected:
    struct CAssoc
    {
        CAssoc* pNext;
        UINT nBucket;
        KEY key;
        VALUE value;
    };

public:
    // The stored types, for the typed views over a map.
    typedef KEY BASE_KEY;
    typedef VALUE BASE_VALUE;

    explicit CMap(int blockSize = 10)
        : m_pHashTable(NULL), m_nHashTableSize(kDefaultHashTableSize), m_nCount(0),
          m_pool(sizeof(CAssoc), blockSize) {}
    ~CMap() override { RemoveAll(); }

    int GetCount() const { return m_nCount; }
    int GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }
    UINT GetHashTableSize() const { return m_nHashTableSize; }

    BOOL Lookup(ARG_KEY key, VALUE& value) const;
    // Adds the key with a default value when it is new.
    VALUE& operator[](ARG_KEY key);
    void SetAt(ARG_KEY key, ARG_VALUE value) { (*this)[key] = value; }
    BOOL RemoveKey(ARG_KEY key);
    void RemoveAll();

    POSITION GetStartPosition() const { return m_nCount == 0 ? NULL : BEFORE_START_POSITION; }
    void GetNextAssoc(POSITION& position, KEY& key, VALUE& value) const;

    // Takes effect on an empty map; a prime size spreads keys best.
    void InitHashTable(UINT hashSize, BOOL allocNow = TRUE);

    void Serialize(CArchive& ar) override;

protected:
    CAssoc** m_pHashTable;
    UINT m_nHashTableSize;
    int m_nCount;

private:
    static const UINT kDefaultHashTableSize = 17;

    CAssoc* Find(ARG_KEY key, UINT& bucket) const;
    // The first element when assoc is NULL; NULL after the last.
    CAssoc* NextAfter(CAssoc* assoc) const;
    void AllocTable();

    CPlexPool m_pool;
};

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::AllocTable()
{
    delete[] m_pHashTable;
    m_pHashTable = new CAssoc*[m_nHashTableSize]();
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::InitHashTable(UINT hashSize, BOOL allocNow)
{
    if (m_nCount != 0 || hashSize == 0)
        return;
    delete[] m_pHashTable;
    m_pHashTable = NULL;
    m_nHashTableSize = hashSize;
    if (allocNow)
        AllocTable();
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
typename CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::CAssoc*
CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::Find(ARG_KEY key, UINT& bucket) const
{
    bucket = HashKey<ARG_KEY>(key) % m_nHashTableSize;
    if (!m_pHashTable)
        return NULL;
    for (CAssoc* assoc = m_pHashTable[bucket]; assoc; assoc = assoc->pNext) {
        if (CompareElements<KEY, ARG_KEY>(&assoc->key, &key))
            return assoc;
    }
    return NULL;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
BOOL CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::Lookup(ARG_KEY key, VALUE& value) const
{
    UINT bucket;
    CAssoc* assoc = Find(key, bucket);
    if (!assoc)
        return FALSE;
    value = assoc->value;
    return TRUE;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
VALUE& CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::operator[](ARG_KEY key)
{
    UINT bucket;
    CAssoc* assoc = Find(key, bucket);
    if (assoc)
        return assoc->value;
    if (!m_pHashTable)
        AllocTable();
    assoc = static_cast<CAssoc*>(m_pool.Alloc());
    try {
        new (assoc) CAssoc{ m_pHashTable[bucket], bucket, key, VALUE() };
    } catch (...) {
        m_pool.Free(assoc);
        throw;
    }
    m_pHashTable[bucket] = assoc;
    m_nCount++;
    return assoc->value;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
BOOL CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::RemoveKey(ARG_KEY key)
{
    UINT bucket;
    if (!Find(key, bucket))
        return FALSE;
    for (CAssoc** link = &m_pHashTable[bucket]; *link; link = &(*link)->pNext) {
        CAssoc* assoc = *link;
        if (CompareElements<KEY, ARG_KEY>(&assoc->key, &key)) {
            *link = assoc->pNext;
            assoc->~CAssoc();
            m_pool.Free(assoc);
            if (--m_nCount == 0)
                RemoveAll();
            return TRUE;
        }
    }
    return FALSE;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::RemoveAll()
{
    if (m_pHashTable) {
        for (UINT bucket = 0; bucket < m_nHashTableSize; bucket++) {
            CAssoc* assoc = m_pHashTable[bucket];
            while (assoc) {
                CAssoc* next = assoc->pNext;
                assoc->~CAssoc();
                assoc = next;
            }
        }
        delete[] m_pHashTable;
        m_pHashTable = NULL;
    }
    m_nCount = 0;
    m_pool.FreeAll();
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
typename CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::CAssoc*
CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::NextAfter(CAssoc* assoc) const
{
    UINT bucket = 0;
    if (assoc) {
        if (assoc->pNext)
            return assoc->pNext;
        bucket = assoc->nBucket + 1;
    }
    for (; m_pHashTable && bucket < m_nHashTableSize; bucket++) {
        if (m_pHashTable[bucket])
            return m_pHashTable[bucket];
    }
    return NULL;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::GetNextAssoc(POSITION& position, KEY& key,
                                                        VALUE& value) const
{
    CAssoc* assoc = position == BEFORE_START_POSITION ? NextAfter(NULL)
                                                      : reinterpret_cast<CAssoc*>(position);
    ASSERT(assoc != NULL);
    if (!assoc) {
        position = NULL;
        return;
    }
    key = assoc->key;
    value = assoc->value;
    position = reinterpret_cast<POSITION>(NextAfter(assoc));
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteCount(static_cast<DWORD>(m_nCount));
        for (CAssoc* assoc = NextAfter(NULL); assoc; assoc = NextAfter(assoc)) {
            SerializeElements<KEY>(ar, &assoc->key, 1);
            SerializeElements<VALUE>(ar, &assoc->value, 1);
        }
        return;
    }
    RemoveAll();
    DWORD count = ar.ReadCount();
    for (DWORD i = 0; i < count; i++) {
        KEY key = LoadElement<KEY>(ar);
        SetAt(key, LoadElement<VALUE>(ar));
    }
}
