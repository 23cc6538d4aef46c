#include "library/records/AlbumRecord.h"

#include "library/records/AttributeFields.h"
#include "library/paths/FilePath.h"

#include <afxwin.h>

#include <stdlib.h>

namespace {

const char kInvalidTrack[] = "Invalid track";
const int kLongLyricsLength = 100;
const char kUnsafeFileNameChars[] = "/\\.?$*,!:<>\"";
const int kFirstRecordedYear = 1800;

bool IsBlank(const CString& text)
{
    for (int i = 0; i < text.GetLength(); ++i)
    {
        char c = text[i];
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n')
            return false;
    }
    return true;
}

bool HasLyricsText(const TrackRecord& record)
{
    return !IsBlank(record.m_lyrics);
}

bool HasLongLyricsText(const TrackRecord& record)
{
    return record.m_lyrics.GetLength() > kLongLyricsLength;
}

bool HasNotesText(const TrackRecord& record)
{
    return !IsBlank(record.m_notes);
}

bool HasImageFile(const TrackRecord& record)
{
    return !record.m_imageFile.IsEmpty();
}

bool HasSoundFile(const TrackRecord& record)
{
    return !record.m_soundFile.IsEmpty();
}

// A LF without CR before it and a CR without LF after it each become CR LF.
CString NormalizeLineEnds(const char* text)
{
    CString result;
    for (const char* p = text; *p; ++p)
    {
        if (*p == '\n' && (p == text || p[-1] != '\r'))
            result += "\r\n";
        else if (*p == '\r' && p[1] != '\n')
            result += "\r\n";
        else
            result += *p;
    }
    return result;
}

CString FormatDate(const COleDateTime& date, const char* format)
{
    return IsDateSet(date) ? date.Format(format) : CString();
}

CString FormatId(DWORD id)
{
    CString text;
    if (id != 0)
        text.Format("%08X", id);
    return text;
}

// Two-digit years: 15-99 are 1915-1999, 1-14 are 2001-2014.
int ExpandYear(int year)
{
    if (year >= 15 && year <= 99)
        return year + 1900;
    if (year >= 1 && year <= 14)
        return year + 2000;
    return year;
}

} // namespace

// ---- construction and copying ----

AlbumRecord::AlbumRecord() : AlbumRecord(0, nullptr)
{
}

AlbumRecord::AlbumRecord(int ratingCount, const CString* ratingNames)
    : m_state(kAlbumClean), m_cddbId(0), m_sonyId(0), m_exactId(0), m_trackCount(-1),
      m_player(kNoPlayer), m_slot(kNoSlot), m_present(0), m_ratingCount(ratingCount),
      m_ratingNames(ratingNames)
{
}

AlbumRecord::AlbumRecord(const AlbumRecord& other)
{
    CopyFrom(other);
}

AlbumRecord& AlbumRecord::operator=(const AlbumRecord& other)
{
    if (this != &other)
        CopyFrom(other);
    return *this;
}

void AlbumRecord::CopyFrom(const AlbumRecord& other)
{
    m_state = other.m_state;
    m_idText = other.m_idText;
    m_cddbId = other.m_cddbId;
    m_sonyId = other.m_sonyId;
    m_exactId = other.m_exactId;
    m_trackCount = other.m_trackCount;
    m_player = other.m_player;
    m_slot = other.m_slot;
    m_present = other.m_present;
    m_ratingCount = other.m_ratingCount;
    m_ratingNames = other.m_ratingNames;
    m_album.reset(other.m_album ? new TrackRecord(*other.m_album) : new TrackRecord(NewRecord()));
    m_tracks = other.m_tracks;
}

void AlbumRecord::SetTrackCount(int count)
{
    if (count == m_trackCount)
        return;
    m_trackCount = count;
    AllocTracks();
    if (!m_album)
        m_album.reset(new TrackRecord(NewRecord()));
}

void AlbumRecord::AllocTracks()
{
    m_tracks.assign(m_trackCount > 0 ? m_trackCount : 0, NewRecord());
}

TrackRecord* AlbumRecord::Changed(int index)
{
    TrackRecord* record = GetRecord(index);
    if (record)
        m_state = kAlbumChanged;
    return record;
}

