// The players: one row per changer of the player control and a last row for
// the MP3 player when there is one, with a status picture (animated while a
// changer is busy), the player's name, where it is, its model and the
// playing time. The "Player" menu opens on a row.
#pragma once

#include "shell/views/LibraryListView.h"

class CMp3Control;

class CPlayerView : public CLibraryListView
{
    DECLARE_DYNCREATE(CPlayerView)
public:
    CPlayerView();

    // One row per player.
    void Rebuild();
    // Cells of the players that reported news fetched again (hint 3).
    void RefreshStatus();

protected:
    void OnInitialUpdate() override;
    void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject) override;
    void GetItemText(DWORD_PTR itemData, int columnId, CString& text) override;
    bool GetRowPlayer(DWORD_PTR itemData, int& player) override;
    bool IsValidItem(DWORD_PTR itemData) override;
    bool GetRowItem(int, CLibItem&) override { return false; }
    CString GetPrintTitle() override { return CString(); }
    void PrepareContextMenu() override {}
    // A player row is no library entry: the selection stays as it is, and
    // the row's player becomes the one the transport commands act on.
    void OnRowSelected(int row) override;

private:
    int ChangerCount();
    CMp3Control* Mp3Player();
    CString ChangerText(int changer, int columnId);
    CString Mp3Text(CMp3Control& mp3, int columnId);
    CString Mp3TrackText(CMp3Control& mp3, int columnId);
    // The next frame of the row's busy animation.
    CString BusyFrame(int row);
    // Its cells are asked again (the busy animation advances).
    void RedrawRow(int row);

    // The next animation frame of each row.
    std::vector<int> m_frames;
};
