// Evaluates typical search texts over a library of 10,000 albums and 150,000
// tracks, as the document's search does (every album, then every track), and
// prints the milliseconds each search takes.
#include "search/Expr.h"

#include "crt/Random.h"
#include "records/MusicLibrary.h"

#include <windows.h>

#include <stdio.h>

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

const char* const kSearches[] = {
    "beatles",
    "artist = beatles & timeadded < 2w",
    "keyword == rock | keyword == jazz",
    "playtime > 4:30 & like > 2",
    "(artist | title) = (love | night) & ! notes = live",
};

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

double Milliseconds(const LARGE_INTEGER& start, const LARGE_INTEGER& end, const LARGE_INTEGER& frequency)
{
    return 1000.0 * double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart);
}

} // namespace

int main()
{
    CMusicLibrary library;
    Fill(library);
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    printf("%d albums, %d tracks; mean of %d rounds\n", kAlbums, kAlbums * kTracksPerAlbum, kRounds);
    for (const char* text : kSearches)
    {
        CExpr expr;
        if (!expr.Parse(text, library.GetRatingNames(), library.GetRatingCount()))
            return 1;
        int matches = 0;
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        for (int round = 0; round < kRounds; ++round)
        {
            matches = 0;
            CLibraryLock lock(library);
            for (int a = 0; a < library.GetAlbumCount(); ++a)
            {
                const AlbumRecord& album = *library.GetAlbumPtr(lock, a);
                for (int t = kAlbumIndex; t < album.GetTrackCount(); ++t)
                    matches += expr.Evaluate(album, t);
            }
        }
        QueryPerformanceCounter(&end);
        printf("%-52s %8.2f ms %7d matches\n", text, Milliseconds(start, end, frequency) / kRounds, matches);
    }
    return 0;
}
