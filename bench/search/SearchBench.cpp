// Evaluates search texts as the document's search does (every album, then
// every track) and, beside each, a plain scan of the same fields written out
// by hand, in the same process over the same records: milliseconds of both,
// their ratio, and the search's cost per 1,000 albums. Libraries: the bench's
// own 10,000 albums, then files made by MakeLibrary.py (paths given).
#include "library/search/Expr.h"

#include "JetRegistration.h"
#include "platform/crt/Random.h"
#include "library/db/LibraryDatabase.h"
#include "library/records/MusicLibrary.h"

#include <windows.h>

#include <functional>
#include <malloc.h>
#include <stdio.h>
#include <string.h>

namespace {

const int kAlbums = 10000;
const int kTracksPerAlbum = 15;
const int kRounds = 5;

const char* const kArtists[] = {"The Beatles", "Miles Davis", "Nina Simone", "Radiohead", "Bjork",
                                "Johnny Cash", "Aretha Franklin", "Kraftwerk", "Tom Waits", "Portishead"};
const char* const kWords[] = {"love", "night", "blue", "road", "heart", "rain", "fire", "dream",
                              "city", "river", "song", "time", "light", "home", "dance", "shadow"};
const char* const kKeywords[] = {"rock", "jazz", "pop", "blues", "live", "female", "male",
                                 "acoustic", "rocknroll", "electronic", "folk", "soundtrack"};

#define PICK(words) (words[MsRand() % (sizeof(words) / sizeof(words[0]))])

CString Phrase(int words)
{
    CString text = PICK(kWords);
    for (int i = 1; i < words; ++i)
        text = text + " " + PICK(kWords);
    return text;
}

void Fill(CMusicLibrary& library)
{
    MsSrand(1);
    COleDateTime now = COleDateTime::GetCurrentTime();
    for (int a = 0; a < kAlbums; ++a)
    {
        AlbumRecord album = library.NewAlbum();
        album.SetIdText(library.MakeUniqueId());
        album.SetTrackCount(kTracksPerAlbum);
        album.SetTitle(kAlbumIndex, Phrase(3));
        album.SetArtist(kAlbumIndex, PICK(kArtists));
        album.SetKeywordText(kAlbumIndex, CString(PICK(kKeywords)) + " " + PICK(kKeywords));
        album.SetNotes(kAlbumIndex, Phrase(12));
        album.GetRecord(kAlbumIndex)->m_added = now - COleDateTimeSpan(MsRand() % 1000);
        album.SetRating(kAlbumIndex, 0, MsRand() % 5);
        for (int t = 0; t < kTracksPerAlbum; ++t)
        {
            album.SetTitle(t, Phrase(2));
            album.SetPlayTime(t, 60 + MsRand() % 420);
            if (MsRand() % 4 == 0)
                album.SetKeywordText(t, PICK(kKeywords));
            if (MsRand() % 3 == 0)
                album.SetRating(t, 0, MsRand() % 5);
        }
        library.AppendAlbum(album);
    }
}

// ---- the plain scan: each search's fields read and compared directly ----

bool Has(const CString& text, const char* value)
{
    return strcasestr(text, value) != nullptr;
}

// value as a whole word of text.
bool HasWord(const CString& text, const char* value)
{
    size_t length = strlen(value);
    for (const char* at = strcasestr(text, value); at; at = strcasestr(at + 1, value))
    {
        bool starts = at == static_cast<const char*>(text) || at[-1] == ' ';
        if (starts && (at[length] == '\0' || at[length] == ' '))
            return true;
    }
    return false;
}

typedef std::function<bool(const AlbumRecord&, const TrackRecord& album, const TrackRecord& record, int track)>
    PlainTest;

const CString& Artist(const TrackRecord& album, const TrackRecord& record)
{
    return record.m_artist.IsEmpty() ? album.m_artist : record.m_artist;
}

bool AnyText(const TrackRecord& album, const TrackRecord& record, const char* value)
{
    return Has(Artist(album, record), value) || Has(record.m_title, value) || Has(album.m_title, value) ||
           HasWord(album.m_keywordText, value) || HasWord(record.m_keywordText, value);
}

int Rating(const AlbumRecord& a, int track)
{
    int rating = a.GetRating(track, 0);
    return rating ? rating : a.GetRating(kAlbumIndex, 0);
}

struct Search
{
    const char* text;
    PlainTest plain;
};

std::vector<Search> Searches()
{
    COleDateTime twoWeeks = COleDateTime::GetCurrentTime() - COleDateTimeSpan(14);
    return {
        {"beatles", [](const AlbumRecord&, const TrackRecord& al, const TrackRecord& r, int) {
             return AnyText(al, r, "beatles");
         }},
        {"artist = beatles & timeadded < 2w", [twoWeeks](const AlbumRecord& a, const TrackRecord& al,
                                                         const TrackRecord& r, int t) {
             return Has(Artist(al, r), "beatles") && a.GetAdded(t) > twoWeeks;
         }},
        {"keyword == rock | keyword == jazz", [](const AlbumRecord&, const TrackRecord& al, const TrackRecord& r,
                                                 int) {
             return HasWord(al.m_keywordText, "rock") || HasWord(r.m_keywordText, "rock") ||
                    HasWord(al.m_keywordText, "jazz") || HasWord(r.m_keywordText, "jazz");
         }},
        {"playtime > 4:30 & like > 2", [](const AlbumRecord& a, const TrackRecord&, const TrackRecord&, int t) {
             return a.GetPlayTime(t) > 270 && Rating(a, t) > 2;
         }},
        {"(artist | title) = (love | night) & ! notes = live", [](const AlbumRecord&, const TrackRecord& al,
                                                                  const TrackRecord& r, int) {
             const CString& artist = Artist(al, r);
             return (Has(artist, "love") || Has(r.m_title, "love") || Has(artist, "night") ||
                     Has(r.m_title, "night")) &&
                    !(Has(al.m_notes, "live") || Has(r.m_notes, "live"));
         }},
        {"harbor", [](const AlbumRecord&, const TrackRecord& al, const TrackRecord& r, int) {
             return AnyText(al, r, "harbor");
         }},
        {"artist = calloway | album = lantern", [](const AlbumRecord&, const TrackRecord& al, const TrackRecord& r,
                                                   int) {
             return Has(Artist(al, r), "calloway") || Has(al.m_title, "lantern");
         }},
        {"keyword == jazz & playtime > 4:00", [](const AlbumRecord& a, const TrackRecord& al, const TrackRecord& r,
                                                 int t) {
             return (HasWord(al.m_keywordText, "jazz") || HasWord(r.m_keywordText, "jazz")) &&
                    a.GetPlayTime(t) > 240;
         }},
    };
}

double Milliseconds(const LARGE_INTEGER& start)
{
    LARGE_INTEGER end, frequency;
    QueryPerformanceCounter(&end);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart);
}

