#include "core/doc/ZymDoc.h"

#include "analyze.h"

#include "devices/manager/DeviceManager.h"
#include "devices/util/MessageWaits.h"
#include "core/doc/DiscIdentify.h"
#include "core/doc/PlayMusic.h"
#include "core/automation/FireEvent.h"
#include "core/devpath/InProcessPath.h"
#include "mp3/player/Mp3Control.h"
#include "core/players/SonyPlayer.h"
#include "devices/port/TavlinPort.h"
#include "core/devpath/TavlinRemote.h"
#include "library/db/LibraryDatabase.h"
#include "library/paths/FilePath.h"

#include "platform/crt/Random.h"

#include <string.h>

namespace {

std::atomic<ThreadRegistration> g_threadRegistration{ nullptr };

const char kOptions[] = "Options";
const int kIrReceiverPort = 4;
const int kUnitPorts = 4;   // ports 0-3 of a unit carry its control buses
const int kTaskWaitMs = 10000;
const int kServerLoadMs = 30000;
const int kLocateWaitMs = 100;
const int kLocateWaits = 100;
const int kWakeWaitMs = 500;

CString JoinPath(const CString& folder, const CString& name)
{
    CFilePath path(CDirPath(static_cast<LPCSTR>(folder)));
    path.Append(static_cast<LPCSTR>(name));
    return path.GetFullPath();
}

void RegisterThread(const char* name)
{
    ThreadRegistration registration = g_threadRegistration;
    if (registration)
        registration(name);
}

} // namespace

void SetThreadRegistration(ThreadRegistration registration)
{
    g_threadRegistration = registration;
}

CZymDoc::CZymDoc(CDocumentFrame& frame, const char* programFolder)
    : m_frame(frame), m_options(programFolder), m_programFolder(programFolder),
      m_versionText(frame.GetVersionText()), m_searchList(m_library)
{
    m_library.SetHost(this);
    m_library.SetTaskMgr(&m_taskMgr);
    m_database.reset(new CLibraryDatabase(m_library));
    m_library.SetLoader(m_database.get());
    m_cddb.m_pTaskMgr = &m_taskMgr;
    m_cddb.m_pHost = this;
    m_cddb.m_pKeywords = &m_library.GetMasterKeywords();
    // The map is loaded with the options, before the start-up gives the
    // mapper its document.
    m_mapper.LoadMapFile(m_options.m_page7.m_mapFile);
    m_lastActivity = m_clock.Now();
    SetEventDocument(this);
}

void CZymDoc::KeepTaskDialogs(std::unique_ptr<CTaskObserver> dialogs)
{
    m_taskDialogs = std::move(dialogs);
}

CZymDoc::~CZymDoc()
{
    if (m_playMusic && !m_playMusic->Stop())
        AbandonToPlayingThread();
    SetEventDocument(nullptr);
    if (m_analyzer)
        analyzer_delete(m_analyzer);
    m_control.reset();
    DeleteDevicePath();
}

BOOL CZymDoc::OnNewDocument()
{
    if (!CDocument::OnNewDocument())
        return FALSE;
    m_playList.reset(new CPlayList(m_library));
    m_playLists.Add(m_playList.get());
    m_pickList.reset(new CPlayList(m_library));
    SetModifiedFlag(TRUE);
    m_discSearchRunning = false;
    m_playList->SetLoop(AfxGetApp()->GetProfileInt(kOptions, "Playlist Loop", 0) == 1);
    m_switches.preview = FALSE;
    m_useServer = FALSE;
    m_pollTicks = 0;
    m_lastSave = 0;
    m_pollPlayerStatus = 1;
    m_control.reset(new CSonyControl(this));
    m_playMusic.reset(new CPlayMusic(*this));
    ApplyOptions(0, 0);
    MsSrand(static_cast<unsigned int>(m_clock.Now()));
    return TRUE;
}

