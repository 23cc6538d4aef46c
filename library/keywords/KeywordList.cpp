#include "library/keywords/KeywordList.h"

bool CKeywordList::Add(int id)
{
    if (Find(id) >= 0)
        return false;
    m_ids.push_back(id);
    return true;
}

bool CKeywordList::Remove(int id)
{
    int index = Find(id);
    if (index < 0)
        return false;
    m_ids.erase(m_ids.begin() + index);
    return true;
}

int CKeywordList::Find(int id) const
{
    for (size_t i = 0; i < m_ids.size(); ++i)
    {
        if (m_ids[i] == id)
            return static_cast<int>(i);
    }
    return -1;
}