CString AlbumRecord::GetSonyIdText() const
{
    return FormatId(m_sonyId);
}

CString AlbumRecord::GetCddbIdText() const
{
    return FormatId(m_cddbId);
}

CString AlbumRecord::GetExactIdText() const
{
    return FormatId(m_exactId);
}

// ---- texts ----

const CString& AlbumRecord::AlbumText(CString TrackRecord::*text) const
{
    static const CString empty;
    return m_album ? m_album.get()->*text : empty;
}

// The track's own text, or the album's when the track has none.
CString AlbumRecord::InheritedText(int index, CString TrackRecord::*text) const
{
    const TrackRecord* record = GetRecord(index);
    if (!record)
        return CString();
    if (index != kAlbumIndex && (record->*text).IsEmpty())
        return AlbumText(text);
    return record->*text;
}

bool AlbumRecord::SetText(int index, CString TrackRecord::*text, const char* value)
{
    TrackRecord* record = Changed(index);
    if (!record)
        return false;
    record->*text = value;
    return true;
}

CString AlbumRecord::GetTitle(int index) const
{
    const TrackRecord* record = GetRecord(index);
    return record ? record->m_title : CString(kInvalidTrack);
}

bool AlbumRecord::SetTitle(int index, const char* text)
{
    return SetText(index, &TrackRecord::m_title, text);
}

CString AlbumRecord::GetArtist(int index) const
{
    return GetRecord(index) ? InheritedText(index, &TrackRecord::m_artist) : CString(kInvalidTrack);
}

bool AlbumRecord::SetArtist(int index, const char* text)
{
    bool sameAsAlbum = index != kAlbumIndex && AlbumText(&TrackRecord::m_artist) == text;
    return SetText(index, &TrackRecord::m_artist, sameAsAlbum ? "" : text);
}

CString AlbumRecord::GetNotes(int index) const
{
    return InheritedText(index, &TrackRecord::m_notes);
}

bool AlbumRecord::SetNotes(int index, const char* text)
{
    return SetText(index, &TrackRecord::m_notes, NormalizeLineEnds(text));
}

CString AlbumRecord::GetLyrics(int index) const
{
    return InheritedText(index, &TrackRecord::m_lyrics);
}

bool AlbumRecord::SetLyrics(int index, const char* text)
{
    return SetText(index, &TrackRecord::m_lyrics, NormalizeLineEnds(text));
}

CString AlbumRecord::GetMemo(int index) const
{
    return InheritedText(index, &TrackRecord::m_memo);
}

bool AlbumRecord::SetMemo(int index, const char* text)
{
    return SetText(index, &TrackRecord::m_memo, text);
}

CString AlbumRecord::GetKeywordText(int index) const
{
    return InheritedText(index, &TrackRecord::m_keywordText);
}

bool AlbumRecord::SetKeywordText(int index, const char* text)
{
    return SetText(index, &TrackRecord::m_keywordText, text);
}

CString AlbumRecord::GetImage(int index) const
{
    return InheritedText(index, &TrackRecord::m_imageFile);
}

// The record's own memo (a disc memo is no track's title).
CString AlbumRecord::GetDisplayTitle(int index) const
{
    const TrackRecord* record = GetRecord(index);
    if (!record)
        return CString();
    return record->m_memo.IsEmpty() ? record->m_title : record->m_memo;
}

CString AlbumRecord::GetFileLocation(int index) const
{
    return IsTrack(index) ? m_tracks[index].m_soundFile : CString();
}

bool AlbumRecord::SetFileLocation(int index, const char* path)
{
    return IsTrack(index) && SetText(index, &TrackRecord::m_soundFile, path);
}

bool AlbumRecord::ClearFileLocation(int index)
{
    if (m_player == kMp3Player || (index != kAlbumIndex && !IsTrack(index)))
        return false;
    for (int i = 0; i < m_trackCount; ++i)
    {
        if ((index == kAlbumIndex || index == i) && !m_tracks[i].m_soundFile.IsEmpty())
        {
            m_tracks[i].m_soundFile.Empty();
            m_state = kAlbumChanged;
        }
    }
    return true;
}

