// One album of the library: a disc in a changer or a set of music files played
// by the MP3 player. Track index -1 addresses the album's own record, 0 to
// track count - 1 its tracks. Every per-track setter marks the album changed
// and returns false when the index addresses no record.
#pragma once

#include "library/records/TrackRecord.h"

#include <memory>
#include <vector>

enum AlbumState
{
    kAlbumClean = 0,
    kAlbumChanged = 1, // written at the next save
    kAlbumDeleted = 2, // its rows go at the next save
    kAlbumRemoved = 3, // rows gone; look-ups skip it
};

const int kAlbumIndex = -1;
const int kNoPlayer = -1;
const int kNoSlot = -1;
const int kMp3Player = 1001;

class AlbumRecord
{
public:
    AlbumRecord();
    AlbumRecord(int ratingCount, const CString* ratingNames);
    AlbumRecord(const AlbumRecord& other);
    AlbumRecord& operator=(const AlbumRecord& other);
    // A move takes everything, the previous id too: it is the same album in a
    // new place (the library's album vector growing).
    AlbumRecord(AlbumRecord&& other) = default;
    AlbumRecord& operator=(AlbumRecord&& other) = default;

    // ---- album fields ----
    int GetState() const { return m_state; }
    void SetState(int state) { m_state = state; }
    bool IsGone() const { return m_state == kAlbumDeleted || m_state == kAlbumRemoved; }
    const CString& GetIdText() const { return m_idText; }
    void SetIdText(const char* id) { m_idText = id; }
    const CString& GetPreviousIdText() const { return m_previousIdText; }
    void SetPreviousIdText(const char* id) { m_previousIdText = id; }
    DWORD GetCddbId() const { return m_cddbId; }
    void SetCddbId(DWORD id) { m_cddbId = id; }
    DWORD GetSonyId() const { return m_sonyId; }
    void SetSonyId(DWORD id) { m_sonyId = id; }
    DWORD GetExactId() const { return m_exactId; }
    void SetExactId(DWORD id) { m_exactId = id; }
    CString GetSonyIdText() const;
    CString GetCddbIdText() const;
    CString GetExactIdText() const;
    int GetTrackCount() const { return m_trackCount; }
    // Only the tracks change: the album's own record stays.
    void SetTrackCount(int count);
    void AllocTracks();
    // The player when the album is believed to be there, else -1.
    int GetPlayer() const { return m_present ? m_player : kNoPlayer; }
    int GetStoredPlayer() const { return m_player; }
    void SetPlayer(int player) { m_player = player; }
    int GetSlot() const { return m_slot; }
    void SetSlot(int slot) { m_slot = slot; }
    bool IsPresent() const { return m_present != 0; }
    void SetPresent(bool present) { m_present = present; }
    bool IsInPlayer() const { return m_player >= 0 && m_slot >= 0 && m_present; }
    int GetRatingCount() const { return m_ratingCount; }
    const CString* GetRatingNames() const { return m_ratingNames; }

    // Inline: searches and sorts ask for every record of the library.
    TrackRecord* GetRecord(int index)
    {
        return index == kAlbumIndex ? m_album.get() : IsTrack(index) ? &m_tracks[index] : nullptr;
    }
    const TrackRecord* GetRecord(int index) const
    {
        return index == kAlbumIndex ? m_album.get() : IsTrack(index) ? &m_tracks[index] : nullptr;
    }

    // ---- texts ----
    CString GetTitle(int index) const;
    bool SetTitle(int index, const char* text);
    CString GetArtist(int index) const;
    bool SetArtist(int index, const char* text);
    CString GetNotes(int index) const;
    bool SetNotes(int index, const char* text);
    CString GetLyrics(int index) const;
    bool SetLyrics(int index, const char* text);
    CString GetMemo(int index) const;
    bool SetMemo(int index, const char* text);
    CString GetKeywordText(int index) const;
    bool SetKeywordText(int index, const char* text);
    CString GetImage(int index) const;
    CString GetDisplayTitle(int index) const;
    CString GetFileLocation(int index) const;
    bool SetFileLocation(int index, const char* path);
    bool ClearFileLocation(int index);
    bool HasFileLocation(int index) const;
    bool HasLyrics(int index) const;
    bool HasLongLyrics(int index) const;
    bool HasNotes(int index) const;
    bool HasImage(int index) const;