LRESULT CZymDoc::ApplyOptions(WPARAM, LPARAM)
{
    m_options.SaveOptions();
    ApplyCddbSettings();
    m_pollPlayerStatus = m_options.m_page5.m_pollPlayerStatus;
    // Chosen once: a change of "Use TavlinX" waits for the next start.
    if (!m_path)
        CreateDevicePath();
    m_irReceiver = m_options.m_page4.m_enableIrReceiver == 1;
    ApplyIrReceiver();
    ApplyFades();
    UpdateBanners();
    UpdateAllViews(nullptr, m_options.m_page2.m_disableEditing ? kViewHintEditingDisabled : kViewHintEditingEnabled);
    return 0;
}

void CZymDoc::ApplyCddbSettings()
{
    const CPage1& page = m_options.m_page1;
    m_cddb.SetCurrentServerHost(page.m_cddbServer);
    m_cddb.m_strUserEmail = page.m_userEmail;
    m_library.SetLibraryPath(JoinPath(m_programFolder, m_options.m_page9.m_newDbPath));
    m_cddb.m_bUseInternet = page.m_useInternet;
    m_cddb.m_bUseControl = page.m_useCddb2;
    m_cddb.m_bAsk = page.m_promptInexact;
    m_cddb.SetProxy(page.m_useHttpProxy == 1, page.m_proxyHost, page.m_proxyPort, page.m_proxyUsername,
                    page.m_proxyPassword);
}

void CZymDoc::CreateDevicePath()
{
    m_useServer = m_options.m_page4.m_useTavlinX;
    if (m_useServer)
    {
        m_remote = new CTavlinRemote(NewThreadHook(&CZymDoc::OnServerThread));
        m_path.reset(m_remote);
        return;
    }
    m_manager.reset(new CDeviceManager(NewThreadHook(&CZymDoc::OnMonitorThread)));
    m_manager->SetReportNoMatch(0, 0);
    m_path.reset(new CInProcessPath(*m_manager, *this));
}

ThreadHook* CZymDoc::NewThreadHook(void (CZymDoc::*function)(DWORD))
{
    ThreadHook* hook = new ThreadHook;
    hook->object = this;
    hook->function = static_cast<FlagFunction>(function);
    return hook;
}

void CZymDoc::OnMonitorThread(DWORD started)
{
    if (started)
        ThreadStarted("TavlinDev");
    else
        ThreadEnded();
}

void CZymDoc::OnServerThread(DWORD started)
{
    if (started)
        ThreadStarted("TavlinX");
    else
        ThreadEnded();
}

void CZymDoc::ApplyIrReceiver()
{
    if (!m_manager)
        return;
    for (int unit = 0; unit < m_manager->GetNumTavlins(); ++unit)
    {
        CTavlinPort* port = m_manager->GetTavlinPort(unit);
        if (!port || port->IsPortEnabled(kIrReceiverPort) == m_irReceiver)
            continue;
        if (m_irReceiver)
            port->EnablePort(kIrReceiverPort);
        else
            port->DisablePort(kIrReceiverPort);
    }
}

void CZymDoc::ApplyFades()
{
    const CPage5& page = m_options.m_page5;
    for (int index = 0; index < m_control->GetPlayerCount(); ++index)
    {
        m_control->GetPlayer(index)->ChangeState([&page](ChangerState& s) {
            s.fadeDownTime = page.m_fadeDownTime;
            s.fadeUpTime = page.m_fadeUpTime;
            s.fadeOverlapTime = page.m_fadeOverlapTime;
            s.trackFinishTweak = page.m_trackFinishTweak;
        });
    }
    if (CMp3Control* mp3 = GetMp3Player())
        mp3->SetFades(page.m_fadeDownTime, page.m_fadeUpTime, page.m_fadeOverlapTime);
    m_control->m_fadeDownTime = page.m_fadeDownTime;
    m_control->m_fadeUpTime = page.m_fadeUpTime;
    m_control->m_fadeOverlapTime = page.m_fadeOverlapTime;
    m_control->m_trackFinishTweak = page.m_trackFinishTweak;
}

void CZymDoc::UpdateBanners()
{
    UpdateAllViews(nullptr, m_options.m_page8.m_helperBanners ? kViewHintBannersShown : kViewHintBannersHidden);
}

void CZymDoc::SetStatus(const char* text)
{
    m_taskMgr.SetTaskStatus(m_startupTask, text);
}

