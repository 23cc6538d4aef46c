// The jukebox's one document: it owns the options, the task manager, the
// music library, the play lists, the event mapper, the automation queue, the
// player control and the device path, brings them up in the start-up
// sequence, applies the options, and takes them down in order at the close.
//
// Threads: everything here runs on the GUI thread, except the host
// operations that the playing thread, the device threads and the library's
// threads call (FireEvent, Now, the firmware version, thread registration).
// Flags that other threads read are atomic. The start-up and the tick pump
// window messages at a few steps, so they may be entered again: the guards
// below keep each from running inside itself.
#pragma once

#include "core/doc/DiscSearchSettings.h"
#include "core/doc/DocClock.h"
#include "core/doc/DocumentFrame.h"
#include "core/doc/DocSwitches.h"
#include "core/doc/NoOutputNotice.h"
#include "core/doc/PlayingHost.h"
#include "core/doc/PlaylistDocument.h"
#include "core/doc/TimedPlay.h"
#include "core/doc/ZymOptions.h"

#include "core/automation/AutoMapper.h"
#include "core/automation/EventDocument.h"
#include "core/automation/ZYMAutomation.h"
#include "core/devpath/DevicePath.h"
#include "core/players/SonyControl.h"
#include "core/tasks/TaskMgr.h"
#include "core/tasks/TaskViewHost.h"
#include "devices/manager/TextCallback.h"
#include "library/playlist/PlayList.h"
#include "library/records/LibraryHost.h"
#include "library/records/MusicLibrary.h"
#include "library/views/ViewsHost.h"
#include "library/web/CDDBClient.h"
#include "mp3/player/Mp3Host.h"
#include "platform/runtime/TimeStamp.h"

#include <afxwin.h>

#include <atomic>
#include <memory>

class CDeviceManager;
class CDocCommandTargets;
class CLibraryDatabase;
class CMp3Control;
class CPlayMusic;
class CTavlinRemote;
struct ANALYZER;

// How the program's threads are made known to the crash reporter: called on
// the thread itself with its name when it starts and with null when it ends.
// The application connects it; until then threads go unregistered.
typedef void (*ThreadRegistration)(const char* name);
void SetThreadRegistration(ThreadRegistration registration);

