#include "shell/views/PlayerView.h"
#include "core/doc/ZymDoc.h"
#include "shell/views/LibraryCells.h"
#include "shell/views/ViewsResources.h"

#include "core/players/SonyPlayer.h"

namespace {

enum PlayerColumn
{
    kColCategory = 0,
    kColStatus = 1,
    kColName = 2,
    kColLocation = 3,
    kColDescription = 4,
    kColPlayingTime = 5,
};

const ListColumn kColumns[] = {
    {kColCategory, "", 0, 0x180, -1, "", LVCFMT_LEFT},
    {kColStatus, "", 21, 0x3C0, 5, "Player Status", LVCFMT_CENTER},
    {kColName, "", 40, 0x200, 0, "Player Name", LVCFMT_CENTER},
    {kColLocation, "Location", 60, 0, -1, "Slot / File Location", LVCFMT_CENTER},
    {kColDescription, "Description", 60, 0, -1, "Player Description", LVCFMT_CENTER},
    {kColPlayingTime, "", 60, 0x200, 4, "Playing Time", LVCFMT_CENTER},
};
const int kShownColumns[] = {kColCategory, kColStatus, kColName, kColLocation, kColPlayingTime, kColDescription};

const char kListName[] = "Player List";
const int kBusyFrames = 18;

CString PlayingTime(int elapsedMinutes, int elapsedSeconds, int totalMinutes, int totalSeconds)
{
    CString text;
    if (elapsedMinutes != -1 && elapsedSeconds != -1 && totalMinutes != -1 && totalSeconds != -1)
        text.Format("%d:%02d/%d:%02d", elapsedMinutes, elapsedSeconds, totalMinutes, totalSeconds);
    else if (elapsedMinutes != -1 && elapsedSeconds != -1)
        text.Format("%d:%02d", elapsedMinutes, elapsedSeconds);
    return text;
}

bool TakeNews(HANDLE event)
{
    if (WaitForSingleObject(event, 0) != WAIT_OBJECT_0)
        return false;
    ResetEvent(event);
    return true;
}

} // namespace

IMPLEMENT_DYNCREATE(CPlayerView, CLibraryListView)

CPlayerView::CPlayerView()
    : CLibraryListView("Players", kListName, kColumns, sizeof kColumns / sizeof kColumns[0], kShownColumns,
                       sizeof kShownColumns / sizeof kShownColumns[0], ListStyleChange{0x2006, 0x9, false})
{
    m_contextMenu = IDR_PLAYER_MENU;
    m_menuToMainWindow = true;
}

void CPlayerView::OnInitialUpdate()
{
    CLibraryListView::OnInitialUpdate();
    m_list.EnableInPlaceEdit(false);
}

void CPlayerView::OnUpdate(CView* sender, LPARAM hint, CObject* hintObject)
{
    switch (hint)
    {
    case kViewHintAll:
    case kViewHintPlayersRescanned:
        Rebuild();
        break;
    case kViewHintPlayers:
        RefreshStatus();
        break;
    case kViewHintEditingEnabled:
    case kViewHintEditingDisabled:
        break;
    default:
        OnSharedHint(sender, hint, hintObject);
    }
}

int CPlayerView::ChangerCount()
{
    CZymDoc* doc = GetDoc();
    return doc && doc->GetSonyControl() ? doc->GetSonyControl()->GetPlayerCount() : 0;
}

CMp3Control* CPlayerView::Mp3Player()
{
    CZymDoc* doc = GetDoc();
    return doc ? doc->GetMp3Player() : nullptr;
}

void CPlayerView::Rebuild()
{
    if (!m_list.m_hWnd)
        return;
    int rows = ChangerCount() + (Mp3Player() ? 1 : 0);
    m_filling = true;
    m_list.SetRedraw(FALSE);
    m_list.DeleteAllItems();
    m_list.SetItemCount(rows);
    for (int row = 0; row < rows; ++row)
        m_list.InsertItemEx(row, static_cast<DWORD_PTR>(row));
    m_frames.assign(rows, 0);
    m_list.SetRedraw(TRUE);
    m_filling = false;
    LayOutNow();
}

void CPlayerView::RedrawRow(int row)
{
    m_list.RedrawItems(row, row);
}

void CPlayerView::RefreshStatus()
{
    CZymDoc* doc = GetDoc();
    if (!doc || !m_list.m_hWnd)
        return;
    int changers = std::min(ChangerCount(), m_list.GetItemCount());
    for (int row = 0; row < changers; ++row)
    {
        CSonyPlayer* player = doc->GetSonyControl()->GetPlayer(row);
        if (player && (TakeNews(player->GetStatusEvent()) || player->GetState().busy))
            RedrawRow(row);
    }
    CMp3Control* mp3 = Mp3Player();
    if (mp3 && changers < m_list.GetItemCount() && (TakeNews(mp3->GetStatusEvent()) || mp3->IsBusy()))
        RedrawRow(changers);
    m_list.UpdateWindow();
}

