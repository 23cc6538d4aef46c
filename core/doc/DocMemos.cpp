#include "core/doc/DocMemos.h"

#include "core/doc/PlaylistDocument.h"
#include "core/players/SonyControl.h"
#include "core/players/SonyPlayer.h"
#include "core/tasks/TaskMgr.h"
#include "library/records/MusicLibrary.h"
#include "library/views/ViewsHost.h"

namespace {

const DWORD kProgressDialog = 1;
// The capability bits of a changer's type code that stand for memo functions.
const int kMemoBits = 0x0B;
const int kTitleShown = 16;
const int kMarkedTracks = CSonyPlayer::kDeleteFileBytes * 8;

} // namespace

void CDocMemos::OnUploadAllMemos()
{
    UploadMemos(*BuildPresentAlbumList(), kAllAlbums);
}

void CDocMemos::OnUploadSelectedMemos()
{
    UploadMemos(*CollectSelection(), kSelectedAlbums);
}

void CDocMemos::OnDownloadAllMemos()
{
    DownloadMemos(*BuildPresentAlbumList());
}

void CDocMemos::OnDownloadSelectedMemos()
{
    DownloadMemos(*CollectSelection());
}

std::unique_ptr<CPlayList> CDocMemos::CollectSelection()
{
    m_doc.GetSelectionList().Clear();
    m_doc.UpdateViews(kViewHintTakeSelection);
    return std::unique_ptr<CPlayList>(new CPlayList(m_doc.GetSelectionList()));
}

std::unique_ptr<CPlayList> CDocMemos::BuildPresentAlbumList()
{
    CMusicLibrary& library = m_doc.GetMusicLibrary();
    std::unique_ptr<CPlayList> list(new CPlayList(library));
    CSonyControl& control = m_doc.GetPlayerControl();
    for (int i = 0; i < control.GetPlayerCount(); ++i)
    {
        CSonyPlayer* player = control.GetPlayer(i);
        int capacity = player ? player->GetState().capacity : -1;
        for (int slot = 0; slot <= capacity; ++slot)
        {
            AlbumRecord album;
            if (library.GetAlbumAt(library.FindAlbumAt(i, slot), album))
                list->AddItem(CLibItem(album.GetIdText(), -1));
        }
    }
    return list;
}

std::unique_ptr<CPlayList> CDocMemos::BuildAllAlbumsList()
{
    CMusicLibrary& library = m_doc.GetMusicLibrary();
    std::unique_ptr<CPlayList> list(new CPlayList(library));
    int count = library.GetAlbumCount();
    for (int i = 0; i < count; ++i)
    {
        AlbumRecord album;
        if (library.GetAlbumAt(i, album) && !album.IsGone())
            list->AddItem(CLibItem(album.GetIdText(), -1));
    }
    return list;
}

void CDocMemos::UploadMemos(const CPlayList& albums, UploadMode mode)
{
    CSonyControl& control = m_doc.GetPlayerControl();
    for (int i = 0; i < control.GetPlayerCount(); ++i)
    {
        CSonyPlayer* player = control.GetPlayer(i);
        if (!player || !player->HasAllBits(kMemoBits))
            continue;
        CPlayList onPlayer(m_doc.GetMusicLibrary());
        if (albums.CopyItemsOnPlayer(onPlayer, i) > 0)
            player->DownloadMemos(onPlayer, mode == kAllAlbums, &m_doc.GetTaskMgr());
    }
}

void CDocMemos::DownloadMemos(const CPlayList& albums)
{
    if (albums.GetCount() == 0)
        return;
    int poll = m_doc.GetPollPlayerStatus();
    m_doc.SetPollPlayerStatus(0);
    m_doc.OnPlaylistStop();
    CSonyControl& control = m_doc.GetPlayerControl();
    control.SetAllPlayStates(1);
    TaskCancelFlag cancel{0};
    CTaskMgr& tasks = m_doc.GetTaskMgr();
    int task = tasks.CreateTask("Downloading Player Info to CD Library", &cancel, kProgressDialog);
    tasks.SetTaskRange(task, albums.GetCount());
    for (int i = 0; i < albums.GetCount() && !cancel; ++i)
        DownloadAlbum(albums.GetItem(i), i, task, &cancel);
    tasks.EndTask(task);
    m_doc.SetPollPlayerStatus(poll);
    control.SetAllPlayStates(0);
    control.StopAll();
}

// The memo and delete marks of one album, into a copy stored back when
// either arrived.
void CDocMemos::DownloadAlbum(const CLibItem& entry, int index, int task, const TaskCancelFlag* cancel)
{
    CMusicLibrary& library = m_doc.GetMusicLibrary();
    CLibItem item = entry;
    AlbumRecord album;
    if (!item.GetAlbumCopy(library, album))
        return;
    CTaskMgr& tasks = m_doc.GetTaskMgr();
    tasks.SetTaskPos(task, index);
    CString status;
    status.Format("P%d D%d %s / %s", album.GetStoredPlayer() + 1, album.GetSlot(),
                  static_cast<LPCSTR>(album.GetTitle(kAlbumIndex).Left(kTitleShown)),
                  static_cast<LPCSTR>(album.GetArtist(kAlbumIndex).Left(kTitleShown)));
    tasks.SetTaskStatus(task, status);
    CSonyControl& control = m_doc.GetPlayerControl();
    int changer = album.GetStoredPlayer();
    CSonyPlayer* player = changer >= 0 && changer < control.GetPlayerCount() ? control.GetPlayer(changer) : nullptr;
    int slot = album.GetSlot();
    if (!player || !album.IsInPlayer())
        return;
    const ChangerState state = player->GetState();
    if (slot > state.capacity || state.typeCode < 0 || !(state.typeCode & kMemoBits))
        return;
    bool arrived = false;
    CString memo;
    if (player->ReadMemo(slot, memo, cancel))
    {
        memo.TrimRight();
        album.SetMemo(kAlbumIndex, memo);
        arrived = true;
    }
    BYTE bits[CSonyPlayer::kDeleteFileBytes];
    if (player->ReadDeleteFile(slot, bits, cancel))
    {
        // A clear bit is a track the changer skips.
        for (int t = 0; t < album.GetTrackCount() && t < kMarkedTracks; ++t)
            album.SetNeverPlay(t, !(bits[t / 8] & (1 << (t % 8))));
        arrived = true;
    }
    if (arrived)
        library.StoreAlbum(album);
}