// For the album: its own record or any track passes; out of range: false.
bool AlbumRecord::AnyRecord(int index, RecordTest test) const
{
    if (index != kAlbumIndex)
        return IsTrack(index) && test(m_tracks[index]);
    if (m_album && test(*m_album))
        return true;
    for (const TrackRecord& track : m_tracks)
    {
        if (test(track))
            return true;
    }
    return false;
}

bool AlbumRecord::HasFileLocation(int index) const
{
    if (index != kAlbumIndex)
        return IsTrack(index) && HasSoundFile(m_tracks[index]);
    for (const TrackRecord& track : m_tracks)
    {
        if (HasSoundFile(track))
            return true;
    }
    return false;
}

bool AlbumRecord::HasLyrics(int index) const
{
    return AnyRecord(index, HasLyricsText);
}

bool AlbumRecord::HasLongLyrics(int index) const
{
    return AnyRecord(index, HasLongLyricsText);
}

bool AlbumRecord::HasNotes(int index) const
{
    return AnyRecord(index, HasNotesText);
}

bool AlbumRecord::HasImage(int index) const
{
    return AnyRecord(index, HasImageFile);
}

// ---- flags, group, ratings ----

bool AlbumRecord::GetNeverPlay(int index) const
{
    bool albumNeverPlay = m_album && m_album->m_neverPlay;
    if (index == kAlbumIndex)
        return albumNeverPlay;
    if (!IsTrack(index) || albumNeverPlay)
        return true;
    return m_tracks[index].m_neverPlay != 0;
}

bool AlbumRecord::SetNeverPlay(int index, bool neverPlay)
{
    TrackRecord* record = Changed(index);
    if (record)
        record->m_neverPlay = neverPlay;
    return record != nullptr;
}

int AlbumRecord::GetGroup(int index) const
{
    if (index == kAlbumIndex)
        return m_album ? m_album->m_group : -1;
    if (!IsTrack(index) || (m_album && m_album->m_neverPlay))
        return -1;
    return m_tracks[index].m_group;
}

bool AlbumRecord::SetGroup(int index, int group)
{
    TrackRecord* record = Changed(index);
    if (record)
        record->m_group = group;
    return record != nullptr;
}

int AlbumRecord::GetRating(int index, int category) const
{
    const TrackRecord* record = GetRecord(index);
    return record ? record->m_ratings.GetValue(category) : 0;
}

bool AlbumRecord::SetRating(int index, int category, int value)
{
    if (category < 0 || category >= m_ratingCount)
        return false;
    TrackRecord* record = Changed(index);
    if (record)
        record->m_ratings.SetValue(category, value);
    return record != nullptr;
}

// ---- keywords ----

CKeywordList AlbumRecord::GetKeywordList(int index) const
{
    const TrackRecord* record = GetRecord(index);
    return record ? record->m_keywords : CKeywordList();
}

bool AlbumRecord::SetKeywordList(int index, const CKeywordList& list, bool markChanged)
{
    TrackRecord* record = markChanged ? Changed(index) : GetRecord(index);
    if (record)
        record->m_keywords = list;
    return record != nullptr;
}

// A keyword of the album holds for every track, so the tracks drop their own copy.
bool AlbumRecord::AddKeyword(int index, int id)
{
    TrackRecord* record = GetRecord(index);
    if (!record || !record->m_keywords.Add(id))
        return false;
    record->m_keywordsChanged = 1;
    if (index == kAlbumIndex)
    {
        for (TrackRecord& track : m_tracks)
        {
            if (track.m_keywords.Remove(id))
                track.m_keywordsChanged = 1;
        }
    }
    m_state = kAlbumChanged;
    return true;
}

bool AlbumRecord::RemoveKeyword(int index, int id)
{
    TrackRecord* record = GetRecord(index);
    if (!record)
        return false;
    bool removed = record->m_keywords.Remove(id);
    record->m_keywordsChanged = 1;
    if (index == kAlbumIndex)
    {
        for (TrackRecord& track : m_tracks)
        {
            if (track.m_keywords.Remove(id))
            {
                track.m_keywordsChanged = 1;
                removed = true;
            }
        }
    }
    m_state = kAlbumChanged;
    return removed;
}

