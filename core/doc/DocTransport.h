// The Player menu's transport buttons on the current player (the one the
// title follows), and the media keys of WM_APPCOMMAND on the playing list.
#pragma once

#include <afxwin.h>

class CDocPlaylistCommands;
class CDocTitle;
class CLibraryDocument;
class CMp3Control;
class CSonyPlayer;

class CDocTransport : public CCmdTarget
{
public:
    CDocTransport(CLibraryDocument& doc, CDocTitle& title, CDocPlaylistCommands& playlist)
        : m_doc(doc), m_title(title), m_playlist(playlist)
    {
    }

    void OnPlayerPlay();
    void OnPlayerStop();
    void OnPlayerPause();
    void OnPlayerTrackForward();
    void OnPlayerTrackBack();
    // Forward, Rewind, Fast Forward, Fast Rewind: a changer already at that
    // speed goes back to normal.
    void OnPlayerSpeed(UINT id);
    void OnUpdatePlayerTransport(CCmdUI* cmdUI);
    void OnUpdatePlayerTrack(CCmdUI* cmdUI);
    void OnUpdatePlayerSpeed(CCmdUI* cmdUI);

    // The parameters of WM_APPCOMMAND; 1 when the key was taken, 0 for the
    // frame to pass it on.
    LRESULT OnAppCommand(WPARAM wParam, LPARAM lParam);

protected:
    DECLARE_MESSAGE_MAP()

private:
    CSonyPlayer* CurrentChanger();
    CMp3Control* CurrentMp3();
    // Runs the changer's or the MP3 player's part on the current player.
    void Act(void (*changer)(CSonyPlayer&), void (*mp3)(CMp3Control&));

    CLibraryDocument& m_doc;
    CDocTitle& m_title;
    CDocPlaylistCommands& m_playlist;
};