template <typename Test>
double MeanMilliseconds(CMusicLibrary& library, Test test, int& matches)
{
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    for (int round = 0; round < kRounds; ++round)
    {
        matches = 0;
        CLibraryLock lock(library);
        for (int a = 0; a < library.GetAlbumCount(); ++a)
        {
            const AlbumRecord& album = *library.GetAlbumPtr(lock, a);
            for (int t = kAlbumIndex; t < album.GetTrackCount(); ++t)
                matches += test(album, t) ? 1 : 0;
        }
    }
    return Milliseconds(start) / kRounds;
}

bool Run(CMusicLibrary& library, const char* name)
{
    int albums = library.GetAlbumCount();
    int tracks = 0;
    {
        CLibraryLock lock(library);
        for (int a = 0; a < albums; ++a)
            tracks += std::max(0, library.GetAlbumPtr(lock, a)->GetTrackCount());
    }
    printf("%s: %d albums, %d tracks; mean of %d rounds\n", name, albums, tracks, kRounds);
    printf("%-52s %9s %8s %9s %6s %12s\n", "search", "search", "matches", "plain", "ratio", "ms/1k albums");
    for (const Search& search : Searches())
    {
        CExpr expr;
        if (!expr.Parse(search.text, library.GetRatingNames(), library.GetRatingCount()))
            return false;
        int matches = 0;
        int plainMatches = 0;
        double ms = MeanMilliseconds(library, [&](const AlbumRecord& a, int t) { return expr.Evaluate(a, t); },
                                     matches);
        double plainMs = MeanMilliseconds(library, [&](const AlbumRecord& a, int t) {
            return search.plain(a, *a.GetRecord(kAlbumIndex), *a.GetRecord(t), t);
        }, plainMatches);
        printf("%-52s %6.2f ms %8d %6.2f ms %6.2f %9.3f ms%s\n", search.text, ms, matches, plainMs, ms / plainMs,
               ms * 1000 / albums, matches == plainMatches ? "" : "  (plain scan matched differently)");
    }
    return true;
}

bool RunFile(const char* path)
{
    CMusicLibrary library;
    library.SetLibraryPath(path);
    CLibraryDatabase database(library);
    library.SetLoader(&database);
    size_t heap = mallinfo2().uordblks;
    library.RunLoad();
    printf("%s: the loaded library takes %.1f MiB of heap; sizes of a track record %d, an album record %d bytes\n",
           path, (mallinfo2().uordblks - heap) / 1048576.0, static_cast<int>(sizeof(TrackRecord)),
           static_cast<int>(sizeof(AlbumRecord)));
    if (library.GetAlbumCount() == 0)
    {
        printf("%s: no albums loaded\n", path);
        return false;
    }
    return Run(library, path);
}

} // namespace

int main(int argc, char** argv)
{
    {
        CMusicLibrary library;
        Fill(library);
        if (!Run(library, "the bench's library"))
            return 1;
    }
    if (argc < 2)
        return 0;
    CoInitialize(nullptr);
    if (!RegisterJetProvider(argv[1]))
    {
        printf("the provider %s cannot be registered\n", argv[1]);
        return 1;
    }
    for (int i = 2; i < argc; ++i)
    {
        printf("\n");
        if (!RunFile(argv[i]))
            return 1;
    }
    return 0;
}
