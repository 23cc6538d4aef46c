#include "library/web/DiscEntry.h"

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

const int kMinLeadIn = 150; // frames before track 1 on every audio CD
const char kBlockStart[] = "ZYM[";

// What the entry's lines carry, collected before anything reaches the album.
struct EntryTexts
{
    explicit EntryTexts(int tracks) : trackTitles(tracks), trackNotes(tracks) {}

    CString title;
    CString notes;
    std::vector<CString> trackTitles;
    std::vector<CString> trackNotes;
};

// The value after "=" up to the first CR or LF.
CString LineValue(const char* line)
{
    const char* value = strchr(line, '=') + 1;
    return CString(value, (int)strcspn(value, "\r\n"));
}

bool StartsWith(const char* line, const char* key)
{
    return strncmp(line, key, strlen(key)) == 0;
}

// Digits from text on, at most up to limit; -1 when there are none.
int ReadNumber(const char* text, const char** end, int limit)
{
    int n = 0;
    const char* p = text;
    while (*p >= '0' && *p <= '9') {
        if (n <= limit)
            n = n * 10 + (*p - '0');
        p++;
    }
    *end = p;
    return p == text ? -1 : n;
}

// n of a "KEYn=" line after its key; -1 when the line does not have that form.
int IndexedLine(const char* line, const char* key)
{
    if (!StartsWith(line, key))
        return -1;
    const char* end;
    int n = ReadNumber(line + strlen(key), &end, kMaxEntryTracks);
    return *end == '=' ? n : -1;
}

void AppendIndexed(std::vector<CString>& texts, int n, const CString& value)
{
    if (n >= 0 && n < (int)texts.size())
        texts[n] += value;
}

// The track count a DISCID line gives: the id's low byte, or the title lines
// that follow when the top byte is FF.
int TrackCountFor(DWORD discId, const char* rest)
{
    if ((discId >> 24) == 0xFF)
        return CountTitleLines(rest);
    return (int)(discId & 0xFF);
}

bool ReadLines(const char* text, int& trackCount, DWORD& discId, EntryTexts*& texts)
{
    for (const char* line = text; line && *line;) {
        const char* next = strchr(line, '\n');
        if (next)
            next++;
        int n;
        if (StartsWith(line, "DISCID=")) {
            discId = strtoul(line + 7, NULL, 16);
            trackCount = TrackCountFor(discId, next ? next : "");
            if (trackCount < 1 || trackCount > kMaxEntryTracks)
                return false;
            delete texts;
            texts = new EntryTexts(trackCount);
        } else if (!texts) {
            // Nothing counts before the id has fixed the track count.
        } else if (StartsWith(line, "DTITLE=")) {
            texts->title += LineValue(line);
        } else if (StartsWith(line, "EXTD=")) {
            texts->notes += LineValue(line);
        } else if ((n = IndexedLine(line, "TTITLE")) >= 0) {
            AppendIndexed(texts->trackTitles, n, LineValue(line));
        } else if ((n = IndexedLine(line, "EXTT")) >= 0) {
            AppendIndexed(texts->trackNotes, n, LineValue(line));
        }
        line = next;
    }
    return texts != nullptr;
}

// Splits an extended-data value into its attribute text and its notes. True
// when the value held a bracketed block.
bool SplitBlock(const CString& value, CString& attributes, CString& notes)
{
    int start = value.Find(kBlockStart);
    int end = start < 0 ? -1 : value.Find(']', start + (int)strlen(kBlockStart));
    if (end < 0) {
        attributes = value;
        notes = value;
        return false;
    }
    int first = start + (int)strlen(kBlockStart);
    attributes = value.Mid(first, end - first);
    notes = value.Mid(end + 1);
    return true;
}

// The notes an extended-data value gives, after its attributes went to the
// record; empty when the value was attribute text only.
CString ApplyExtendedData(const CString& value, TrackRecord& record, AlbumRecord* album)
{
    CString attributes, notes;
    bool block = SplitBlock(value, attributes, notes);
    bool found = album ? album->ParseLocation(attributes) : false;
    found = record.ParseAttributes(attributes) || found;
    // An older form of entry held attribute text alone, without a block.
    if (!block && found)
        return CString();
    UnescapeEntryText(notes);
    return notes;
}