void CPlayerView::OnRowSelected(int row)
{
    CZymDoc* doc = GetDoc();
    int changer = static_cast<int>(m_list.GetItemData(row));
    if (doc)
        doc->SetCurrentPlayer(changer < ChangerCount() ? changer : kMp3Player);
}

bool CPlayerView::IsValidItem(DWORD_PTR itemData)
{
    return itemData < static_cast<DWORD_PTR>(ChangerCount() + (Mp3Player() ? 1 : 0));
}

void CPlayerView::GetItemText(DWORD_PTR itemData, int columnId, CString& text)
{
    int row = static_cast<int>(itemData);
    if (row < ChangerCount())
        text = ChangerText(row, columnId);
    else if (CMp3Control* mp3 = Mp3Player())
        text = Mp3Text(*mp3, columnId);
}

CString CPlayerView::BusyFrame(int row)
{
    if (row >= static_cast<int>(m_frames.size()))
        m_frames.resize(row + 1, 0);
    int frame = m_frames[row];
    m_frames[row] = (frame + 1) % kBusyFrames;
    return ImageNumber(kImageBusyFirst + frame);
}

CString CPlayerView::ChangerText(int changer, int columnId)
{
    CSonyPlayer* player = GetDoc()->GetSonyControl()->GetPlayer(changer);
    CString text;
    if (!player)
        return text;
    const ChangerState s = player->GetState();
    bool trackCurrent = s.currentTrack >= 1;
    switch (columnId)
    {
    case kColStatus:
        if (!s.powered)
            return ImageNumber(kImageMissing);
        if (s.busy)
            return BusyFrame(changer);
        if (s.paused)
            return ImageNumber(kImagePaused);
        if (s.playing)
            return ImageNumber(kImagePlaying);
        return ImageNumber(s.changing ? kImageDiscShown : kImageStopped);
    case kColName:
        text.Format("CD %d", changer + 1);
        break;
    case kColLocation:
    {
        CString part;
        if (s.currentDisc >= 1)
            text.Format("D%d ", s.currentDisc);
        if (trackCurrent)
            part.Format("T%d", s.currentTrack);
        text += part;
        break;
    }
    case kColDescription:
        return player->GetDescription();
    case kColPlayingTime:
        if (trackCurrent)
            return PlayingTime(s.elapsedMinutes, s.elapsedSeconds, s.lengthMinutes, s.lengthSeconds);
        break;
    }
    return text;
}

CString CPlayerView::Mp3Text(CMp3Control& mp3, int columnId)
{
    switch (columnId)
    {
    case kColStatus:
        if (mp3.IsBusy())
            return BusyFrame(ChangerCount());
        if (mp3.IsPaused())
            return ImageNumber(kImagePaused);
        return ImageNumber(mp3.IsPlaying() ? kImagePlaying : kImageStopped);
    case kColName:
        return "MP3";
    case kColLocation:
    case kColPlayingTime:
        return Mp3TrackText(mp3, columnId);
    case kColDescription:
        return "MPEG Audio Decoder";
    }
    return CString();
}

// The file and the times of the track the MP3 player holds: its position as
// the player reports it, its length as the library knows it.
CString CPlayerView::Mp3TrackText(CMp3Control& mp3, int columnId)
{
    CMusicLibrary& library = GetDoc()->GetMusicLibrary();
    CLibItem item(mp3.GetAlbumId(), mp3.GetTrack());
    int minutes = -1, seconds = -1;
    if (columnId == kColPlayingTime)
        mp3.GetPosition(&minutes, &seconds);
    CLibraryLock lock(library);
    const AlbumRecord* album = item.GetAlbum(lock, library);
    if (!album || item.GetTrack() < 0 || item.GetTrack() >= album->GetTrackCount())
        return CString();
    if (columnId == kColLocation)
        return album->GetFileLocation(item.GetTrack());
    int length = album->GetPlayTime(item.GetTrack());
    return PlayingTime(minutes, seconds, length / 60, length % 60);
}

// The MP3 row keeps the list's colours.
bool CPlayerView::GetRowPlayer(DWORD_PTR itemData, int& player)
{
    if (itemData >= static_cast<DWORD_PTR>(ChangerCount()))
        return false;
    player = static_cast<int>(itemData);
    return true;
}
