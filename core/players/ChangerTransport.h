// The transport and status words of a changer: play, pause, stop, tracks,
// scanning, time code, power, remote control, fades, and the questions that
// take no argument. Each is one text through the link; the requests the
// changer must remember (power wanted, scan mode, fade sent) go to the state.
#pragma once

#include <afx.h>

#include "core/players/ChangerState.h"

class CChangerLink;
class CChangerStateStore;
class CPlayerHost;

class CChangerTransport : public ChangerConstants
{
public:
    CChangerTransport(CChangerLink& link, CChangerStateStore& store, CPlayerHost* host)
        : m_link(link), m_store(store), m_host(host) {}

    void Play();
    void Pause();
    BOOL PauseToggle();
    BOOL Stop();
    BOOL NextTrack();
    BOOL PreviousTrack();
    void ScanForward();
    void ScanBackward();
    void FastForward();
    void FastBackward();
    void NormalSpeed();
    void NudgeForward();
    BOOL TimecodeOn();
    BOOL TimecodeOff();
    BOOL PowerOn();
    BOOL PowerOff();
    BOOL RemoteOn();
    BOOL RemoteOff();
    BOOL QueryPlayerType();
    BOOL QueryPlayerName();
    BOOL QueryMode();
    BOOL QueryStored();
    BOOL Flush();
    void FadeUp(int rate);
    // Once until the next stop or pause report.
    void FadeDown(int rate);

private:
    void SetSpeed(int scanMode, const char* word);

    CChangerLink& m_link;
    CChangerStateStore& m_store;
    CPlayerHost* m_host;
};
