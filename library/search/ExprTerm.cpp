#include "library/search/ExprTerm.h"

#include <string.h>

namespace {

struct FieldWords
{
    const char* word;
    const char* shortWord;
};

// Indexed by field number.
const FieldWords kFields[] = {
    {"title", "ti"},      {"artist", "ar"},      {"album", "al"},          {"keyword", "kw"},
    {"player", "pl"},     {"lyrics", "ly"},      {"notes", "no"},          {"playtime", "pt"},
    {"timeplayed", "tp"}, {"timesplayed", "nt"}, {"timeadded", "ta"},      {"timelastplayed", "tl"},
    {"timereleased", "tr"}, {"memo", "mo"},
};
const int kFieldCount = sizeof(kFields) / sizeof(kFields[0]);

const char* const kComparisonTexts[] = {"=", "<", ">", "=="};

// Record texts are compared as if lower-cased, without making a lower-case copy.
inline unsigned char Lower(char ch)
{
    return static_cast<unsigned char>(ch >= 'A' && ch <= 'Z' ? ch - 'A' + 'a' : ch);
}

// The value is already lower case.
bool StartsWith(const char* text, const char* value, int length)
{
    for (int i = 0; i < length; ++i)
    {
        if (Lower(text[i]) != static_cast<unsigned char>(value[i]))
            return false;
    }
    return true;
}

int CompareLowered(const char* text, const char* value)
{
    for (;; ++text, ++value)
    {
        int difference = Lower(*text) - static_cast<unsigned char>(*value);
        if (difference || !*text)
            return difference;
    }
}

// A search reads every text of the library: these walk the text to its end
// once, without asking for its length, and try a match only where a
// character equals the value's first one without case. value is lower case
// and not empty; a match stops at the text's end, which no value character equals.
class FirstCharacter
{
public:
    explicit FirstCharacter(char first)
        : m_first(static_cast<unsigned char>(first)), m_fold(first >= 'a' && first <= 'z' ? 0x20 : 0) {}
    // For a letter, setting bit 5 lowers exactly the upper-case letters among
    // all characters; other characters must equal it as they are.
    bool Matches(char ch) const { return (static_cast<unsigned char>(ch) | m_fold) == m_first; }

private:
    unsigned char m_first;
    unsigned char m_fold;
};

bool Contains(const char* text, const char* value, int length)
{
    FirstCharacter first(value[0]);
    for (; *text; ++text)
    {
        if (first.Matches(*text) && StartsWith(text + 1, value + 1, length - 1))
            return true;
    }
    return false;
}

// A word starts the text or follows a blank, and ends at a blank or the end.
bool ContainsWord(const char* text, const char* value, int length)
{
    FirstCharacter first(value[0]);
    for (const char* at = text; *at; ++at)
    {
        if (!first.Matches(*at) || (at != text && at[-1] != ' ') || !StartsWith(at + 1, value + 1, length - 1))
            continue;
        if (at[length] == '\0' || at[length] == ' ')
            return true;
    }
    return false;
}

// An empty word sits where two word ends meet: in an empty text, at a blank
// that starts the text, and at a blank followed by a blank or the end.
bool ContainsEmptyWord(const char* text)
{
    if (*text == '\0' || *text == ' ')
        return true;
    for (; *text; ++text)
    {
        if (text[0] == ' ' && (text[1] == ' ' || text[1] == '\0'))
            return true;
    }
    return false;
}

} // namespace

int FindFieldWord(const char* word)
{
    for (int i = 0; i < kFieldCount; ++i)
    {
        if (strcmp(word, kFields[i].word) == 0 || strcmp(word, kFields[i].shortWord) == 0)
            return i;
    }
    return -1;
}

const char* GetFieldWord(int field)
{
    return field >= 0 && field < kFieldCount ? kFields[field].word : nullptr;
}

CExprTerm::CExprTerm(const ExprToken& field, const ExprToken& comparison, const ExprToken& value)
    : m_field(field.field), m_fieldText(field.text), m_comparison(comparison.comparison), m_number(value.number),
      m_seconds(value.seconds), m_value(value.text), m_date(value.date), m_relative(value.relative)
{
    m_value.MakeLower();
    m_valueLength = m_value.GetLength();
}

