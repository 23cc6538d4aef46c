#include "core/doc/DocPlaylistCommands.h"

#include "core/doc/DocResource.h"
#include "core/doc/DocSwitches.h"
#include "core/doc/DocTitle.h"
#include "core/doc/OpenLink.h"
#include "core/doc/PlaylistDocument.h"
#include "core/doc/ZymOptions.h"

#include "core/players/SonyControl.h"
#include "core/players/SonyPlayer.h"
#include "library/playlist/PlayList.h"

namespace {

const char kMailLink[] = "mailto:support@halvane.example";
const char kWebSite[] = "http://www.halvane.example/";
const char kDiscDatabaseSite[] = "http://www.cddb.example/";
const char kHelpFile[] = "help\\tavlin.chm";
const char kHelpTopic[] = "::/overview.html";
const UINT kHelpDisplayTopic = 0; // HH_DISPLAY_TOPIC
// Alternate and Optimize have nothing to reorder in fewer entries.
const int kReorderEntries = 4;

enum PlayNowOption
{
    kPlayNowAddToEnd = 0,
    kPlayNowAddAsNext = 1,
    kPlayNowAddAsNextAndPlay = 2,
};

// HTML Help lives in hhctrl.ocx, which is loaded when first asked for.
BOOL ShowHelpTopic(const CString& file)
{
    typedef HWND(WINAPI * HtmlHelpProc)(HWND, LPCSTR, UINT, DWORD_PTR);
    if (GetFileAttributesA(file) == INVALID_FILE_ATTRIBUTES)
        return FALSE;
    static HMODULE module = LoadLibraryA("hhctrl.ocx");
    HtmlHelpProc htmlHelp = module ? reinterpret_cast<HtmlHelpProc>(GetProcAddress(module, "HtmlHelpA")) : nullptr;
    CWnd* main = AfxGetMainWnd();
    return htmlHelp && htmlHelp(main ? main->GetSafeHwnd() : nullptr, file + kHelpTopic, kHelpDisplayTopic, 0);
}

} // namespace

BEGIN_MESSAGE_MAP(CDocPlaylistCommands, CCmdTarget)
    ON_COMMAND(ID_PLAYLIST_PLAY, OnPlaylistPlay)
    ON_COMMAND(ID_PLAYLIST_STOP, OnPlaylistStop)
    ON_COMMAND(ID_PLAYLIST_PAUSE, OnPlaylistPause)
    ON_COMMAND(ID_PLAYLIST_RANDOM, OnPlaylistRandom)
    ON_COMMAND(ID_PLAYLIST_OPTIMIZE, OnPlaylistOptimize)
    ON_COMMAND(ID_PLAYLIST_SHUFFLE, OnPlaylistShuffle)
    ON_COMMAND(ID_PLAYLIST_ALTERNATE, OnPlaylistAlternate)
    ON_COMMAND(ID_PLAYLIST_CLEAR, OnPlaylistClear)
    ON_COMMAND(ID_PLAYLIST_LOOP, OnPlaylistLoop)
    ON_COMMAND(ID_PLAYLIST_PREVIEW, OnPlaylistPreview)
    ON_COMMAND(ID_PLAYLIST_PREVIOUS, OnPlaylistPrevious)
    ON_COMMAND(ID_PLAYLIST_NEXT, OnPlaylistNext)
    ON_COMMAND(ID_ADD_TO_END, OnAddToEnd)
    ON_COMMAND(ID_LIBRARY_ADD_TO_END, OnAddToEnd)
    ON_COMMAND(ID_LIBRARY_ADD_AS_NEXT, OnAddAsNext)
    ON_COMMAND(ID_LIBRARY_ADD_AS_NEXT_AND_PLAY, OnAddAsNextAndPlay)
    ON_COMMAND(ID_PLAY_NOW, OnPlayNow)
    ON_COMMAND(ID_ADD_EXPLODE_SHUFFLE_ALTERNATE, OnAddExplodeShuffleAlternate)
    ON_COMMAND(ID_VOLUME_UP, OnVolumeUp)
    ON_COMMAND(ID_VOLUME_DOWN, OnVolumeDown)
    ON_COMMAND(ID_MUTE, OnMute)
    ON_COMMAND(ID_ADD_MP3, OnAddMp3)
    ON_COMMAND(ID_HELP_TOPICS, OnHelpTopics)
    ON_COMMAND(ID_HELP_MAIL, OnHelpMail)
    ON_COMMAND(ID_HELP_CDDB, OnHelpDiscDatabase)
    ON_COMMAND(ID_HELP_WEBSITE, OnHelpWebSite)
    ON_UPDATE_COMMAND_UI(ID_PLAYLIST_ALTERNATE, OnUpdateNeedsFour)
    ON_UPDATE_COMMAND_UI(ID_PLAYLIST_OPTIMIZE, OnUpdateNeedsFour)
    ON_UPDATE_COMMAND_UI(ID_PLAYLIST_CLEAR, OnUpdateNeedsEntries)
    ON_UPDATE_COMMAND_UI(ID_PLAYLIST_PAUSE, OnUpdateNeedsEntries)
    ON_UPDATE_COMMAND_UI(ID_PLAYLIST_PLAY, OnUpdateNeedsEntries)
    ON_UPDATE_COMMAND_UI(ID_PLAYLIST_SHUFFLE, OnUpdateNeedsEntries)
    ON_UPDATE_COMMAND_UI(ID_PLAYLIST_STOP, OnUpdateStop)
    ON_UPDATE_COMMAND_UI(ID_PLAYLIST_LOOP, OnUpdateLoop)
    ON_UPDATE_COMMAND_UI(ID_PLAYLIST_PREVIEW, OnUpdatePreview)
    ON_UPDATE_COMMAND_UI(ID_PLAYLIST_RANDOM, OnUpdateRandom)