class CZymDoc : public CDocument,
                public CCallbackTarget,
                public CControlHost,
                public CPlayingHost,
                public CEventDocument,
                public CDevicePathHost,
                public CLibraryHost,
                public CViewsHost,
                public CTaskViewHost,
                public CMp3Host,
                public CPlaylistDocument
{
public:
    // The program folder ends with a backslash.
    CZymDoc(CDocumentFrame& frame, const char* programFolder);
    ~CZymDoc() override;

    BOOL OnNewDocument() override;
    BOOL IsModified() override { return m_modified; }
    void SetModifiedFlag(BOOL modified = TRUE) override { m_modified = modified; }
    // The document stays open when its last view goes.
    void OnChangedViewList() override {}
    BOOL SaveModified() override;
    void OnCloseDocument() override;

    LRESULT ApplyOptions(WPARAM, LPARAM);
    void RunStartup();
    LRESULT LocateTavlins(WPARAM, LPARAM);
    LRESULT RefreshPlayers(WPARAM, LPARAM);
    void UpdatePlayerAvailability();
    void GoToSleep();
    void WakeUp() override;
    void PostExit();
    BOOL StopPlayMusic();
    BOOL SaveLibrary() override;
    void OnPlaylistPlay() override;
    void OnPlaylistStop() override;
    void OnPlaylistRandom() override;
    void BuildPickList();

    // The periodic step, from the main frame's timer or the command language.
    void RunTick();
    BOOL IsBusy();
    void ResyncPlayer(int player);
    void FillPlaylist(int count);
    // A play-list file handed over (command line, DDE) replaces the playing
    // list; otherwise, once, the saved one comes back.
    void OpenPendingPlaylist();
    void SaveCurrentPlaylist();
    void RestoreCurrentPlaylist();
    BOOL UserActedRecently() override;
    void SetOperations(CDocumentOperations* operations) { m_operations = operations; }
    // One text of the automation queue in the command language.
    void ExecuteCommand(CString command);
    // Refills the search list from the library in the search mode. An
    // expression that does not parse changes nothing and gives FALSE; its
    // error is shown to the user, or only written to quietError when given.
    BOOL Search(CString expression, CString* quietError = nullptr);
    // The search mode: whole discs (TRUE) or tracks. The document owns it
    // and tells the views of every change (hint 11).
    BOOL IsDiscSearchMode() const { return m_searchMode != 0; }
    void SetSearchMode(BOOL discs);
    void ToggleSearchMode() { SetSearchMode(!IsDiscSearchMode()); }
    // The tick tells the views (hint 8), as after a search.
    void ClearSearchList() { m_searchList.Clear(); }
    // The player the transport commands act on: a changer's index,
    // kMp3Player, or -1. The player view sets it; the title moves it to
    // the player that starts playing.
    int GetCurrentPlayer();
    void SetCurrentPlayer(int player);
    // Unless the look-ups go through the control, asks for a valid e-mail
    // address through the disc-database client's user, and keeps it.
    void EnsureUserEmail();
    void OnViewOptions();
    // Menu and tool-bar commands go to the command targets first.
    BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) override;
    // Made on first use.
    CDocCommandTargets& GetCommandTargets();

    CZymOptions& GetOptions() override { return m_options; }
    CTaskMgr& GetTaskMgr() override { return m_taskMgr; }
    // The listener that shows the tasks' progress dialogs, already listening
    // to GetTaskMgr: the document keeps it until the task manager goes.
    void KeepTaskDialogs(std::unique_ptr<CTaskObserver> dialogs);
    CMusicLibrary& GetMusicLibrary() override { return m_library; }
    CPlayList* GetPlayList() { return m_playList.get(); }
    CPlayList& GetSearchList() override { return m_searchList; }
    TimedPlay& GetTimedPlay() { return m_timedPlay; }
    DiscSearchSettings& GetSearchSettings() override { return m_searchSettings; }
    CSonyControl* GetSonyControl() { return m_control.get(); }
    CZYMAutomation& GetAutomation() { return m_automation; }
    CDocClock& GetClock() { return m_clock; }
    CCDDBClient& GetCddbClient() override { return m_cddb; }
    // The in-process road's manager; null on the server's road.
    CDeviceManager* GetDeviceManager() { return m_manager.get(); }
    // The audio analyser made at start-up; null when it could not be.
    ANALYZER* GetAnalyzer() override { return m_analyzer; }
    void UpdateViews(LPARAM hint) override { UpdateAllViews(nullptr, hint); }
    BOOL IsSleeping() const override { return m_sleeping; }
    BOOL IsClosing() const { return m_closing; }
    BOOL IsUsingServer() const { return m_useServer; }
    DocSwitches& GetSwitches() override { return m_switches; }
    CLibraryDatabase& GetLibraryDatabase() override { return *m_database; }
    bool IsPlayerAvailable(int player) override;

    // CPlayerHost, CControlHost
    CDevicePath& GetDevicePath() override;
    void FireEvent(const char* text) override;
    void DebugEvent(const char* text) override;
    double GetFirmwareVersion() override { return m_firmwareVersion; }
    void SetFirmwareVersion(double version) override { m_firmwareVersion = version; }
    BOOL DetectSkippingDiscs() override { return m_options.m_page5.m_detectSkippingDiscs; }
    BOOL VerifyDiscAt(int player, int disc, int track, int minutes, int seconds) override;
    time_t Now() override { return m_clock.Now(); }
    CMusicLibrary& GetLibrary() override { return m_library; }
    CMp3Control* GetMp3Player() override;
    BOOL IsDiscSearchRunning() override { return m_discSearchRunning; }
    void SetDiscSearchRunning(BOOL running) override { m_discSearchRunning = running != FALSE; }
    int GetPollPlayerStatus() const override { return m_pollPlayerStatus; }
    void SetPollPlayerStatus(int poll) override { m_pollPlayerStatus = poll; }
    BOOL IsLibraryLoading() override { return m_library.IsLoading(); }
    void IdentifyDiscs(int player) override;
    void FatalError(const char* text) override { m_frame.FatalError(text); }

    // CPlayingHost
    CPlayList& GetCurrentPlayList() override { return *m_playList; }
    CSonyControl& GetPlayerControl() override { return *m_control; }
    int GetPreQueueMode() override { return m_options.m_page5.m_preQueueMode; }
    int GetFadeOverlapTime() override { return m_options.m_page5.m_fadeOverlapTime; }
    void ThreadStarted(const char* name) override;
    void ThreadEnded() override;
    DWORD WaitForThread(HANDLE thread, DWORD ms) override { return m_clock.Wait(thread, ms); }

    // CEventDocument, CDevicePathHost
    BOOL SendDeviceCommand(const char* text) override;
    CString GetTransmitDeviceName() override { return m_automation.GetTransmitName(); }
    CAutoMapper& GetMapper() override { return m_mapper; }
    BOOL IsDebugOn() override { return m_debug; }
    void SetDebug(BOOL on) { m_debug = on != FALSE; }
    CString GetProgramFolder() override { return m_programFolder; }
    CString GetVersionText() override { return m_versionText; }
    BOOL IsActivityLoggingOn() override { return m_options.m_page4.m_activityLogging; }
    void SetActivityLogging(BOOL on) override { m_options.m_page4.m_activityLogging = on; }
    SYSTEMTIME GetLocalTime() override { return m_clock.LocalTime(); }

    // CMp3Host: the MP3 player that the frame starts.
    CString GetMusicFileDirectory() override { return m_options.m_page9.m_musicFileDirectory; }
    CString GetOutputName() override { return m_options.m_page5.m_mp3OutputName; }
    void ReportNoOutputDevice() override { m_noOutput.Report(); }
    CNoOutputNotice& GetNoOutputNotice() override { return m_noOutput; }

    // CViewsHost (ZymDocViewsHost.cpp); CTaskViewHost is GetTaskMgr.
    CPlayList* GetLastPlayList() override;
    CPlayList& GetSelectionList() override { return m_selectionList; }
    bool IsPlayingList(const CPlayList* list) override;
    void SetPlayingList(CPlayList* list) override;
    void PlayPlayingList() override;
    bool UsePlayerColors() override { return m_options.m_page8.m_colorTextByPlayer != 0; }
    void GetPlayerColors(int player, COLORREF& text, COLORREF& background) override;
    LOGFONT GetListFont() override { return m_options.m_page8.m_listFont; }
    COLORREF GetListTextColor() override { return static_cast<COLORREF>(m_options.m_page8.m_listFontColor); }
    bool AreBannersShown() override { return m_options.m_page8.m_helperBanners != 0; }
    bool IsEditingDisabled() override { return m_options.m_page2.m_disableEditing != 0; }
    CView* GetActiveListView() override { return m_activeListView; }
    void SetActiveListView(CView* view) override { m_activeListView = view; }

