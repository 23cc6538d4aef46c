// The keyword ids of one record, each at most once, in the order added.
#pragma once

#include <stddef.h>

#include <vector>

class CKeywordList
{
public:
    virtual ~CKeywordList() {}

    // False when the id is already there.
    bool Add(int id);
    // False when the id was not there.
    bool Remove(int id);
    int Find(int id) const;
    int GetCount() const { return static_cast<int>(m_ids.size()); }
    int GetAt(int index) const { return m_ids[index]; }
    void RemoveAll() { m_ids.clear(); }
    bool operator==(const CKeywordList& other) const { return m_ids == other.m_ids; }

private:
    std::vector<int> m_ids;
};