void ApplyTitles(AlbumRecord& album, const EntryTexts& texts)
{
    // Without a slash the whole (trimmed) text comes back as the artist part.
    CString artist, title;
    SplitArtistTitle(texts.title, artist, title);
    if (title.IsEmpty())
        title = artist; // an album whose artist and title are the same
    album.SetTitle(kAlbumIndex, title);
    album.SetArtist(kAlbumIndex, artist);
    for (int i = 0; i < (int)texts.trackTitles.size(); i++) {
        SplitArtistTitle(texts.trackTitles[i], artist, title);
        if (title.IsEmpty()) {
            title = artist; // the album artist applies
            artist.Empty();
        }
        album.SetTitle(i, title);
        album.SetArtist(i, artist);
    }
}

void ApplyNotes(AlbumRecord& album, const EntryTexts& texts)
{
    CString notes = ApplyExtendedData(texts.notes, *album.GetRecord(kAlbumIndex), &album);
    if (!notes.IsEmpty())
        album.SetNotes(kAlbumIndex, notes);
    for (int i = 0; i < (int)texts.trackNotes.size(); i++) {
        notes = ApplyExtendedData(texts.trackNotes[i], *album.GetRecord(i), nullptr);
        if (!notes.IsEmpty())
            album.SetNotes(i, notes);
    }
}

// A new track count keeps the tracks both counts share.
void ResizeTracks(AlbumRecord& album, int count)
{
    int kept = album.GetTrackCount() < count ? album.GetTrackCount() : count;
    std::vector<TrackRecord> tracks;
    for (int i = 0; i < kept; i++)
        tracks.push_back(*album.GetRecord(i));
    album.SetTrackCount(count);
    for (int i = 0; i < kept; i++)
        *album.GetRecord(i) = tracks[i];
}

} // namespace

bool ParseDiscEntry(AlbumRecord& album, const char* text)
{
    if (!text || !*text)
        return false;
    int trackCount = 0;
    DWORD discId = 0;
    EntryTexts* texts = nullptr;
    bool ok = ReadLines(text, trackCount, discId, texts);
    if (ok) {
        ResizeTracks(album, trackCount);
        album.SetSonyId(discId);
        ApplyTitles(album, *texts);
        ApplyNotes(album, *texts);
        album.SetIdText(album.ComputeAlbumId());
        album.SetState(kAlbumChanged);
    }
    delete texts;
    return ok;
}

int CountTitleLines(const char* text)
{
    int count = 0;
    for (const char* p = strstr(text, "TTITLE"); p; p = strstr(p, "TTITLE")) {
        p += 6;
        const char* end;
        int n = ReadNumber(p, &end, kMaxEntryTracks);
        if (n >= count)
            count = n + 1;
    }
    return count;
}

void SplitArtistTitle(const char* text, CString& artist, CString& title)
{
    CString whole(text);
    int slashes = 0;
    for (int i = 0; i < whole.GetLength(); i++)
        slashes += whole[i] == '/';
    int at = -1, width = 1;
    if (slashes == 1) {
        at = whole.Find('/');
    } else if (slashes > 1) {
        at = whole.Find(" / ");
        if (at >= 0)
            width = 3;
        else
            at = whole.Find('/');
    }
    if (at < 0) {
        artist = whole;
        title.Empty();
    } else {
        artist = whole.Left(at);
        title = whole.Mid(at + width);
    }
    artist.TrimLeft();
    artist.TrimRight();
    title.TrimLeft();
    title.TrimRight();
}

void UnescapeEntryText(CString& text)
{
    CString out;
    for (int i = 0; i < text.GetLength(); i++) {
        char c = text[i];
        if (c != '\\') {
            out += c;
            continue;
        }
        if (++i == text.GetLength())
            break;
        c = text[i];
        if (c == 'n')
            out += "\r\n";
        else if (c == 't')
            out += '\t';
        else
            out += c;
    }
    text = out;
}

CString FormatQueryOffsets(const AlbumRecord& album)
{
    int tracks = album.GetTrackCount() > 0 ? album.GetTrackCount() : 0;
    int sum = 0;
    for (int i = 0; i < tracks; i++)
        sum += album.GetRecord(i)->GetFrames();
    const TrackRecord* own = album.GetRecord(kAlbumIndex);
    int leadIn = (own ? own->GetFrames() : 0) - sum;
    if (leadIn < kMinLeadIn)
        leadIn = kMinLeadIn;
    CString text;
    text.Format("%d", leadIn);
    int offset = leadIn;
    for (int i = 0; i < tracks; i++) {
        offset += album.GetRecord(i)->GetFrames();
        CString step;
        step.Format(" %d", offset);
        text += step;
    }
    return text;
}
