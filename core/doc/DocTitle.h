// The main window's title and the document's current playing entry, kept in
// step with what the players play, and the playing notifications of remote
// clients ("time[...]", "playing[...]"). Runs on the GUI thread only: the
// tick calls UpdateTitle when the players report news, among them the MP3
// player's that no wave output device would open.
#pragma once

#include "library/playlist/LibItem.h"

#include <afx.h>

class CPlaylistDocument;

class CDocTitle
{
public:
    explicit CDocTitle(CPlaylistDocument& doc) : m_doc(doc) { m_entry.SetTrack(kWholeAlbum); }

    void UpdateTitle();
    // "playing[...]" for the current playing entry when its album is known.
    void FirePlayingItem();

    // What plays now; track -1 when nothing plays.
    const CLibItem& GetPlayingEntry() const { return m_entry; }
    // A changer's index, kMp3Player, or -1.
    int GetPlayer() const { return m_player; }
    // The one that was current becomes the previous player when it differs.
    void SetPlayer(int player);
    int GetPreviousPlayer() const { return m_previousPlayer; }

private:
    // What the chosen player reports.
    struct Playing
    {
        int slot = -1;
        CString file;
        int track = 0; // from 1
        int minutes = 0;
        int seconds = 0;
    };

    // The MP3 player's reports that no wave output device would open.
    void TakeNoOutputReports();
    int ChoosePlayer();
    bool ReadPlayer(int player, Playing& playing);
    bool IsPlayingEntry(int player, const Playing& playing);
    // The album's index in the library for what plays, or -1.
    int FindAlbum(int player, const Playing& playing);
    CString MakeTitle(int track, const Playing& playing);
    void SetWindowTitle(const CString& title);
    void FollowEntry();

    CPlaylistDocument& m_doc;
    CLibItem m_entry;
    int m_minutes = -1;
    int m_seconds = -1;
    int m_player = -1;
    int m_previousPlayer = -1;
};
