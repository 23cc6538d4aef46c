// Times the document's tick while nothing happens and the playing thread's
// step while an MP3 entry plays, over a library of 10,000 albums with a play
// list of 200 entries, and prints microseconds per call. Both run every
// 100 ms, so they must stay far below that.
#include "bench/support/BenchHost.h"
#include "core/doc/PlayMusic.h"
#include "core/doc/ZymDoc.h"

#include "platform/crt/Random.h"

#include <windows.h>

#include <stdio.h>

#include <string>

namespace {

const int kAlbums = 10000;
const int kTracksPerAlbum = 12;
const int kListEntries = 200;
const int kCalls = 200;
const char kRegistryKey[] = "ZymDocumentBench";

// The MP3 player, always playing the entry it was asked for last.
class CBenchMp3 : public CMp3Control
{
public:
    BOOL Play(const AlbumRecord& album, int track) override { return Take(album, track); }
    BOOL Pause(const AlbumRecord& album, int track) override { return Take(album, track); }
    BOOL Cue(const AlbumRecord& album, int track) override { return Take(album, track); }
    BOOL StopPlayback() override { return TRUE; }
    BOOL IsPlaying() override { return TRUE; }
    BOOL IsPaused() override { return FALSE; }
    CString GetAlbumId() override { return m_albumId; }
    int GetTrack() override { return m_track; }
    BOOL InStartGrace() override { return FALSE; }
    BOOL IsNearEnd() override { return FALSE; }
    void ClearNearEnd() override {}
    int GetPlayState() override { return m_state; }
    void SetPlayState(int state) override { m_state = state; }
    void SetFades(int, int, int) override {}
    void SetPreview(BYTE) override {}
    HANDLE GetStatusEvent() const override { return nullptr; }
    void PostPlay() override {}
    void Stop() override {}
    void TogglePause() override {}
    BOOL NextTrack() override { return TRUE; }
    BOOL PrevTrack() override { return TRUE; }
    CString GetCurrentLocation() override { return CString(); }
    void GetPosition(int* minutes, int* seconds) override { *minutes = *seconds = 0; }
    time_t GetPlayStart() override { return 0; }

private:
    BOOL Take(const AlbumRecord& album, int track)
    {
        m_albumId = album.GetIdText();
        m_track = track;
        return TRUE;
    }
    CString m_albumId;
    int m_track = 0;
    int m_state = 0;
};

void Fill(CMusicLibrary& library)
{
    MsSrand(1);
    for (int a = 0; a < kAlbums; ++a)
    {
        AlbumRecord album = library.NewAlbum();
        album.SetIdText(library.MakeUniqueId());
        album.SetTrackCount(kTracksPerAlbum);
        bool mp3 = a % 2 == 0;
        for (int t = 0; t < kTracksPerAlbum; ++t)
        {
            album.SetPlayTime(t, 60 + MsRand() % 420);
            if (mp3)
                album.SetFileLocation(t, ("Z:\\music\\" + std::to_string(a) + "\\" + std::to_string(t) + ".mp3").c_str());
        }
        album.SetPlayer(mp3 ? kMp3Player : 0);
        album.SetSlot(mp3 ? 0 : 1 + a % 200);
        album.SetPresent(true);
        library.AppendAlbum(album);
    }
}

double Microseconds(const LARGE_INTEGER& start, const LARGE_INTEGER& end, const LARGE_INTEGER& frequency)
{
    return 1e6 * double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart);
}

template <class Call>
void Time(const char* what, Call call)
{
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    for (int i = 0; i < kCalls; ++i)
        call();
    QueryPerformanceCounter(&end);
    printf("%-40s %10.1f us\n", what, Microseconds(start, end, frequency) / kCalls);
}

} // namespace

int main()
{
    CBenchApp app(kRegistryKey);
    CBenchMp3 mp3;
    CBenchFrame frame(&mp3);
    CZymDoc* doc = &frame.OpenDocument();
    doc->RunTick();
    // The document runs no playing thread here: the bench steps it itself.
    doc->StopPlayMusic();
    Fill(doc->GetMusicLibrary());
    doc->GetSonyControl()->AddPlayer(0, 0, 0, FALSE);
    doc->UpdatePlayerAvailability();

    CPlayList& list = *doc->GetPlayList();
    CMusicLibrary& library = doc->GetMusicLibrary();
    for (int i = 0; i < kListEntries; ++i)
    {
        AlbumRecord album;
        library.GetAlbumAt((i * 37) % kAlbums, album);
        list.AddItem(CLibItem(album.GetIdText(), i % kTracksPerAlbum));
    }
    printf("%d albums, %d play-list entries, one changer and the MP3 player; mean of %d calls\n", kAlbums,
           kListEntries, kCalls);
    Time("idle tick", [&] { doc->RunTick(); });
    CPlayMusic music(*doc);
    list.SetPointer(0);
    list.SetPlaying();
    music.Step();
    Time("playing step, MP3 entry current", [&] { music.Step(); });
    list.SetStopped();
    music.Step();
    Time("playing step, list stopped", [&] { music.Step(); });
    frame.CloseDocument();
    return 0;
}
