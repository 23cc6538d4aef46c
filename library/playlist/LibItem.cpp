#include "library/playlist/LibItem.h"

#include "library/keywords/KeywordStat.h"

#include <stdio.h>

namespace {

const int kMaxIdLength = 16;

} // namespace

void CLibItem::Clear()
{
    m_id.Empty();
    m_albumIndex = -1;
    m_track = kWholeAlbum;
    m_flag = 0;
}

AlbumRecord* CLibItem::GetAlbum(const CLibraryLock& lock, CMusicLibrary& library)
{
    return library.ResolveItem(lock, m_id, m_albumIndex);
}

bool CLibItem::HasCachedAlbum(const CLibraryLock& lock, CMusicLibrary& library) const
{
    return library.IsItemAt(lock, m_id, m_albumIndex);
}

bool CLibItem::GetAlbumCopy(CMusicLibrary& library, AlbumRecord& out)
{
    return library.GetItemAlbum(m_id, m_albumIndex, out);
}

bool CLibItem::HasValidTrack(CMusicLibrary& library)
{
    CLibraryLock lock(library);
    AlbumRecord* album = GetAlbum(lock, library);
    return m_track >= 0 && album && m_track < album->GetTrackCount();
}

bool CLibItem::IsPlayable(CMusicLibrary& library)
{
    CLibraryLock lock(library);
    AlbumRecord* album = GetAlbum(lock, library);
    if (!album)
        return false;
    return album->GetPlayer() == kMp3Player || library.IsAlbumPlayable(*album);
}

bool CLibItem::IsSamePlayer(CMusicLibrary& library, CLibItem& other)
{
    CLibraryLock lock(library);
    AlbumRecord* album = GetAlbum(lock, library);
    AlbumRecord* otherAlbum = other.GetAlbum(lock, library);
    return album && otherAlbum && album->GetPlayer() == otherAlbum->GetPlayer();
}

bool CLibItem::CanFollow(CMusicLibrary& library, CLibItem& first, CLibItem& second)
{
    if (first.IsSameAlbum(second))
        return true;
    CLibraryLock lock(library);
    AlbumRecord* a = first.GetAlbum(lock, library);
    AlbumRecord* b = second.GetAlbum(lock, library);
    if (!a || !b)
        return false;
    return a->GetPlayer() != b->GetPlayer() || a->GetPlayer() == kMp3Player;
}

bool CLibItem::FollowsTrackOf(const CLibItem& other) const
{
    return IsSameAlbum(other) && m_track >= 0 && other.m_track >= 0 && m_track == other.m_track + 1;
}

CString CLibItem::Format() const
{
    CString text;
    text.Format("%s %d", static_cast<const char*>(m_id), m_track);
    return text;
}

bool CLibItem::ParseFields(const char* text)
{
    char id[kMaxIdLength + 1];
    int track;
    if (sscanf(text, "%16s %d", id, &track) != 2)
        return false;
    m_id = id;
    m_track = track;
    return true;
}

bool CLibItem::Parse(CMusicLibrary& library, const char* text)
{
    return ParseFields(text) && library.FindAlbumIndex(m_id) >= 0;
}

bool CLibItem::SetAlbumIndex(CMusicLibrary& library, int index)
{
    CLibraryLock lock(library);
    AlbumRecord* album = library.GetAlbumPtr(lock, index);
    if (!album)
        return false;
    m_albumIndex = index;
    m_track = kWholeAlbum;
    m_id = album->GetIdText();
    return true;
}

void CLibItem::CountKeywords(CMusicLibrary& library, CKeywordStatList& stats)
{
    CLibraryLock lock(library);
    AlbumRecord* album = GetAlbum(lock, library);
    if (!album)
        return;
    CKeywordStatList::CountKeywordList(stats, album->GetKeywordList(kAlbumIndex), true);
    int first = m_track < 0 ? 0 : m_track;
    int end = m_track < 0 ? album->GetTrackCount() : m_track + 1;
    for (int t = first; t < end && t < album->GetTrackCount(); ++t)
        CKeywordStatList::CountKeywordList(stats, album->GetKeywordList(t), false);
}

CString CLibItem::Dump() const
{
    CString text;
    text.Format("ID:%s tr:%d idx:%d flag:%d", static_cast<const char*>(m_id), m_track, m_albumIndex, m_flag);
    return text;
}