void CZymDoc::RunStartup()
{
    if (m_startupDone)
        return;
    m_startupDone = TRUE;
    m_startupRunning = TRUE;
    m_frame.CreateViews();
    UpdateBanners();
    memset(m_available, 0, sizeof(m_available));
    m_startupTask = m_taskMgr.CreateTask("Initializing", nullptr, CTaskSink::kShowProgressDialog);
    SetStatus("Enabling Mapper");
    m_mapper.SetDocument(this);
    SetStatus("Starting LibLoad Thread");
    if (m_options.m_page2.m_autoLoadDb)
        m_library.StartLoad();
    // A missing analyser leaves audio files without their tags, nothing more.
    if (analyzer_new(&m_analyzer) != 0)
        m_analyzer = nullptr;
    if (m_remote)
        WaitForServer();
    TextCallback mapper = m_mapper.GetDispatchCallback();
    GetDevicePath().SetListener(mapper);
    SetStatus("Enabling Automation 1/4");
    PumpWaitingMessages();
    GetDevicePath().AddDeviceText("type=devrxtx", m_automation.GetReceiveName(), 0, 0, 0);
    SetStatus("Enabling Automation 2/4");
    GetDevicePath().SetDeviceListener(m_automation.GetReceiveName(), m_automation.GetReceiveCallback());
    SetStatus("Enabling Automation 3/4");
    m_transmitDefined = GetDevicePath().AddDeviceText("type=devtx", m_automation.GetTransmitName(), 0, 0, 0) != FALSE;
    if (m_options.m_page4.m_autoLocateTavlins)
    {
        SetStatus("Locating Tavlins");
        LocateTavlins(0, 0);
    }
    SetStatus("Adding Misc Devices");
    AddMiscDevices();
    UpdateAllViews(nullptr, kViewHintDevices);
    PumpWaitingMessages();
    GetDevicePath().SetReportNoMatch(TRUE);
    ::FireEvent("first_pre_startup");
    ::FireEvent("pre_startup");
    if (GetDevicePath().GetNumTavlins() > 0 && m_options.m_page5.m_autoLocatePlayers)
    {
        SetStatus("Locating Players");
        RefreshPlayers(0, 0);
        PumpWaitingMessages();
    }
    SetStatus("Starting Playing Thread");
    m_playMusic->Start();
    m_taskMgr.EndTask(m_startupTask);
    UpdatePlayerAvailability();
    UpdateAllViews(nullptr, kViewHintPlayersRescanned);
    EnsureUserEmail();
    m_frame.ShowStartupTip();
    m_startupRunning = FALSE;
    CloseIfAsked();
}

void CZymDoc::WaitForServer()
{
    m_frame.ShowStatusIndicator(TRUE);
    SetStatus("Waiting for server to load 1/2");
    m_remote->WaitUntilReady(kServerLoadMs);
    SetStatus("Waiting for server to load 2/2");
    m_remote->LoadServer();
}

void CZymDoc::AddMiscDevices()
{
    for (DeviceEntry& entry : m_options.m_page6.m_devices)
    {
        if (!entry.enabled)
        {
            entry.status = DeviceEntry::kDefined;
            continue;
        }
        CString path = JoinPath(JoinPath(m_programFolder, m_options.m_page9.m_deviceFileDirectory) + "\\",
                                entry.file);
        entry.status = GetDevicePath().AddDevice(path, entry.name, entry.number, entry.unit, entry.ports)
                           ? DeviceEntry::kDefined
                           : DeviceEntry::kFailed;
    }
}

LRESULT CZymDoc::LocateTavlins(WPARAM, LPARAM)
{
    if (m_remote)
    {
        for (int i = 0; i < kLocateWaits && !m_remote->WaitUntilReady(0); ++i)
        {
            Sleep(kLocateWaitMs);
            PumpWaitingMessages();
        }
        return 0;
    }
    if (!m_manager)
        return 0;
    CWinApp* app = AfxGetApp();
    // A locate that never came back leaves 1 behind: the next start skips it.
    if (app->GetProfileInt(kOptions, "COM Port Locate Failure", 0) != 0)
    {
        AfxMessageBox("ZYM is having trouble locating your Tavlin. Please go to View|Options|Tavlin and select "
                      "the correct COM port to which the Tavlin is connected and restart ZYM.");
        m_options.m_page4.SetComPortMask(0);
    }
    else
    {
        app->WriteProfileInt(kOptions, "COM Port Locate Failure", 1);
        m_manager->AddTavlinPorts(m_options.m_page4.GetComPortMask());
    }
    app->WriteProfileInt(kOptions, "COM Port Locate Failure", 0);
    SetUpUnits();
    m_manager->StartMessageMonitor();
    return 0;
}

