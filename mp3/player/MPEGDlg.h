// The MP3 player's hidden modeless dialog on the MP3 thread. It owns the
// process's one decoder player, carries out the private messages that the
// requests post (so every decoder command leaves from this thread) and keeps
// the item and flags from the decoder's notifications, which arrive as window
// messages.
#pragma once

#include <afxwin.h>

#include "mp3/player/MPEGRequests.h"
#include "mp3/player/Mp3Host.h"

struct DecoderChannel;
struct DecoderMessage;

class CMPEGDlg : public CDialog, public CMPEGRequests
{
public:
    enum { IDD = 265 };

    CMPEGDlg();
    ~CMPEGDlg() override;
    // Before the dialog is made.
    void SetHost(CMp3Host& host) { m_host = &host; }

    BOOL OnInitDialog() override;
    // Deletes the decoder player first.
    BOOL DestroyWindow() override;

    // Manual reset: set whenever the state, the duration or the second changed.
    HANDLE GetStatusEvent() const override { return m_statusEvent; }

protected:
    void PostRequest(UINT message) override;
    void SendCommand(int code) override;
    void SignalStatus() override;
    void ReportNoOutput() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    LRESULT OnOpen(WPARAM, LPARAM);
    LRESULT OnPlay(WPARAM, LPARAM);
    LRESULT OnStop(WPARAM, LPARAM);
    LRESULT OnPause(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

private:
    void OnNotification(const DecoderMessage& message);
    void OnRefusal(int command, int result);
    void OnInputDuration(int seconds);
    // The current track's file: the program's folder, the music folder
    // against it, the track's location against that. Empty without a track.
    CString TrackPath();

    CMp3Host* m_host = nullptr;
    HANDLE m_statusEvent;
    DecoderChannel* m_channel = nullptr;
    // The decoder tells the output closed just before it refuses a play whose
    // output would not open; any input news since means the refusal is not
    // the output's.
    bool m_outputJustClosed = false;
};
