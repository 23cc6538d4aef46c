#include "mp3/player/MPEGDlg.h"

#include "mp3/decoder/DecoderChannel.h"
#include "mp3/decoder/DecoderErrors.h"
#include "mp3/decoder/DecoderPlayer.h"
#include "platform/runtime/DebugOutput.h"
#include "library/paths/FilePath.h"
#include "library/records/MusicLibrary.h"

namespace {

// Close the output on stop, reset and close it on pause, drain and close it
// at the end of the input: the sound device is free whenever nothing plays.
const int kPlayerMode = kModeCloseOnStop | kModeCloseOnPause | kModeCloseAtEnd;
const int kAnyInputModule = -1;
// Hundredths: one time code a second.
const int kTimecodeGranularity = 100;
const char kDefaultOutput[] = "(default)";

// What waveOutOpen's failures become; an open failure without a reason of its
// own is known by the output closing just before the refusal.
bool IsDeviceFailure(int result)
{
    return result == kErrNoSuchDevice || result == kErrDeviceBusy || result == kErrNoDevice;
}

// The program's folder, with its closing backslash.
CString ProgramFolder()
{
    char module[MAX_PATH] = "";
    DWORD length = GetModuleFileNameA(nullptr, module, MAX_PATH);
    CString folder(module, length < MAX_PATH ? (int)length : 0);
    return folder.Left(folder.ReverseFind('\\') + 1);
}

}  // namespace

BEGIN_MESSAGE_MAP(CMPEGDlg, CDialog)
    ON_MESSAGE(kMp3Open, OnOpen)
    ON_MESSAGE(kMp3Play, OnPlay)
    ON_MESSAGE(kMp3Stop, OnStop)
    ON_MESSAGE(kMp3Pause, OnPause)
END_MESSAGE_MAP()

CMPEGDlg::CMPEGDlg() : CDialog(IDD), m_statusEvent(CreateEventA(nullptr, TRUE, FALSE, nullptr))
{
}

CMPEGDlg::~CMPEGDlg()
{
    if (GetSafeHwnd())
        DestroyWindow();
    CloseHandle(m_statusEvent);
}

BOOL CMPEGDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    ResetEvent(m_statusEvent);
    ResetItem();
    int failure = CreateDecoderPlayer(&m_channel, m_hWnd);
    if (failure) {
        DebugOutputF("MP3 player: no decoder player (%d)", failure);
        m_channel = nullptr;
        return TRUE;
    }
    SendDecoderCommandValue(m_channel, kMsgSetPlayerMode, kPlayerMode);
    SendDecoderCommandValue(m_channel, kMsgSetInputModule, kAnyInputModule);
    SendDecoderCommandValue(m_channel, kMsgSetInputTimecodeGranularity, kTimecodeGranularity);
    CString output = m_host->GetOutputName();
    if (!output.IsEmpty() && output != kDefaultOutput)
        SendDecoderCommand(m_channel, kMsgSetOutputName, (const char*)output);
    return TRUE;
}

BOOL CMPEGDlg::DestroyWindow()
{
    if (m_channel) {
        DeleteDecoderPlayer(m_channel);
        m_channel = nullptr;
    }
    return CDialog::DestroyWindow();
}

void CMPEGDlg::PostRequest(UINT message)
{
    if (!::PostMessageA(m_hWnd, message, 0, 0))
        DebugOutputF("MP3 player: request 0x%X not posted (%lu)", message, GetLastError());
}

void CMPEGDlg::SendCommand(int code)
{
    if (m_channel)
        SendDecoderCommand0(m_channel, code);
}

void CMPEGDlg::SignalStatus()
{
    SetEvent(m_statusEvent);
}

void CMPEGDlg::ReportNoOutput()
{
    m_host->ReportNoOutputDevice();
}

CString CMPEGDlg::TrackPath()
{
    CString location = GetCurrentLocation();
    if (location.IsEmpty())
        return location;
    CFilePath path{CDirPath(ProgramFolder())};
    path.Append((const char*)m_host->GetMusicFileDirectory());
    path.Append((const char*)location);
    return path.GetFullPath();
}

LRESULT CMPEGDlg::OnOpen(WPARAM, LPARAM)
{
    CString path = TrackPath();
    // Without a file or a decoder player the open fails as the decoder's own
    // failure would: the next track of a whole album, else error and finished.
    if (path.IsEmpty() || !m_channel || SendDecoderCommand(m_channel, kMsgInputOpen, (const char*)path) != 0)
        OnNack(kMsgInputOpen);
    return 0;
}

LRESULT CMPEGDlg::OnPlay(WPARAM, LPARAM)
{
    SendCommand(kMsgPlay);
    return 0;
}

LRESULT CMPEGDlg::OnStop(WPARAM, LPARAM)
{
    SendCommand(kMsgStop);
    return 0;
}

LRESULT CMPEGDlg::OnPause(WPARAM, LPARAM)
{
    SendCommand(kMsgPause);
    return 0;
}

LRESULT CMPEGDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message < kDecoderMessageBase + kMsgReady || message > kDecoderMessageBase + kLastMessageCode)
        return CDialog::WindowProc(message, wParam, lParam);
    DecoderMessage notification;
    if (m_channel && ReadDecoderNotification(m_channel, &notification, message, wParam, lParam) == 0)
        OnNotification(notification);
    return 0;
}

void CMPEGDlg::OnNotification(const DecoderMessage& message)
{
    const DecoderField* f = message.fields;
    switch (message.code) {
    case kMsgPlayerState:
        OnPlayerState(f[0].value);
        break;
    case kMsgInputDuration:
        OnInputDuration(f[0].value);
        break;
    case kMsgInputTimecode:
        OnInputTimecode(f[1].value, f[2].value);
        break;
    case kMsgInputState:
        m_outputJustClosed = false;
        break;
    case kMsgOutputState:
        m_outputJustClosed = f[0].value != 0;
        break;
    case kMsgNack:
        OnRefusal(f[0].value, f[1].value);
        break;
    case kMsgErrorReport:
        OnErrorReport();
        break;
    }
}

void CMPEGDlg::OnRefusal(int command, int result)
{
    bool output = command == kMsgPlay && (IsDeviceFailure(result) || m_outputJustClosed);
    m_outputJustClosed = false;
    if (output)
        OnOutputFailed();
    else
        OnNack(command);
}

// The library's length of the track becomes the decoder's, which reads the
// file itself.
void CMPEGDlg::OnInputDuration(int seconds)
{
    CMPEGRequests::OnInputDuration(seconds);
    CString albumId = GetAlbumId();
    int track = GetTrack();
    CMusicLibrary& library = m_host->GetLibrary();
    CLibraryLock lock(library);
    int index = library.FindAlbumIndex(albumId);
    AlbumRecord* album = index < 0 ? nullptr : library.GetAlbumPtr(lock, index);
    if (!album || track < 0 || track >= album->GetTrackCount() || album->GetPlayTime(track) == seconds)
        return;
    album->SetPlayTime(track, seconds);
    library.SetModified(true);
}
