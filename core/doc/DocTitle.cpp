#include "core/doc/DocTitle.h"

#include "core/doc/DocSwitches.h"
#include "core/doc/NoOutputNotice.h"
#include "core/doc/PlaylistDocument.h"
#include "core/doc/ZymOptions.h"

#include "core/players/SonyControl.h"
#include "core/players/SonyPlayer.h"
#include "library/playlist/PlayList.h"
#include "library/records/MusicLibrary.h"
#include "library/views/ViewsHost.h"

namespace {

const char kTitle[] = "ZYM";
const char kNoOutputText[] = "ZYM could not open a wave output device, so MP3 files cannot be played. "
                             "Please check your sound device and the output chosen under View | Options | Players.";

} // namespace

void CDocTitle::SetPlayer(int player)
{
    if (player != m_player)
        m_previousPlayer = m_player;
    m_player = player;
}

// The play list stops where it is rather than run through its MP3 entries
// unheard; the box is shown after the stop, as its modal loop runs ticks.
void CDocTitle::TakeNoOutputReports()
{
    CNoOutputNotice& notice = m_doc.GetNoOutputNotice();
    if (!notice.TakeReports())
        return;
    m_doc.OnPlaylistStop();
    if (notice.FirstTelling())
        AfxMessageBox(kNoOutputText, MB_ICONEXCLAMATION);
}

void CDocTitle::UpdateTitle()
{
    TakeNoOutputReports();
    int player = ChoosePlayer();
    SetPlayer(player);
    Playing playing;
    if (player == -1 || !ReadPlayer(player, playing))
    {
        m_entry.SetTrack(kWholeAlbum);
        SetWindowTitle(kTitle);
        return;
    }
    bool timeChanged = false;
    bool entryChanged = false;
    bool known = true;
    if (IsPlayingEntry(player, playing))
    {
        timeChanged = playing.minutes != m_minutes || playing.seconds != m_seconds;
    }
    else
    {
        int index = FindAlbum(player, playing);
        known = index >= 0;
        if (known)
        {
            m_entry.SetAlbumIndex(m_doc.GetMusicLibrary(), index);
            entryChanged = true;
        }
        m_entry.SetTrack(playing.track - 1);
    }
    m_minutes = playing.minutes;
    m_seconds = playing.seconds;
    SetWindowTitle(known ? MakeTitle(playing.track, playing) : CString("ZYM - (Unknown)"));
    if (timeChanged && m_doc.GetSwitches().notifyPlayingTime)
    {
        CString text;
        text.Format("time[%d:%02d]", playing.minutes, playing.seconds);
        m_doc.FireEvent(text);
    }
    if (entryChanged)
        FollowEntry();
    if (timeChanged && m_doc.GetOptions().m_page2.m_trackPlaytime)
        m_doc.GetMusicLibrary().NotePlayingTime(m_entry.GetId(), m_entry.GetTrack(),
                                                playing.minutes * 60 + playing.seconds);
}

// The changer whose play started last; the MP3 player when its play started
// later still.
int CDocTitle::ChoosePlayer()
{
    int chosen = -1;
    time_t latest = 0;
    CSonyControl& control = m_doc.GetPlayerControl();
    for (int i = 0; i < control.GetPlayerCount(); ++i)
    {
        CSonyPlayer* player = control.GetPlayer(i);
        if (!player)
            continue;
        const ChangerState state = player->GetState();
        if (state.playing && state.playStart > latest)
        {
            chosen = i;
            latest = state.playStart;
        }
    }
    CMp3Control* mp3 = m_doc.GetMp3Player();
    if (mp3 && mp3->IsPlaying() && mp3->GetPlayStart() > latest)
        chosen = kMp3Player;
    return chosen;
}

bool CDocTitle::ReadPlayer(int player, Playing& playing)
{
    if (player == kMp3Player)
    {
        CMp3Control* mp3 = m_doc.GetMp3Player();
        if (!mp3)
            return false;
        playing.file = mp3->GetCurrentLocation();
        playing.track = mp3->GetTrack() + 1;
        mp3->GetPosition(&playing.minutes, &playing.seconds);
        return true;
    }
    CSonyPlayer* changer = m_doc.GetPlayerControl().GetPlayer(player);
    if (!changer)
        return false;
    const ChangerState state = changer->GetState();
    playing.slot = state.currentDisc;
    playing.track = state.currentTrack;
    playing.minutes = state.elapsedMinutes;
    playing.seconds = state.elapsedSeconds;
    return true;
}