END_MESSAGE_MAP()

void CDocPlaylistCommands::WakeIfAsleep()
{
    if (m_doc.IsSleeping())
        m_doc.WakeUp();
}

void CDocPlaylistCommands::OnPlaylistPlay()
{
    m_doc.OnPlaylistPlay();
}

void CDocPlaylistCommands::OnPlaylistStop()
{
    m_doc.OnPlaylistStop();
}

void CDocPlaylistCommands::OnPlaylistPause()
{
    WakeIfAsleep();
    CPlayList& list = m_doc.GetCurrentPlayList();
    if (list.IsPaused())
        list.SetPlaying();
    else
        list.SetPaused();
}

void CDocPlaylistCommands::OnPlaylistPlayPause()
{
    WakeIfAsleep();
    CPlayList& list = m_doc.GetCurrentPlayList();
    if (list.IsPlaying())
        list.SetPaused();
    else
        list.SetPlaying();
}

void CDocPlaylistCommands::OnPlaylistRandom()
{
    m_doc.OnPlaylistRandom();
}

void CDocPlaylistCommands::OnPlaylistOptimize()
{
    m_doc.GetCurrentPlayList().Optimize();
}

void CDocPlaylistCommands::OnPlaylistShuffle()
{
    m_doc.GetCurrentPlayList().Shuffle();
}

void CDocPlaylistCommands::OnPlaylistAlternate()
{
    m_doc.GetCurrentPlayList().Alternate();
}

void CDocPlaylistCommands::OnPlaylistClear()
{
    m_doc.GetCurrentPlayList().Clear();
}

void CDocPlaylistCommands::OnPlaylistLoop()
{
    CPlayList& list = m_doc.GetCurrentPlayList();
    list.SetLoop(!list.GetLoop());
}

// The changers play only the first seconds of each song while it is set.
void CDocPlaylistCommands::OnPlaylistPreview()
{
    BOOL& preview = m_doc.GetSwitches().preview;
    preview = !preview;
    m_doc.GetPlayerControl().SetPreview(preview);
}

void CDocPlaylistCommands::OnPlaylistPrevious()
{
    m_doc.GetCurrentPlayList().Previous();
}

void CDocPlaylistCommands::OnPlaylistNext()
{
    m_doc.GetCurrentPlayList().Next();
}

