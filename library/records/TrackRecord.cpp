#include "library/records/TrackRecord.h"

#include "library/records/AttributeFields.h"

#include <stdlib.h>

namespace {

const int kSecondsPerMinute = 60;
const int kFramesPerMinute = kFramesPerSecond * kSecondsPerMinute;

// The quoted texts of the attribute text, in the order they are written.
struct QuotedField
{
    const char* key;
    CString TrackRecord::*text;
};

const QuotedField kWrittenTexts[] = {
    {"image", &TrackRecord::m_imageFile},   {"keywords", &TrackRecord::m_keywordText},
    {"CDText", &TrackRecord::m_cdText},     {"DiscMemo", &TrackRecord::m_memo},
    {"fileloc", &TrackRecord::m_soundFile},
};

struct NumberField
{
    const char* key;
    int TrackRecord::*number;
};

const NumberField kNumbers[] = {
    {"min", &TrackRecord::m_minutes},
    {"sec", &TrackRecord::m_seconds},
    {"group", &TrackRecord::m_group},
    {"played", &TrackRecord::m_timesPlayed},
};

struct DateField
{
    const char* key;
    COleDateTime TrackRecord::*date;
};

const DateField kDates[] = {
    {"added", &TrackRecord::m_added},
    {"last", &TrackRecord::m_lastPlayed},
};

} // namespace

bool IsDateSet(const COleDateTime& date)
{
    return date.m_dt != 0.0;
}

TrackRecord::TrackRecord()
{
    Reset();
}

TrackRecord::TrackRecord(int ratingCount, const CString* ratingNames)
    : m_ratings(ratingCount, ratingNames)
{
    Reset();
}

void TrackRecord::Reset()
{
    for (const QuotedField& field : kWrittenTexts)
        (this->*field.text).Empty();
    m_title.Empty();
    m_artist.Empty();
    m_lyrics.Empty();
    m_notes.Empty();
    m_url.Empty();
    m_neverPlay = 0;
    m_minutes = 0;
    m_seconds = 0;
    m_frames = 0;
    m_group = -1;
    m_added = COleDateTime(0.0);
    m_released = COleDateTime(0.0);
    m_lastPlayed = COleDateTime(0.0);
    m_timesPlayed = 0;
    m_timePlayed = 0;
    m_keywords.RemoveAll();
    m_keywordsChanged = 0;
}

void TrackRecord::Clear()
{
    Reset();
    m_ratings.Zero();
}

void TrackRecord::SetFrames(int frames)
{
    m_minutes = frames / kFramesPerMinute;
    m_seconds = (frames / kFramesPerSecond) % kSecondsPerMinute;
    m_frames = frames % kFramesPerSecond;
}

CString TrackRecord::FormatAttributes() const
{
    CString text;
    text.Format("min=%d sec=%d", m_minutes, m_seconds);
    for (const QuotedField& field : kWrittenTexts)
    {
        const CString& value = this->*field.text;
        if (!value.IsEmpty())
            text += CString(" ") + field.key + "=\"" + value + "\"";
    }
    CString number;
    if (m_group != -1)
    {
        number.Format(" group=%d", m_group);
        text += number;
    }
    if (m_neverPlay)
    {
        number.Format(" NeverPlay=%d", m_neverPlay);
        text += number;
    }
    return text + m_ratings.Format();
}

bool TrackRecord::ParseAttributes(const char* text)
{
    CAttributeFields fields(text);
    bool found = false;
    for (const NumberField& field : kNumbers)
    {
        const char* value = fields.Find(field.key);
        if (value)
        {
            this->*field.number = atoi(value);
            found = true;
        }
    }
    if (const char* value = fields.Find("NeverPlay"))
    {
        m_neverPlay = atoi(value) != 0;
        found = true;
    }
    CString quoted;
    for (const QuotedField& field : kWrittenTexts)
    {
        if (fields.FindQuoted(field.key, quoted))
        {
            this->*field.text = quoted;
            found = true;
        }
    }
    for (const DateField& field : kDates)
    {
        if (fields.FindQuoted(field.key, quoted))
        {
            // A date that does not parse leaves the stored one alone.
            COleDateTime date;
            if (date.ParseDateTime(quoted))
                this->*field.date = date;
            found = true;
        }
    }
    m_ratings.Parse(fields);
    return found;
}