bool AlbumRecord::MarkKeywordChanged(int id)
{
    bool any = false;
    for (int i = kAlbumIndex; i < m_trackCount; ++i)
    {
        TrackRecord* record = GetRecord(i);
        if (record && record->m_keywords.Find(id) >= 0)
        {
            record->m_keywordsChanged = 1;
            any = true;
        }
    }
    if (any)
        m_state = kAlbumChanged;
    return any;
}

// ---- players and locations ----

int AlbumRecord::GetTrackPlayer(int index) const
{
    int player = GetPlayer();
    if (player == kMp3Player)
        return kMp3Player;
    if (index != kAlbumIndex)
        return HasFileLocation(index) ? kMp3Player : player;
    for (const TrackRecord& track : m_tracks)
    {
        if (!HasSoundFile(track))
            return player;
    }
    return kMp3Player;
}

CString AlbumRecord::GetPlayerText() const
{
    if (m_player == kMp3Player)
        return "mp3";
    if (m_player < 0)
        return "?";
    CString text;
    text.Format("%d", m_player + 1);
    return text;
}

CString AlbumRecord::GetLocationText(int index) const
{
    if (index != kAlbumIndex && !IsTrack(index))
        return "Invalid Track";
    if (m_player == kMp3Player)
        return index == kAlbumIndex ? CString("mp3") : m_tracks[index].m_soundFile;
    if (m_player < 0)
        return "?";
    const char* prefix = IsInPlayer() ? "" : "*";
    CString text;
    if (index == kAlbumIndex)
        text.Format("%sP%d D%03d", prefix, m_player + 1, m_slot);
    else
        text.Format("%sP%d D%03d T%02d", prefix, m_player + 1, m_slot, index + 1);
    return text;
}

CString AlbumRecord::FormatLocation() const
{
    CString text;
    text.Format("loc=%d player=%d", m_slot, m_player);
    return text;
}

bool AlbumRecord::ParseLocation(const char* text)
{
    CAttributeFields fields(text);
    const char* slot = fields.Find("loc");
    const char* player = fields.Find("player");
    if (slot)
        m_slot = atoi(slot);
    if (player)
        m_player = atoi(player);
    return slot || player;
}

// ---- lengths and play statistics ----

int AlbumRecord::GetPlayTime(int index) const
{
    const TrackRecord* record = GetRecord(index);
    return record ? record->GetSeconds() : 0;
}

bool AlbumRecord::SetPlayTime(int index, int seconds)
{
    if (!IsTrack(index) || !m_album)
        return false;
    TrackRecord& track = m_tracks[index];
    int frames = seconds * kFramesPerSecond;
    m_album->AddFrames(frames - track.GetFrames());
    track.SetFrames(frames);
    m_state = kAlbumChanged;
    return true;
}

CString AlbumRecord::GetPlayTimeText(int index) const
{
    int seconds = GetPlayTime(index);
    CString text;
    text.Format("%2d:%02d", seconds / 60, seconds % 60);
    return text;
}

bool AlbumRecord::AddTimePlayed(int index, int seconds)
{
    if (!IsTrack(index) || !m_album)
        return false;
    COleDateTime now = COleDateTime::GetCurrentTime();
    for (TrackRecord* record : {&m_tracks[index], m_album.get()})
    {
        record->m_timePlayed += seconds;
        record->m_lastPlayed = now;
    }
    m_state = kAlbumChanged;
    return true;
}

bool AlbumRecord::CountPlay(int index)
{
    if (!IsTrack(index) || !m_album)
        return false;
    ++m_tracks[index].m_timesPlayed;
    ++m_album->m_timesPlayed;
    m_state = kAlbumChanged;
    return true;
}

CString AlbumRecord::GetTimePlayedText(int index) const
{
    const TrackRecord* record = GetRecord(index);
    int seconds = record ? record->m_timePlayed : 0;
    CString text;
    text.Format("%4d:%02d", seconds / 60, seconds % 60);
    return text;
}

CString AlbumRecord::GetTimesPlayedText(int index) const
{
    const TrackRecord* record = GetRecord(index);
    CString text;
    text.Format("%4d", record ? record->m_timesPlayed : 0);
    return text;
}