CString CExprTerm::Format() const
{
    return m_fieldText + " " + kComparisonTexts[m_comparison] + " " + m_value;
}

bool CExprTerm::CompareText(const CString& text) const
{
    switch (m_comparison)
    {
    case kCompareContains:
        return m_valueLength == 0 || Contains(text, m_value, m_valueLength);
    case kCompareLess:
        return CompareLowered(text, m_value) < 0;
    case kCompareGreater:
        return CompareLowered(text, m_value) > 0;
    default:
        return CompareLowered(text, m_value) == 0;
    }
}

bool CExprTerm::CompareWords(const CString& text) const
{
    if (m_comparison != kCompareEqual)
        return CompareText(text);
    return m_valueLength == 0 ? ContainsEmptyWord(text) : ContainsWord(text, m_value, m_valueLength);
}

bool CExprTerm::CompareNumber(int number, int value) const
{
    switch (m_comparison)
    {
    case kCompareLess:
        return number < value;
    case kCompareGreater:
        return number > value;
    default:
        return number == value;
    }
}

// An age turns the comparison round: "timeadded < 2w" is "added after two
// weeks ago".
bool CExprTerm::CompareDate(const COleDateTime& date) const
{
    bool before = date < m_date;
    bool after = date > m_date;
    switch (m_comparison)
    {
    case kCompareLess:
        return m_relative ? after : before;
    case kCompareGreater:
        return m_relative ? before : after;
    default:
        return date.GetStatus() == m_date.GetStatus() && date.m_dt == m_date.m_dt;
    }
}

// Fields kept on the album and on the track: either may match.
bool CExprTerm::EitherText(const TrackRecord& album, const TrackRecord& record, CString TrackRecord::*text,
                           bool words) const
{
    if (words ? CompareWords(album.*text) : CompareText(album.*text))
        return true;
    return &record != &album && (words ? CompareWords(record.*text) : CompareText(record.*text));
}

bool CExprTerm::Evaluate(const AlbumRecord& album, int track) const
{
    const TrackRecord* record = album.GetRecord(track);
    const TrackRecord* albumRecord = album.GetRecord(kAlbumIndex);
    if (!record || !albumRecord)
        return false;
    switch (m_field)
    {
    case kFieldTitle:
        return CompareText(record->m_title);
    case kFieldArtist:
        return CompareText(record->m_artist.IsEmpty() ? albumRecord->m_artist : record->m_artist);
    case kFieldAlbum:
        return CompareText(albumRecord->m_title);
    case kFieldKeyword:
        return EitherText(*albumRecord, *record, &TrackRecord::m_keywordText, true);
    case kFieldPlayer:
        return CompareNumber(album.GetPlayer() + 1, m_number);
    case kFieldLyrics:
        return CompareWords(record->m_lyrics.IsEmpty() ? albumRecord->m_lyrics : record->m_lyrics);
    case kFieldNotes:
        return EitherText(*albumRecord, *record, &TrackRecord::m_notes, true);
    case kFieldPlayTime:
        return CompareNumber(record->GetSeconds(), m_seconds);
    case kFieldTimePlayed:
        return CompareNumber(record->m_timePlayed, m_seconds);
    case kFieldTimesPlayed:
        return CompareNumber(record->m_timesPlayed, m_number);
    case kFieldTimeAdded:
        return CompareDate(album.GetAdded(track));
    case kFieldTimeLastPlayed:
        return CompareDate(album.GetLastPlayed(track));
    case kFieldTimeReleased:
        return CompareDate(album.GetReleased(track));
    case kFieldMemo:
        return EitherText(*albumRecord, *record, &TrackRecord::m_memo, false);
    default:
    {
        int category = m_field - kFieldRating;
        if (category < 0 || category >= album.GetRatingCount())
            return false;
        int rating = record->m_ratings.GetValue(category);
        return CompareNumber(rating ? rating : albumRecord->m_ratings.GetValue(category), m_number);
    }
    }
}
