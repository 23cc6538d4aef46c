// One track of an album, or the album's own information (title, artist,
// notes, total length, ...). Lengths are minutes, seconds and frames at 75
// frames a second.
#pragma once

#include "library/keywords/KeywordList.h"
#include "library/records/RatingSet.h"

#include <afx.h>
#include <afxdisp.h>

const int kFramesPerSecond = 75;

// A date of value 0.0 is "not set".
bool IsDateSet(const COleDateTime& date);

class TrackRecord
{
public:
    TrackRecord();
    TrackRecord(int ratingCount, const CString* ratingNames);

    // Every field back to its initial value except the ratings.
    void Reset();
    // Reset, and every rating value 0.
    void Clear();

    int GetSeconds() const { return m_minutes * 60 + m_seconds; }
    int GetFrames() const { return GetSeconds() * kFramesPerSecond + m_frames; }
    void SetFrames(int frames);
    void AddFrames(int frames) { SetFrames(GetFrames() + frames); }

    // "min=.. sec=.." then the non-empty quoted texts, group, never-play and ratings.
    CString FormatAttributes() const;
    // Fields whose key is absent keep their values; true when any key was found.
    bool ParseAttributes(const char* text);

    CString m_title;
    CString m_artist;      // on a track, empty means the album artist
    CString m_keywordText; // rebuilt from m_keywords before every database write
    CString m_lyrics;      // CR LF line ends
    CString m_notes;       // CR LF line ends
    CString m_url;
    CString m_cdText;
    CString m_memo;
    CString m_imageFile; // relative to the image directory
    CString m_soundFile; // full path of an MP3-player track's file
    // The small fields together, so that no padding sits between them: the
    // library holds a record for every track.
    BYTE m_neverPlay;
    int m_minutes;
    int m_seconds; // 0-59
    int m_frames;  // 0-74
    int m_group;   // -1: none
    int m_timesPlayed;
    int m_timePlayed; // seconds
    int m_keywordsChanged;
    RatingSet m_ratings;
    COleDateTime m_added;
    COleDateTime m_released;
    COleDateTime m_lastPlayed;
    CKeywordList m_keywords;
};