void CZymDoc::SetUpUnits()
{
    const CPage4& page = m_options.m_page4;
    for (int unit = 0; unit < m_manager->GetNumTavlins(); ++unit)
    {
        CTavlinPort* port = m_manager->GetTavlinPort(unit);
        if (port->GetBaudRate() < page.m_minimumBaudRate)
            port->SetBaudRate(page.m_minimumBaudRate);
        for (int p = 0; p < kUnitPorts; ++p)
            port->EnablePort(p);
        port->SetSamplePeriod(page.m_irSamplePeriod);
        CString discarded;
        port->ReadResponses(discarded, 10);
        port->SetTimeoutPeriod(page.m_irTimeoutPeriod);
        if (m_irReceiver)
            port->EnablePort(kIrReceiverPort);
        else
            port->DisablePort(kIrReceiverPort);
    }
}

LRESULT CZymDoc::RefreshPlayers(WPARAM, LPARAM)
{
    m_control->ScanBus(m_options.m_page5.m_downloadGroupNames != 0);
    UpdatePlayerAvailability();
    for (LPARAM hint : { kViewHintPlayersRescanned, kViewHintDevices, kViewHintAll, kViewHintPlaylist })
        UpdateAllViews(nullptr, hint);
    return 0;
}

void CZymDoc::UpdatePlayerAvailability()
{
    int changers = m_control->GetPlayerCount();
    for (int player = 0; player < static_cast<int>(sizeof(m_available)); ++player)
        m_available[player] = player < changers;
}

bool CZymDoc::IsPlayerAvailable(int player)
{
    // The MP3 player answers to a second number too.
    const int kMp3PlayerAlias = 1101;
    if (player == kMp3Player || player == kMp3PlayerAlias)
        return GetMp3Player() != nullptr;
    return player >= 0 && player < static_cast<int>(sizeof(m_available)) && m_available[player];
}

// The user's side may store a new address in the profile and the client;
// the options keep it too, or their next save would bring the old one back.
void CZymDoc::EnsureUserEmail()
{
    if (!m_cddb.m_pUser)
        return;
    m_cddb.m_pUser->EnsureUserEmail(m_cddb);
    m_options.m_page1.m_userEmail = m_cddb.m_strUserEmail;
}

void CZymDoc::OnViewOptions()
{
    m_frame.ShowOptions(m_options, "ZYM Options");
    UpdateAllViews(nullptr, kViewHintAll);
}

void CZymDoc::GoToSleep()
{
    OnPlaylistStop();
    ::FireEvent("shutdown");
    m_control->PowerOffAll();
    m_sleeping = TRUE;
}

void CZymDoc::WakeUp()
{
    ::FireEvent("pre_startup");
    GetDevicePath().WaitForDevicePath(kWakeWaitMs);
    m_control->PowerOnAll();
    ::FireEvent("startup");
    m_sleeping = FALSE;
}

void CZymDoc::PostExit()
{
    m_frame.PostClose();
}

void CZymDoc::OnPlaylistPlay()
{
    if (m_sleeping)
        WakeUp();
    m_playList->SetPlaying();
}

void CZymDoc::OnPlaylistStop()
{
    m_playList->SetStopped();
}

BOOL CZymDoc::StopPlayMusic()
{
    if (!m_playMusic || m_playMusic->Stop())
        return TRUE;
    AfxMessageBox("Unable to end music playing thread.");
    return FALSE;
}

// The database layer throws its errors; a save from a tick, a command or the
// close must not end the program: the error is shown and the save failed.
BOOL CZymDoc::SaveLibrary()
{
    try
    {
        return m_database->Save();
    }
    catch (const _com_error& error)
    {
        m_database->ShowComError("Error saving the library", error);
        return FALSE;
    }
}