    // ---- flags, group, ratings ----
    bool GetNeverPlay(int index) const;
    bool SetNeverPlay(int index, bool neverPlay);
    int GetGroup(int index) const;
    bool SetGroup(int index, int group);
    int GetRating(int index, int category) const;
    bool SetRating(int index, int category, int value);

    // ---- keywords ----
    CKeywordList GetKeywordList(int index) const;
    bool SetKeywordList(int index, const CKeywordList& list, bool markChanged);
    bool AddKeyword(int index, int id);
    bool RemoveKeyword(int index, int id);
    bool MarkKeywordChanged(int id);

    // ---- players and locations ----
    int GetTrackPlayer(int index) const;
    CString GetPlayerText() const;
    CString GetLocationText(int index) const;
    CString FormatLocation() const;
    bool ParseLocation(const char* text);

    // ---- lengths and play statistics ----
    int GetPlayTime(int index) const;
    int GetTrackSeconds(int index) const { return GetPlayTime(index); }
    bool SetPlayTime(int index, int seconds);
    CString GetPlayTimeText(int index) const;
    bool AddTimePlayed(int index, int seconds);
    bool CountPlay(int index);
    CString GetTimePlayedText(int index) const;
    CString GetTimesPlayedText(int index) const;
    COleDateTime GetLastPlayed(int index) const;
    COleDateTime GetReleased(int index) const;
    COleDateTime GetAdded(int index) const;
    CString GetLastPlayedText(int index) const;
    CString GetReleasedText(int index) const;
    CString GetAddedText(int index) const;
    bool SetReleased(int index, const char* text);

    // ---- track array ----
    void InsertTrack(const TrackRecord& record, int position);
    void DeleteTrack(int position);

    // ---- file names and images ----
    static CString MakeSafeFileName(const char* text);
    CString GetSafeName(int index) const;
    CString GetImagePath(int index, const char* imageDirectory) const;
    // With copy, the file is copied into the image directory first; a failed
    // copy gives false and its text in error, for the caller to show.
    bool SetImage(int index, const char* file, bool copy, const char* imageDirectory, CString& error);

    // ---- ids ----
    CString ComputeAlbumId() const;
    CString ComputeOldAlbumId() const;
    DWORD ComputeCddbId() const;

private:
    typedef bool (*RecordTest)(const TrackRecord& record);

    TrackRecord NewRecord() const { return TrackRecord(m_ratingCount, m_ratingNames); }
    void CopyFrom(const AlbumRecord& other);
    bool IsTrack(int index) const { return index >= 0 && index < m_trackCount; }
    TrackRecord* Changed(int index);
    const CString& AlbumText(CString TrackRecord::*text) const;
    CString InheritedText(int index, CString TrackRecord::*text) const;
    bool SetText(int index, CString TrackRecord::*text, const char* value);
    bool AnyRecord(int index, RecordTest test) const;
    COleDateTime InheritedDate(int index, COleDateTime TrackRecord::*date) const;
    int TrackSeconds(int track) const;
    CString ComputeId(bool shiftOddRounds) const;

    int m_state;
    CString m_idText;
    CString m_previousIdText; // never copied
    DWORD m_cddbId;
    DWORD m_sonyId;
    DWORD m_exactId;
    int m_trackCount; // -1: not set
    int m_player;
    int m_slot;
    BYTE m_present;
    std::unique_ptr<TrackRecord> m_album;
    std::vector<TrackRecord> m_tracks;
    int m_ratingCount;
    const CString* m_ratingNames; // the library's; shared
};