bool CDocTitle::IsPlayingEntry(int player, const Playing& playing)
{
    if (m_entry.GetTrack() != playing.track - 1)
        return false;
    AlbumRecord album;
    if (!m_entry.GetAlbumCopy(m_doc.GetMusicLibrary(), album) || album.GetPlayer() != player)
        return false;
    if (player != kMp3Player)
        return album.GetSlot() == playing.slot;
    return album.GetFileLocation(m_entry.GetTrack()).CompareNoCase(playing.file) == 0;
}

int CDocTitle::FindAlbum(int player, const Playing& playing)
{
    CMusicLibrary& library = m_doc.GetMusicLibrary();
    if (player != kMp3Player)
        return library.FindAlbumAt(player, playing.slot);
    if (playing.file.IsEmpty())
        return -1;
    CLibraryLock lock(library);
    for (int index = 0; AlbumRecord* album = library.GetAlbumPtr(lock, index); ++index)
    {
        if (album->IsGone() || album->GetPlayer() != kMp3Player)
            continue;
        for (int track = 0; track < album->GetTrackCount(); ++track)
        {
            if (album->GetFileLocation(track).CompareNoCase(playing.file) == 0)
                return index;
        }
    }
    return -1;
}

CString CDocTitle::MakeTitle(int track, const Playing& playing)
{
    AlbumRecord album;
    if (!m_entry.GetAlbumCopy(m_doc.GetMusicLibrary(), album))
        return "ZYM - (Unknown)";
    CString title;
    if (track < 1 || track > album.GetTrackCount())
    {
        title.Format("ZYM - %s", static_cast<const char*>(album.GetTitle(kAlbumIndex)));
        return title;
    }
    title.Format("ZYM - %s / %s / %s [%d:%02d/%s]", static_cast<const char*>(album.GetTitle(kAlbumIndex)),
                 static_cast<const char*>(album.GetArtist(track - 1)),
                 static_cast<const char*>(album.GetTitle(track - 1)), playing.minutes, playing.seconds,
                 static_cast<const char*>(album.GetPlayTimeText(track - 1)));
    return title;
}

// Setting the same text again would repaint the caption every tick.
void CDocTitle::SetWindowTitle(const CString& title)
{
    CWnd* window = AfxGetMainWnd();
    if (!window || !window->GetSafeHwnd())
        return;
    CString current;
    window->GetWindowText(current);
    if (current != title)
        window->SetWindowText(title);
}

void CDocTitle::FollowEntry()
{
    if (m_doc.GetSwitches().notifyPlayingItem)
        FirePlayingItem();
    if (!m_doc.GetOptions().m_page2.m_trackPlayers || m_doc.UserActedRecently())
        return;
    CPlayList& selection = m_doc.GetSelectionList();
    selection.Clear();
    selection.AddItem(m_entry);
    m_doc.UpdateViews(kViewHintSelection);
}

void CDocTitle::FirePlayingItem()
{
    AlbumRecord album;
    if (!m_entry.GetAlbumCopy(m_doc.GetMusicLibrary(), album))
        return;
    int track = m_entry.GetTrack();
    CString text;
    text.Format("playing[\"%s\",\"%s\",\"%s\",\"%s\",\"%s\",\"%s\",\"%d\"]",
                static_cast<const char*>(album.GetTitle(kAlbumIndex)), static_cast<const char*>(album.GetArtist(track)),
                static_cast<const char*>(album.GetTitle(track)), static_cast<const char*>(album.GetPlayTimeText(track)),
                static_cast<const char*>(album.GetImagePath(track, m_doc.GetOptions().m_page9.m_imageDirectory)),
                static_cast<const char*>(album.GetIdText()), track + 1);
    m_doc.FireEvent(text);
}
