// Times the jukebox's list views over a library of 10,000 albums with
// 150,000 tracks, a search list of 150,000 entries and an audio-file album of
// 150,000 tracks: fill, sorts by text, date and number both ways, a page
// repaint and a full scroll; then the time from a click on an album until
// every view has followed. Prints milliseconds. Needs a display.
#include "shell/views/AlbumListView.h"
#include "bench/support/BenchHost.h"
#include "core/doc/ZymDoc.h"
#include "shell/views/DetailView.h"
#include "shell/views/SearchView.h"
#include "shell/views/TrackListView.h"

#include "platform/crt/Random.h"

#include <stdio.h>

#include <string>

namespace {

const int kAlbums = 10000;
const int kTracksPerAlbum = 15;
const int kBigAlbumTracks = 150000;
const int kSearchEntries = 150000;
const char kRegistryKey[] = "ZymViewsBench";
const char* const kWords[] = {"love", "night", "blue", "road", "heart", "rain", "fire", "dream",
                              "city", "river", "song", "time", "light", "home", "dance", "shadow"};

LARGE_INTEGER g_frequency;

double Now()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart * 1000.0 / g_frequency.QuadPart;
}

void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
    {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

template <class Call>
void Time(const char* what, Call call)
{
    double start = Now();
    call();
    Pump();
    printf("%-48s %10.1f ms\n", what, Now() - start);
    fflush(stdout);
}

CString Words()
{
    return CString(kWords[MsRand() % 16]) + " " + kWords[MsRand() % 16];
}

void Fill(CMusicLibrary& library)
{
    MsSrand(1);
    for (int a = 0; a <= kAlbums; ++a)
    {
        bool big = a == kAlbums;
        int tracks = big ? kBigAlbumTracks : kTracksPerAlbum;
        AlbumRecord album = library.NewAlbum();
        album.SetIdText(library.MakeUniqueId());
        album.SetTrackCount(tracks);
        album.SetTitle(kAlbumIndex, Words());
        album.SetArtist(kAlbumIndex, Words());
        album.SetReleased(kAlbumIndex, std::to_string(1960 + MsRand() % 60).c_str());
        for (int t = 0; t < tracks; ++t)
        {
            album.SetPlayTime(t, 60 + MsRand() % 420);
            album.SetTitle(t, Words());
            album.GetRecord(t)->m_timesPlayed = MsRand() % 50;
        }
        album.SetPlayer(big || a % 2 == 0 ? kMp3Player : 0);
        album.SetSlot(album.GetStoredPlayer() == kMp3Player ? 0 : 1 + a % 300);
        album.SetPresent(true);
        library.AppendAlbum(album);
    }
}

CView* ShowView(CZymDoc& doc, CRuntimeClass* viewClass)
{
    CCreateContext context;
    context.m_pCurrentDoc = &doc;
    context.m_pNewViewClass = viewClass;
    CFrameWnd* frame = new CFrameWnd;
    frame->Create(NULL, viewClass->m_lpszClassName, WS_OVERLAPPEDWINDOW, CRect(0, 0, 800, 600), NULL, NULL, 0,
                  &context);
    frame->InitialUpdateFrame(&doc, TRUE);
    Pump();
    return frame->GetActiveView();
}

int ColumnOf(CLxListCtrl& list, int id)
{
    for (int column = 0; column < list.GetColumnCount(); ++column)
    {
        if (list.GetColumnId(column) == id)
            return column;
    }
    return -1;
}

// Sorts by the columns of these ids (text, date, number), a repaint and a
// scroll to the bottom and back.
void TimeList(const char* name, CLxListCtrl& list, const int (&ids)[3])
{
    const char* kinds[] = {"text", "date", "number"};
    char what[96];
    for (int k = 0; k < 3; ++k)
    {
        for (int ascending : {1, 0})
        {
            sprintf(what, "%s: sort by %s %s", name, kinds[k], ascending ? "up" : "down");
            int column = ColumnOf(list, ids[k]);
            if (column < 0)
                printf("%-48s %13s\n", what, "(not shown)");
            else
                Time(what, [&] { list.SortBy(column, ascending); });
        }
    }
    sprintf(what, "%s: repaint", name);
    Time(what, [&] {
        list.Invalidate();
        list.UpdateWindow();
    });
    sprintf(what, "%s: full scroll", name);
    Time(what, [&] {
        list.EnsureVisible(list.GetItemCount() - 1, FALSE);
        list.UpdateWindow();
        list.EnsureVisible(0, FALSE);
        list.UpdateWindow();
    });
}

} // namespace

int main()
{
    QueryPerformanceFrequency(&g_frequency);
    CBenchApp app(kRegistryKey);
    CBenchFrame frame;
    CZymDoc* doc = &frame.OpenDocument();
    Fill(doc->GetMusicLibrary());
    printf("%d albums, %d tracks, an album of %d tracks, %d search entries\n", kAlbums, kAlbums * kTracksPerAlbum,
           kBigAlbumTracks, kSearchEntries);

    CAlbumListView* albums = static_cast<CAlbumListView*>(ShowView(*doc, RUNTIME_CLASS(CAlbumListView)));
    Time("albums: fill", [&] { albums->Fill(false); });
    TimeList("albums", albums->GetList(), {2, 12, 10});

    CPlayList& search = doc->GetSearchList();
    {
        CMusicLibrary& library = doc->GetMusicLibrary();
        for (int i = 0; i < kSearchEntries; ++i)
        {
            CLibItem item;
            item.SetAlbumIndex(library, i % kAlbums);
            item.SetTrack(i / kAlbums % kTracksPerAlbum);
            search.AddItem(item);
        }
    }
    CSearchView* results = static_cast<CSearchView*>(ShowView(*doc, RUNTIME_CLASS(CSearchView)));
    Time("search: fill", [&] { results->Fill(); });
    TimeList("search", results->GetList(), {4, 13, 11});

    CTrackListView* tracks = static_cast<CTrackListView*>(ShowView(*doc, RUNTIME_CLASS(CTrackListView)));
    ShowView(*doc, RUNTIME_CLASS(CDetailView));
    CLibItem big;
    big.SetAlbumIndex(doc->GetMusicLibrary(), kAlbums);
    doc->GetSelectionList().Clear();
    doc->GetSelectionList().AddItem(big);
    Time("tracks: fill with the big album", [&] { doc->UpdateAllViews(NULL, kViewHintSelection); });
    TimeList("tracks", tracks->GetList(), {3, 11, 9});

    // A click: the album list's selection reaches the document once, and
    // every view follows the hint.
    Time("click on an album until the views follow", [&] {
        CLxListCtrl& list = albums->GetList();
        list.SetItemState(-1, 0, LVIS_SELECTED);
        list.SetItemState(1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    });
    Time("select all albums until the views follow", [&] {
        albums->GetList().SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED);
    });
    printf("selection after select all: %d entries\n", doc->GetSelectionList().GetCount());

    frame.CloseDocument();
    return 0;
}
