#include "library/keywords/KeywordStat.h"

void CKeywordStatList::Clear()
{
    m_stats.clear();
    m_albumsCounted = 0;
    m_tracksCounted = 0;
}

void CKeywordStatList::AddKeyword(int id)
{
    if (Find(id) < 0)
        m_stats.push_back(CKeywordStat(id));
}

void CKeywordStatList::Count(int id, bool asAlbum)
{
    int index = Find(id);
    if (index < 0)
    {
        m_stats.push_back(CKeywordStat(id));
        index = GetCount() - 1;
    }
    m_stats[index].Count(asAlbum);
}

void CKeywordStatList::CountKeywordList(CKeywordStatList& stats, const CKeywordList& list, bool asAlbum)
{
    for (int i = 0; i < list.GetCount(); ++i)
        stats.Count(list.GetAt(i), asAlbum);
    ++(asAlbum ? stats.m_albumsCounted : stats.m_tracksCounted);
}

void CKeywordStatList::RemoveKeyword(int id)
{
    int index = Find(id);
    if (index >= 0)
        m_stats.erase(m_stats.begin() + index);
}

int CKeywordStatList::Find(int id) const
{
    for (size_t i = 0; i < m_stats.size(); ++i)
    {
        if (m_stats[i].GetId() == id)
            return static_cast<int>(i);
    }
    return -1;
}
