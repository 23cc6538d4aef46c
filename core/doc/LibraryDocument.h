// What the library's commands (covers, lyrics, audio files, the walks over
// the selection, the add-file dialog) need of the document. GUI thread only.
#pragma once

#include <afx.h>

class CCDDBClient;
class CMusicLibrary;
class CPlayList;
class CTaskMgr;
class CZymOptions;
struct ANALYZER;

class CLibraryDocument
{
public:
    virtual ~CLibraryDocument() {}
    virtual CMusicLibrary& GetMusicLibrary() = 0;
    // The entries selected in the views.
    virtual CPlayList& GetSelectionList() = 0;
    virtual CTaskMgr& GetTaskMgr() = 0;
    virtual CCDDBClient& GetCddbClient() = 0;
    virtual CZymOptions& GetOptions() = 0;
    virtual CString GetProgramFolder() = 0;
    // The audio analyser; null when it could not be made.
    virtual ANALYZER* GetAnalyzer() = 0;
    // Every view gets the update hint.
    virtual void UpdateViews(LPARAM hint) = 0;
};