// The track's date when set, else the album's.
COleDateTime AlbumRecord::InheritedDate(int index, COleDateTime TrackRecord::*date) const
{
    const TrackRecord* record = GetRecord(index);
    if (!record)
        return COleDateTime(0.0);
    if (index != kAlbumIndex && !IsDateSet(record->*date) && m_album)
        return m_album.get()->*date;
    return record->*date;
}

COleDateTime AlbumRecord::GetLastPlayed(int index) const
{
    const TrackRecord* record = GetRecord(index);
    return record ? record->m_lastPlayed : COleDateTime(0.0);
}

COleDateTime AlbumRecord::GetReleased(int index) const
{
    return InheritedDate(index, &TrackRecord::m_released);
}

COleDateTime AlbumRecord::GetAdded(int index) const
{
    return InheritedDate(index, &TrackRecord::m_added);
}

CString AlbumRecord::GetLastPlayedText(int index) const
{
    return FormatDate(GetLastPlayed(index), "%c");
}

CString AlbumRecord::GetReleasedText(int index) const
{
    return FormatDate(GetReleased(index), "%x");
}

CString AlbumRecord::GetAddedText(int index) const
{
    return FormatDate(GetAdded(index), "%x");
}

// A date, or else a year (two digits allowed); years before 1800 are refused.
bool AlbumRecord::SetReleased(int index, const char* text)
{
    TrackRecord* record = GetRecord(index);
    if (!record)
        return false;
    CString trimmed(text);
    trimmed.TrimLeft();
    trimmed.TrimRight();
    COleDateTime date(0.0);
    if (!trimmed.IsEmpty() && !date.ParseDateTime(trimmed, VAR_DATEVALUEONLY))
    {
        int year = ExpandYear(atoi(trimmed));
        if (year < kFirstRecordedYear)
            return false;
        date.SetDate(year, 1, 1);
    }
    record->m_released = date;
    m_state = kAlbumChanged;
    return true;
}

// ---- track array ----

void AlbumRecord::InsertTrack(const TrackRecord& record, int position)
{
    int count = m_trackCount > 0 ? m_trackCount : 0;
    if (position < 0)
        position = 0;
    if (position > count)
        position = count;
    if (!m_album)
        m_album.reset(new TrackRecord(NewRecord()));
    m_tracks.insert(m_tracks.begin() + position, record);
    m_trackCount = count + 1;
    m_album->AddFrames(record.GetFrames());
    m_state = kAlbumChanged;
}

void AlbumRecord::DeleteTrack(int position)
{
    if (m_trackCount <= 0)
        return;
    if (position < 0)
        position = 0;
    if (position > m_trackCount - 1)
        position = m_trackCount - 1;
    m_album->AddFrames(-m_tracks[position].GetFrames());
    m_tracks.erase(m_tracks.begin() + position);
    --m_trackCount;
    m_state = kAlbumChanged;
}

// ---- file names and images ----

CString AlbumRecord::MakeSafeFileName(const char* text)
{
    CString safe;
    for (const char* p = text; *p; ++p)
    {
        if (!strchr(kUnsafeFileNameChars, *p))
            safe += *p;
    }
    safe.TrimLeft(' ');
    safe.TrimRight(' ');
    return safe;
}

CString AlbumRecord::GetSafeName(int index) const
{
    if (!GetRecord(index))
        return CString();
    CString albumTitle = GetTitle(kAlbumIndex);
    if (index == kAlbumIndex)
        return MakeSafeFileName(GetArtist(kAlbumIndex) + " - " + albumTitle);
    return MakeSafeFileName(GetArtist(index) + " - " + albumTitle + " - " + GetTitle(index));
}

CString AlbumRecord::GetImagePath(int index, const char* imageDirectory) const
{
    CString image = GetImage(index);
    if (image.IsEmpty())
        return image;
    CFilePath path{CDirPath(imageDirectory)};
    path.Append(static_cast<const char*>(image));
    return path.GetFullPath();
}