BOOL CZymDoc::SaveModified()
{
    if (m_startupRunning || m_tickDepth > 0)
    {
        m_closeAsked = true;
        return FALSE;
    }
    if (m_taskMgr.HasTaskOfThread())
    {
        AfxMessageBox("You are currently in the middle of a task, please cancel that task before exiting.");
        return FALSE;
    }
    UpdateAllViews(nullptr, kViewHintSelection);
    if (m_library.CountChanged() == 0)
        return TRUE;
    if (m_options.m_page2.m_autoSaveDb)
        return SaveLibrary();
    return SaveOrAsk();
}

BOOL CZymDoc::SaveOrAsk()
{
    switch (AfxMessageBox("The CD Library has been modified. Should I save the changes?", MB_YESNOCANCEL))
    {
    case IDCANCEL:
        return FALSE;
    case IDNO:
        return TRUE;
    default:
        return SaveLibrary();
    }
}

// The playing thread drives the changers and reaches the control, the road
// and the document: it ends before any of them changes, and when it will not
// end, none of them is freed.
void CZymDoc::OnCloseDocument()
{
    m_closing = true;
    if (!m_taskMgr.CancelAll(kTaskWaitMs))
        AfxMessageBox("ZYM was unable to end all of its tasks before shutting down.");
    BOOL ended = StopPlayMusic();
    if (m_options.m_page5.m_turnOffPlayersOnExit)
        m_control->PowerOffAll();
    ::FireEvent("shutdown");
    ::FireEvent("last_shutdown");
    if (m_options.m_page3.m_playlistSaveAndRestore)
        SaveCurrentPlaylist();
    AfxGetApp()->WriteProfileInt(kOptions, "Playlist Loop", m_playList->GetLoop());
    AfxGetApp()->WriteProfileInt(kOptions, "Playlist Preview", m_switches.preview);
    if (ended)
    {
        m_control.reset();
        DeleteDevicePath();
    }
    else
    {
        m_bAutoDelete = FALSE;
    }
    CDocument::OnCloseDocument();
}

// What the thread reaches outside the document's own fields is never freed.
void CZymDoc::AbandonToPlayingThread()
{
    m_playMusic.release();
    m_control.release();
    m_path.release();
    m_manager.release();
    m_playList.release();
}

void CZymDoc::CloseIfAsked()
{
    if (m_closeAsked && !m_startupRunning && m_tickDepth == 0)
    {
        m_closeAsked = false;
        m_frame.PostClose();
    }
}

void CZymDoc::DeleteDevicePath()
{
    m_remote = nullptr;
    m_path.reset();
    m_manager.reset();
}

CDevicePath& CZymDoc::GetDevicePath()
{
    if (m_path)
        return *m_path;
    return m_noPath;
}

void CZymDoc::FireEvent(const char* text)
{
    ::FireEvent("%s", text);
}

void CZymDoc::DebugEvent(const char* text)
{
    if (m_debug)
        ::FireEvent("debug[%s]", text);
}

BOOL CZymDoc::VerifyDiscAt(int player, int disc, int track, int minutes, int seconds)
{
    return m_library.VerifyDiscAt(player, disc, track, minutes, seconds);
}

CMp3Control* CZymDoc::GetMp3Player()
{
    return m_options.m_page5.m_enableMp3 ? m_frame.GetMp3Player() : nullptr;
}

void CZymDoc::IdentifyDiscs(int player)
{
    IdentifiedDisc disc;
    CDiscIdentify(*this).IdentifyDiscs(player, disc);
}

void CZymDoc::ThreadStarted(const char* name)
{
    RegisterThread(name);
}

void CZymDoc::ThreadEnded()
{
    RegisterThread(nullptr);
}

BOOL CZymDoc::SendDeviceCommand(const char* text)
{
    // Events fired before the start-up defines the transmitting device would
    // only raise the device layer's unknown-device boxes; the mapper and the
    // log have them already.
    CString transmit = m_automation.GetTransmitName() + ":";
    if (!m_transmitDefined && strncmp(text, transmit, transmit.GetLength()) == 0)
        return FALSE;
    m_automation.NoteOwnSend(text);
    return GetDevicePath().SendDeviceCommand(text);
}
