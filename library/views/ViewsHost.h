// What the library's views need of the document. The document implements
// this, so the views never include the core; a view finds it by casting its
// document.
#pragma once

#include "library/playlist/PlayList.h"

#include <afxwin.h>

// The update hints of the document and the views, one set for both: each view
// acts on its own and ignores the rest.
enum ViewHint
{
    kViewHintAll = 0,
    kViewHintPlaylist = 1,
    kViewHintPlayingList = 2,
    kViewHintPlayers = 3,
    kViewHintSelection = 4,
    kViewHintDevices = 5,
    kViewHintPlayersRescanned = 6,
    kViewHintPlaylistFill = 7,
    kViewHintSearchList = 8,
    kViewHintListLook = 9,
    kViewHintTakeSelection = 10,
    kViewHintSearchMode = 11,
    kViewHintLibraryRows = 12,
    kViewHintShowSelection = 13,
    kViewHintTasksChanged = 14,
    kViewHintTasksRebuild = 15,
    kViewHintBannersShown = 16,
    kViewHintBannersHidden = 17,
    kViewHintEditingEnabled = 18,
    kViewHintEditingDisabled = 19,
    kViewHintActiveView = 20,
    kViewHintSelectFirst = 21,
    kViewHintReloadImage = 22,
};

class CViewsHost
{
public:
    virtual ~CViewsHost() {}

    virtual CMusicLibrary& GetLibrary() = 0;
    // The play list a new play-list view shows: the last one made.
    virtual CPlayList* GetLastPlayList() = 0;
    // The entries selected in the views, which the keyword and detail views show.
    virtual CPlayList& GetSelectionList() = 0;
    virtual bool IsPlayingList(const CPlayList* list) = 0;
    virtual void SetPlayingList(CPlayList* list) = 0;
    // The play command: the playing list starts.
    virtual void PlayPlayingList() = 0;

    virtual bool UsePlayerColors() = 0;
    virtual void GetPlayerColors(int player, COLORREF& text, COLORREF& background) = 0;
    virtual LOGFONT GetListFont() = 0;
    virtual COLORREF GetListTextColor() = 0;
    virtual bool AreBannersShown() = 0;
    virtual bool IsEditingDisabled() = 0;

    virtual CView* GetActiveListView() = 0;
    virtual void SetActiveListView(CView* view) = 0;
};
