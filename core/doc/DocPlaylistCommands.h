// The Playlist menu's commands on the current play list, the library's "Add"
// commands that move the selection into it, volume and mute events, and the
// Help menu. The update handlers follow the current play list.
#pragma once

#include <afxwin.h>

class CDocTitle;
class CPlaylistDocument;

class CDocPlaylistCommands : public CCmdTarget
{
public:
    // title gives the entry playing now, which exploding keeps whole.
    CDocPlaylistCommands(CPlaylistDocument& doc, CDocTitle& title) : m_doc(doc), m_title(title) {}

    void OnPlaylistPlay();
    void OnPlaylistStop();
    void OnPlaylistPause();
    // The media keys' play/pause: a playing list pauses, any other plays.
    void OnPlaylistPlayPause();
    void OnPlaylistRandom();
    void OnPlaylistOptimize();
    void OnPlaylistShuffle();
    void OnPlaylistAlternate();
    void OnPlaylistClear();
    void OnPlaylistLoop();
    void OnPlaylistPreview();
    void OnPlaylistPrevious();
    void OnPlaylistNext();
    void OnAddToEnd();
    void OnAddAsNext();
    void OnAddAsNextAndPlay();
    // By the option "Double Click Play Option".
    void OnPlayNow();
    void OnAddExplodeShuffleAlternate();
    void OnVolumeUp();
    void OnVolumeDown();
    void OnMute();
    // The tool bar's "Add mp3" button does nothing.
    void OnAddMp3() {}
    void OnHelpTopics();
    void OnHelpMail();
    void OnHelpDiscDatabase();
    void OnHelpWebSite();

    void OnUpdateNeedsFour(CCmdUI* cmdUI);
    void OnUpdateNeedsEntries(CCmdUI* cmdUI);
    void OnUpdateStop(CCmdUI* cmdUI);
    void OnUpdateLoop(CCmdUI* cmdUI);
    void OnUpdatePreview(CCmdUI* cmdUI);
    void OnUpdateRandom(CCmdUI* cmdUI);

    // The help file: "help\tavlin.chm" beside the program's folder.
    CString GetHelpPath();

protected:
    DECLARE_MESSAGE_MAP()

private:
    void WakeIfAsleep();
    void InsertSelection(int position);

    CPlaylistDocument& m_doc;
    CDocTitle& m_title;
};
