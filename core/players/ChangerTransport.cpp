#include "core/players/ChangerTransport.h"

#include "core/players/ChangerLink.h"
#include "core/players/ChangerStateStore.h"
#include "core/players/PlayerHost.h"

void CChangerTransport::Play()
{
    m_store.Change([](ChangerState& s) { s.nearEnd = 0; });
    m_link.Send(m_link.Twice("play", " ") + m_link.Pause45());
}

void CChangerTransport::Pause()
{
    m_store.Change([](ChangerState& s) {
        s.playPending = 0;
        s.nearEnd = 0;
    });
    m_link.Send(m_link.Twice("pause", " ") + m_link.Pause45());
}

BOOL CChangerTransport::PauseToggle()
{
    return m_link.Send(m_link.Word("pause_toggle") + m_link.Pause45());
}

BOOL CChangerTransport::Stop()
{
    return m_link.Send(m_link.Word("stop ") + m_link.Word("stop") + m_link.Pause45());
}

BOOL CChangerTransport::NextTrack()
{
    m_store.Change([](ChangerState& s) { s.scanMode = kScanNone; });
    return m_link.Send(m_link.Word(">>|") + m_link.Pause45());
}

BOOL CChangerTransport::PreviousTrack()
{
    m_store.Change([](ChangerState& s) { s.scanMode = kScanNone; });
    return m_link.Send(m_link.Word("|<<") + m_link.Pause45());
}

void CChangerTransport::SetSpeed(int scanMode, const char* word)
{
    m_store.Change([scanMode](ChangerState& s) { s.scanMode = scanMode; });
    m_link.Send(m_link.Twice(word, ""));
}

void CChangerTransport::ScanForward() { SetSpeed(kScanForward, ">>"); }
void CChangerTransport::ScanBackward() { SetSpeed(kScanBackward, "<<"); }
void CChangerTransport::FastForward() { SetSpeed(kFastForward, ">>>"); }
void CChangerTransport::FastBackward() { SetSpeed(kFastBackward, "<<<"); }
void CChangerTransport::NormalSpeed() { SetSpeed(kScanNone, "normal"); }

void CChangerTransport::NudgeForward()
{
    ScanForward();
    NormalSpeed();
}

BOOL CChangerTransport::TimecodeOn()
{
    CString text = m_link.Word("timecode_on");
    if (m_link.OldFirmware())
        text = m_link.Word("timecode_on ") + m_link.Word("timecode_on ");
    return m_link.Send(text);
}

BOOL CChangerTransport::TimecodeOff()
{
    return m_link.Send(m_link.Word("timecode_off") + m_link.Pause45());
}

BOOL CChangerTransport::PowerOn()
{
    m_store.Change([](ChangerState& s) { s.powerWanted = 1; });
    return m_link.Send(m_link.Word("power_on") + m_link.Pause45());
}

BOOL CChangerTransport::PowerOff()
{
    m_store.Change([](ChangerState& s) { s.powerWanted = 0; });
    CString text = m_link.Word("power_off") + m_link.Pause45();
    // The parser sends from the thread that delivers device texts; a ":flush"
    // from there would hold delivery waiting for an echo only that thread reads.
    if (!m_store.OnParserThread())
        text += m_link.Word("flush[2000]");
    return m_link.Send(text);
}

BOOL CChangerTransport::RemoteOn()
{
    return m_link.Send(m_link.Pause45() + m_link.Word("remote_on") + m_link.Pause45());
}

BOOL CChangerTransport::RemoteOff()
{
    return m_link.Send(m_link.Pause45() + m_link.Word("remote_off") + m_link.Pause45());
}

BOOL CChangerTransport::QueryPlayerType()
{
    return m_link.Send(m_link.Word("player_type") + m_link.Pause45());
}

BOOL CChangerTransport::QueryPlayerName()
{
    return m_link.Send(m_link.Word("player_name ") + m_link.Word("ir[-200000]"));
}

BOOL CChangerTransport::QueryMode()
{
    time_t now = m_host->Now();
    m_store.Change([now](ChangerState& s) { s.lastModePoll = now; });
    return m_link.Send(m_link.Word("mode") + m_link.Pause45());
}

BOOL CChangerTransport::QueryStored()
{
    return m_link.Send(m_link.Word("query_stored") + m_link.Pause45());
}

BOOL CChangerTransport::Flush()
{
    return m_link.Send(m_link.Word("flush[2000]"));
}

void CChangerTransport::FadeUp(int rate)
{
    CString word;
    word.Format("fade_up[%02x]", rate);
    CString text = m_link.Word(word) + " ";
    if (m_link.OldFirmware())
        text += m_link.Word(word);
    m_link.Send(text + m_link.Pause45());
}

void CChangerTransport::FadeDown(int rate)
{
    bool sent = false;
    m_store.Change([&sent](ChangerState& s) {
        sent = s.fadeDownSent != 0;
        s.fadeDownSent = 1;
    });
    if (sent)
        return;
    CString word;
    word.Format("fade_down[%02x]", rate);
    m_link.Send(m_link.Word(word) + m_link.Pause45());
}
