// How many albums and tracks of a selection carry each keyword.
#pragma once

#include "library/keywords/KeywordList.h"

#include <stddef.h>

#include <vector>

class CKeywordStat
{
public:
    CKeywordStat(int id) : m_id(id), m_albums(0), m_tracks(0) {}
    virtual ~CKeywordStat() {}

    void Count(bool asAlbum) { ++(asAlbum ? m_albums : m_tracks); }
    int GetId() const { return m_id; }
    int GetAlbums() const { return m_albums; }
    int GetTracks() const { return m_tracks; }

private:
    int m_id;
    int m_albums;
    int m_tracks;
};

class CKeywordStatList
{
public:
    CKeywordStatList() : m_albumsCounted(0), m_tracksCounted(0) {}
    virtual ~CKeywordStatList() {}

    void Clear();
    // Adds an entry with zero counts unless the id has one.
    void AddKeyword(int id);
    void Count(int id, bool asAlbum);
    // Counts every id of the list, and the list itself as one album or track.
    static void CountKeywordList(CKeywordStatList& stats, const CKeywordList& list, bool asAlbum);
    void RemoveKeyword(int id);
    int Find(int id) const;

    int GetCount() const { return static_cast<int>(m_stats.size()); }
    const CKeywordStat& GetAt(int index) const { return m_stats[index]; }
    int GetAlbumsCounted() const { return m_albumsCounted; }
    int GetTracksCounted() const { return m_tracksCounted; }

private:
    std::vector<CKeywordStat> m_stats;
    int m_albumsCounted;
    int m_tracksCounted;
};