private:
    void SetStatus(const char* text);
    void ApplyCddbSettings();
    void CreateDevicePath();
    ThreadHook* NewThreadHook(void (CZymDoc::*function)(DWORD));
    void OnServerThread(DWORD started);
    // The start-up's two waits on the server road.
    void WaitForServer();
    void ApplyIrReceiver();
    void ApplyFades();
    void UpdateBanners();
    void AddMiscDevices();
    void SetUpUnits();
    void OnMonitorThread(DWORD started);
    BOOL SaveOrAsk();
    void DeleteDevicePath();
    void AbandonToPlayingThread();
    // The tick's steps.
    void PollPlayers();
    void FireStartupEvents();
    void TakeLoadedLibrary();
    void RefreshChangedLists();
    void AutoSave(time_t now);
    void SyncWithChangers(time_t now);
    void KeepPlaylistFilled();
    void FollowTasks();
    void RunTimedPlay();
    BOOL MayStartTimedPlay(const COleDateTime& now);
    void SearchDiscsWhenIdle(time_t now);
    void RunQueuedCommands();
    bool PickFillItem(CLibItem& item);
    // A close that came while the start-up or a tick ran waits for its end.
    void CloseIfAsked();

    CDocumentFrame& m_frame;
    CDocClock m_clock;
    CTaskMgr m_taskMgr;
    // Its thread ends before the task manager goes.
    std::unique_ptr<CTaskObserver> m_taskDialogs;
    CZymOptions m_options;
    // The load thread runs in the database: the library, whose destruction
    // ends that thread, goes first.
    std::unique_ptr<CLibraryDatabase> m_database;
    CMusicLibrary m_library;
    CPlayList m_selectionList{ m_library };
    CView* m_activeListView = nullptr;
    CCDDBClient m_cddb;
    std::unique_ptr<CPlayList> m_playList;
    CPlayLists m_playLists;
    CAutoMapper m_mapper;
    CZYMAutomation m_automation;
    // At most one road exists; before it (and without one) the empty road.
    std::unique_ptr<CDeviceManager> m_manager;
    std::unique_ptr<CDevicePath> m_path;
    // The server road's front end when m_path is one, for its start-up waits.
    CTavlinRemote* m_remote = nullptr;
    CNoDevicePath m_noPath;
    std::unique_ptr<CSonyControl> m_control;
    std::unique_ptr<CPlayMusic> m_playMusic;

    CString m_programFolder;
    CString m_versionText;
    int m_startupTask = 0;
    ANALYZER* m_analyzer = nullptr;
    BYTE m_available[48] = {};
    std::atomic<double> m_firmwareVersion{ 0 };
    std::atomic<bool> m_closing{ false };
    CNoOutputNotice m_noOutput;
    std::atomic<bool> m_debug{ false };
    std::atomic<bool> m_discSearchRunning{ false };
    // Set once the start-up has defined the device that sends events out.
    std::atomic<bool> m_transmitDefined{ false };
    BOOL m_modified = FALSE;
    BOOL m_useServer = FALSE;
    BOOL m_irReceiver = TRUE;
    BOOL m_sleeping = FALSE;
    BOOL m_startupRunning = FALSE;
    BOOL m_startupDone = FALSE;

    CDocumentOperations* m_operations = nullptr;
    CPlayList m_searchList;
    TimedPlay m_timedPlay;
    DiscSearchSettings m_searchSettings;
    // When the tick last saw the task manager change.
    CTimeStamp m_taskStamp;
    std::unique_ptr<CPlayList> m_pickList;
    int m_tickDepth = 0;
    bool m_drainingCommands = false;
    bool m_closeAsked = false;
    bool m_firstTickDone = false;
    bool m_startupEventsFired = false;
    bool m_restoreDone = false;
    bool m_libraryWasLoading = false;
    DocSwitches m_switches;
    int m_searchMode = 0;
    int m_pollTicks = 0;
    int m_pollPlayerStatus = 1;
    time_t m_resyncStamp = 0;
    time_t m_lastSave = 0;
    time_t m_lastActivity = 0;
    struct CommandTargetsDeleter
    {
        void operator()(CDocCommandTargets* targets) const;
    };
    std::unique_ptr<CDocCommandTargets, CommandTargetsDeleter> m_commandTargets;
};
