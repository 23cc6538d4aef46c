#include "core/doc/DocTransport.h"

#include "core/doc/DocPlaylistCommands.h"
#include "core/doc/DocResource.h"
#include "core/doc/DocTitle.h"
#include "core/doc/LibraryDocument.h"

#include "core/players/SonyControl.h"
#include "core/players/SonyPlayer.h"

namespace {

struct SpeedButton
{
    UINT id;
    int scanMode;
    void (CSonyPlayer::*start)();
};

const SpeedButton kSpeedButtons[] = {
    { ID_PLAYER_FORWARD, CSonyPlayer::kScanForward, &CSonyPlayer::ScanForward },
    { ID_PLAYER_REWIND, CSonyPlayer::kScanBackward, &CSonyPlayer::ScanBackward },
    { ID_PLAYER_FAST_FORWARD, CSonyPlayer::kFastForward, &CSonyPlayer::FastForward },
    { ID_PLAYER_FAST_REWIND, CSonyPlayer::kFastBackward, &CSonyPlayer::FastBackward },
};

const SpeedButton* FindSpeedButton(UINT id)
{
    for (const SpeedButton& button : kSpeedButtons)
    {
        if (button.id == id)
            return &button;
    }
    return nullptr;
}

// Media key commands (the APPCOMMAND_MEDIA_ values).
enum MediaKey
{
    kMediaNextTrack = 11,
    kMediaPreviousTrack = 12,
    kMediaStop = 13,
    kMediaPlayPause = 14,
};

// The command of WM_APPCOMMAND's lParam: bits 16-27 (bits 28-31 name the
// device, keys from OEM sources among them).
const LPARAM kAppCommandMask = 0x0FFF;
const int kAppCommandShift = 16;

} // namespace

BEGIN_MESSAGE_MAP(CDocTransport, CCmdTarget)
    ON_COMMAND(ID_PLAYER_PLAY, OnPlayerPlay)
    ON_COMMAND(ID_PLAYER_STOP, OnPlayerStop)
    ON_COMMAND(ID_PLAYER_PAUSE, OnPlayerPause)
    ON_COMMAND(ID_PLAYER_TRACK_FWD, OnPlayerTrackForward)
    ON_COMMAND(ID_PLAYER_TRACK_BACK, OnPlayerTrackBack)
    ON_COMMAND_RANGE(ID_PLAYER_REWIND, ID_PLAYER_FAST_REWIND, OnPlayerSpeed)
    ON_UPDATE_COMMAND_UI(ID_PLAYER_PLAY, OnUpdatePlayerTransport)
    ON_UPDATE_COMMAND_UI(ID_PLAYER_STOP, OnUpdatePlayerTransport)
    ON_UPDATE_COMMAND_UI(ID_PLAYER_PAUSE, OnUpdatePlayerTransport)
    ON_UPDATE_COMMAND_UI(ID_PLAYER_TRACK_FWD, OnUpdatePlayerTrack)
    ON_UPDATE_COMMAND_UI(ID_PLAYER_TRACK_BACK, OnUpdatePlayerTrack)
    ON_UPDATE_COMMAND_UI_RANGE(ID_PLAYER_REWIND, ID_PLAYER_FAST_REWIND, OnUpdatePlayerSpeed)
END_MESSAGE_MAP()

CSonyPlayer* CDocTransport::CurrentChanger()
{
    int player = m_title.GetPlayer();
    return player >= 0 && player != kMp3Player ? m_doc.GetPlayerControl().GetPlayer(player) : nullptr;
}

CMp3Control* CDocTransport::CurrentMp3()
{
    return m_title.GetPlayer() == kMp3Player ? m_doc.GetMp3Player() : nullptr;
}

void CDocTransport::Act(void (*changer)(CSonyPlayer&), void (*mp3)(CMp3Control&))
{
    if (CSonyPlayer* current = CurrentChanger())
        changer(*current);
    else if (CMp3Control* current = CurrentMp3())
        mp3(*current);
}

void CDocTransport::OnPlayerPlay()
{
    Act([](CSonyPlayer& changer) { changer.Play(); }, [](CMp3Control& mp3) { mp3.PostPlay(); });
}

void CDocTransport::OnPlayerStop()
{
    Act([](CSonyPlayer& changer) { changer.Stop(); }, [](CMp3Control& mp3) { mp3.Stop(); });
}

void CDocTransport::OnPlayerPause()
{
    Act([](CSonyPlayer& changer) { changer.PauseToggle(); }, [](CMp3Control& mp3) { mp3.TogglePause(); });
}

void CDocTransport::OnPlayerTrackForward()
{
    Act([](CSonyPlayer& changer) { changer.NextTrack(); }, [](CMp3Control& mp3) { mp3.NextTrack(); });
}

void CDocTransport::OnPlayerTrackBack()
{
    Act([](CSonyPlayer& changer) { changer.PreviousTrack(); }, [](CMp3Control& mp3) { mp3.PrevTrack(); });
}

void CDocTransport::OnPlayerSpeed(UINT id)
{
    CSonyPlayer* changer = CurrentChanger();
    const SpeedButton* button = FindSpeedButton(id);
    if (!changer || !button)
        return;
    if (changer->GetState().scanMode == button->scanMode)
        changer->NormalSpeed();
    else
        (changer->*button->start)();
}

void CDocTransport::OnUpdatePlayerTransport(CCmdUI* cmdUI)
{
    cmdUI->Enable(CurrentChanger() || CurrentMp3());
}

void CDocTransport::OnUpdatePlayerTrack(CCmdUI* cmdUI)
{
    cmdUI->Enable(TRUE);
}

void CDocTransport::OnUpdatePlayerSpeed(CCmdUI* cmdUI)
{
    CSonyPlayer* changer = CurrentChanger();
    const SpeedButton* button = FindSpeedButton(cmdUI->m_nID);
    cmdUI->Enable(changer != nullptr);
    cmdUI->SetCheck(changer && button && changer->GetState().scanMode == button->scanMode);
}

LRESULT CDocTransport::OnAppCommand(WPARAM, LPARAM lParam)
{
    switch ((lParam >> kAppCommandShift) & kAppCommandMask)
    {
    case kMediaNextTrack:
        m_playlist.OnPlaylistNext();
        return 1;
    case kMediaPreviousTrack:
        m_playlist.OnPlaylistPrevious();
        return 1;
    case kMediaStop:
        m_playlist.OnPlaylistStop();
        return 1;
    case kMediaPlayPause:
        m_playlist.OnPlaylistPlayPause();
        return 1;
    }
    return 0;
}