bool AlbumRecord::SetImage(int index, const char* file, bool copy, const char* imageDirectory, CString& error)
{
    error.Empty();
    TrackRecord* record = GetRecord(index);
    if (!record || !m_album)
        return false;
    CString name(file);
    if (copy)
    {
        CFilePath source;
        source.Append(file);
        std::string copyName = std::string(GetSafeName(kAlbumIndex));
        if (!source.GetExtension().empty())
            copyName += "." + source.GetExtension();
        CFilePath target(CDirPath(imageDirectory), CFileName(copyName.c_str()));
        if (!CopyFileA(file, target.GetFullPath(), FALSE))
        {
            error = CString("Error making copy of image file ") + file + " to " + target.GetFullPath();
            return false;
        }
        name = copyName.c_str();
        record = m_album.get();
    }
    record->m_imageFile = name;
    if (m_album->m_imageFile.IsEmpty())
        m_album->m_imageFile = name;
    m_state = kAlbumChanged;
    return true;
}

// ---- ids ----

namespace {

const char kIdWeights[] =
    "1000001100001010001111001000101100111010100111110100001110001001001101101011011110110001101001011101110011001010101111111000000";
const int kIdWeightCount = 127;
const int kIdRounds = 8;

// The weights as masks (all ones for a weight of 1), written out past the
// end of one round so that a round reads them without wrapping: a sum is then
// a plain loop of a fixed length, with no branch to mispredict.
const int kIdSpan = 128;

struct IdWeightMasks
{
    unsigned int masks[kIdRounds + kIdSpan];

    IdWeightMasks()
    {
        for (int k = 0; k < kIdRounds + kIdSpan; ++k)
            masks[k] = 0u - static_cast<unsigned int>(kIdWeights[k % kIdWeightCount] - '0');
    }
};

int DigitSum(unsigned int value)
{
    int sum = 0;
    for (; value; value /= 10)
        sum += value % 10;
    return sum;
}

} // namespace

int AlbumRecord::TrackSeconds(int track) const
{
    return m_tracks[track].GetSeconds();
}

// Eight rounds over the 127 weights; the current scheme halves the weight of
// every second pass through the tracks by a shift. The load computes it for
// every album: the digits are written straight into the id.
CString AlbumRecord::ComputeId(bool shiftOddRounds) const
{
    if (m_trackCount <= 0)
        return "0000000000000000";
    static const char kHexDigits[] = "0123456789ABCDEF";
    // What each weight multiplies is the same in every round: the tracks'
    // seconds over and over, every second pass shifted. The span's last value
    // stays 0.
    static const IdWeightMasks weights;
    unsigned int values[kIdSpan] = {};
    int counted = m_trackCount < kIdWeightCount ? m_trackCount : kIdWeightCount;
    for (int t = 0; t < counted; ++t)
        values[t] = static_cast<unsigned int>(TrackSeconds(t));
    // The passes after the first repeat it.
    int track = 0;
    bool oddPass = true;
    for (int i = counted; i < kIdWeightCount; ++i) {
        values[i] = shiftOddRounds && oddPass ? values[track] >> 8 : values[track];
        if (++track == counted) {
            track = 0;
            oddPass = !oddPass;
        }
    }
    char id[2 * kIdRounds + 1];
    for (int round = 0; round < kIdRounds; ++round)
    {
        // Round r weighs value i by weight (r + i) mod the weight count.
        const unsigned int* masks = weights.masks + round;
        unsigned int sum = 0;
        for (int i = 0; i < kIdSpan; ++i)
            sum += values[i] & masks[i];
        id[2 * round] = kHexDigits[(sum % 256) >> 4];
        id[2 * round + 1] = kHexDigits[sum % 16];
    }
    id[2 * kIdRounds] = '\0';
    return id;
}

CString AlbumRecord::ComputeAlbumId() const
{
    return ComputeId(true);
}

CString AlbumRecord::ComputeOldAlbumId() const
{
    return ComputeId(false);
}

DWORD AlbumRecord::ComputeCddbId() const
{
    int count = m_trackCount > 0 ? m_trackCount : 0;
    int total = 0;
    for (int k = 0; k < count; ++k)
        total += TrackSeconds(k);
    int start = GetPlayTime(kAlbumIndex) - total;
    int checksum = 0;
    for (int k = 0; k < count; ++k)
    {
        checksum += DigitSum(static_cast<unsigned int>(start));
        start += TrackSeconds(k);
    }
    return (static_cast<DWORD>(checksum % 255) << 24) | (static_cast<DWORD>(total) << 8) |
           static_cast<DWORD>(count);
}
