// One entry of a play list or selection: an album by its id text and a track
// (-1 for the whole album). The album index is only a cache into the library's
// vector, so entries survive a reload of the library.
#pragma once

#include "library/records/MusicLibrary.h"

#include <afx.h>

class CKeywordStatList;

const int kWholeAlbum = -1;

class CLibItem
{
public:
    CLibItem() { Clear(); }
    CLibItem(const char* id, int track) : m_id(id), m_albumIndex(-1), m_track(track), m_flag(0) {}
    virtual ~CLibItem() {}

    void Clear();

    const CString& GetId() const { return m_id; }
    int GetTrack() const { return m_track; }
    void SetTrack(int track) { m_track = track; }
    int GetAlbumIndex() const { return m_albumIndex; }
    int GetFlag() const { return m_flag; }
    void SetFlag(int flag) { m_flag = flag; }
    bool IsWholeAlbum() const { return m_track < 0; }

    // The stored album, valid while the lock is held, or null. The cached index
    // is refreshed; an album found by a previous or changer id gives the entry
    // its current id.
    AlbumRecord* GetAlbum(const CLibraryLock& lock, CMusicLibrary& library);
    // Whether the cached index still holds the entry's album.
    bool HasCachedAlbum(const CLibraryLock& lock, CMusicLibrary& library) const;
    // A likely index of the album, found by a caller's own index of ids:
    // GetAlbum checks it before it searches the library.
    void SetAlbumHint(int index) { m_albumIndex = index; }
    // A copy of the album, found by its current id only; the id is left alone.
    bool GetAlbumCopy(CMusicLibrary& library, AlbumRecord& out);
    bool HasValidTrack(CMusicLibrary& library);
    // On the MP3 player, or in a changer that can play now.
    bool IsPlayable(CMusicLibrary& library);
    bool IsSamePlayer(CMusicLibrary& library, CLibItem& other);
    // Whether second can play after first without a disc change in one changer.
    static bool CanFollow(CMusicLibrary& library, CLibItem& first, CLibItem& second);

    bool IsSameAlbum(const CLibItem& other) const { return m_id == other.m_id; }
    bool IsSameEntry(const CLibItem& other) const { return IsSameAlbum(other) && m_track == other.m_track; }
    bool operator==(const CLibItem& other) const { return IsSameEntry(other); }
    bool FollowsTrackOf(const CLibItem& other) const;

    // "id track": one line of a play-list file without its line end.
    CString Format() const;
    // Reads "id track" from the start of the text; false when either field is
    // missing. The cached index is left alone.
    bool ParseFields(const char* text);
    // ParseFields, and false too when the album is not in the library.
    bool Parse(CMusicLibrary& library, const char* text);
    // The whole album at that index of the library.
    bool SetAlbumIndex(CMusicLibrary& library, int index);

    void CountKeywords(CMusicLibrary& library, CKeywordStatList& stats);
    CString Dump() const;

private:
    CString m_id;
    int m_albumIndex; // -1: unknown
    int m_track;      // -1: the whole album
    int m_flag;       // scratch mark of the views
};