void CDocPlaylistCommands::InsertSelection(int position)
{
    m_doc.GetCurrentPlayList().InsertList(m_doc.GetSelectionList(), position, false);
}

void CDocPlaylistCommands::OnAddToEnd()
{
    InsertSelection(m_doc.GetCurrentPlayList().GetCount());
}

void CDocPlaylistCommands::OnAddAsNext()
{
    InsertSelection(m_doc.GetCurrentPlayList().GetPointer() + 1);
}

void CDocPlaylistCommands::OnAddAsNextAndPlay()
{
    OnAddAsNext();
    m_doc.GetCurrentPlayList().Next();
    OnPlaylistPlay();
}

void CDocPlaylistCommands::OnPlayNow()
{
    switch (m_doc.GetOptions().m_page2.m_doubleClickPlayOption)
    {
    case kPlayNowAddToEnd:
        return OnAddToEnd();
    case kPlayNowAddAsNext:
        return OnAddAsNext();
    case kPlayNowAddAsNextAndPlay:
        return OnAddAsNextAndPlay();
    }
}

// The selection's albums become their tracks in a copy: the selection the
// views show stays as the user made it.
void CDocPlaylistCommands::OnAddExplodeShuffleAlternate()
{
    CPlayList tracks(m_doc.GetSelectionList());
    tracks.ExplodeAll(m_title.GetPlayingEntry());
    CPlayList& list = m_doc.GetCurrentPlayList();
    list.InsertList(tracks, list.GetCount(), false);
    list.Shuffle();
    list.Alternate();
}

void CDocPlaylistCommands::OnVolumeUp()
{
    m_doc.FireEvent("vol_up");
}

void CDocPlaylistCommands::OnVolumeDown()
{
    m_doc.FireEvent("vol_down");
}

void CDocPlaylistCommands::OnMute()
{
    BOOL& muted = m_doc.GetSwitches().muted;
    m_doc.FireEvent(muted ? "mute_off" : "mute_on");
    muted = !muted;
}

CString CDocPlaylistCommands::GetHelpPath()
{
    CString folder = m_doc.GetProgramFolder();
    folder.TrimRight('\\');
    int parent = folder.ReverseFind('\\');
    return folder.Left(parent + 1) + kHelpFile;
}

void CDocPlaylistCommands::OnHelpTopics()
{
    CString path = GetHelpPath();
    if (ShowHelpTopic(path))
        return;
    CString text;
    text.Format("Unable to find or start the help files (%s).", static_cast<const char*>(path));
    AfxMessageBox(text);
}

void CDocPlaylistCommands::OnHelpMail()
{
    OpenLink(kMailLink, nullptr, nullptr);
}

void CDocPlaylistCommands::OnHelpDiscDatabase()
{
    OpenLink(kDiscDatabaseSite, nullptr, nullptr);
}

void CDocPlaylistCommands::OnHelpWebSite()
{
    OpenLink(kWebSite, nullptr, nullptr);
}

void CDocPlaylistCommands::OnUpdateNeedsFour(CCmdUI* cmdUI)
{
    cmdUI->Enable(m_doc.GetCurrentPlayList().GetCount() >= kReorderEntries);
}

void CDocPlaylistCommands::OnUpdateNeedsEntries(CCmdUI* cmdUI)
{
    cmdUI->Enable(m_doc.GetCurrentPlayList().GetCount() > 0);
}

void CDocPlaylistCommands::OnUpdateStop(CCmdUI* cmdUI)
{
    cmdUI->Enable(TRUE);
}

void CDocPlaylistCommands::OnUpdateLoop(CCmdUI* cmdUI)
{
    cmdUI->SetRadio(m_doc.GetCurrentPlayList().GetLoop());
}

void CDocPlaylistCommands::OnUpdatePreview(CCmdUI* cmdUI)
{
    cmdUI->SetRadio(m_doc.GetSwitches().preview);
}

void CDocPlaylistCommands::OnUpdateRandom(CCmdUI* cmdUI)
{
    cmdUI->SetRadio(m_doc.GetSwitches().randomFill);
}
