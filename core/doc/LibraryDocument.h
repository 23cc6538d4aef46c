// What the document's commands (covers, lyrics, audio files, the walks over
// the selection, the add-file dialog, the disc look-ups, the library menu,
// the play-list files, the transport) need of the document. GUI thread only.
#pragma once

#include <afx.h>

class CCDDBClient;
class CLibraryDatabase;
class CMp3Control;
class CMusicLibrary;
class CPlayList;
class CSonyControl;
class CTaskMgr;
class CZymOptions;
struct DiscSearchSettings;
struct ANALYZER;

class CLibraryDocument
{
public:
    virtual ~CLibraryDocument() {}
    virtual CMusicLibrary& GetMusicLibrary() = 0;
    // The store the library is kept in, and its save of the changed albums.
    virtual CLibraryDatabase& GetLibraryDatabase() = 0;
    virtual BOOL SaveLibrary() = 0;
    virtual BOOL IsLibraryLoading() = 0;
    // The entries selected in the views.
    virtual CPlayList& GetSelectionList() = 0;
    // The play list that plays, and the search's results.
    virtual CPlayList& GetCurrentPlayList() = 0;
    virtual CPlayList& GetSearchList() = 0;
    virtual CTaskMgr& GetTaskMgr() = 0;
    virtual CCDDBClient& GetCddbClient() = 0;
    virtual CZymOptions& GetOptions() = 0;
    virtual CString GetProgramFolder() = 0;
    // The audio analyser; null when it could not be made.
    virtual ANALYZER* GetAnalyzer() = 0;
    // Every view gets the update hint.
    virtual void UpdateViews(LPARAM hint) = 0;
    // Set while a disc search or look-up runs: new discs wait, and no second
    // one starts.
    virtual BOOL IsDiscSearchRunning() = 0;
    virtual void SetDiscSearchRunning(BOOL running) = 0;
    // What the next disc search walks.
    virtual DiscSearchSettings& GetSearchSettings() = 0;
    // The changers' control, made at start-up.
    virtual CSonyControl& GetPlayerControl() = 0;
    // The tick's copy of "Poll Player Status": long changer jobs switch the
    // polls off and give it back.
    virtual int GetPollPlayerStatus() const = 0;
    virtual void SetPollPlayerStatus(int poll) = 0;
    // Null when "Enable MP3" is off or the player does not run.
    virtual CMp3Control* GetMp3Player() = 0;
};
