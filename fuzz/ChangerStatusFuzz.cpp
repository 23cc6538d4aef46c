// A changer's answers: each part one text for the status parser of a player
// with a request under way, fades set and a clock held still; the parser may
// send what it likes (the device path takes nothing). Then the player's
// readers of what the texts left.
#include "fuzz/FuzzTargets.h"
#include "fuzz/FuzzInput.h"

#include "core/devpath/DevicePath.h"
#include "core/players/PlayerHost.h"
#include "core/players/SonyPlayer.h"

namespace {

class CFuzzPlayerHost : public CPlayerHost
{
public:
    CDevicePath& GetDevicePath() override { return m_path; }
    void FireEvent(const char*) override {}
    void DebugEvent(const char*) override {}
    double GetFirmwareVersion() override { return 3.0; }
    BOOL DetectSkippingDiscs() override { return TRUE; }
    // A mismatch makes the parser remember a new disc, the longer road.
    BOOL VerifyDiscAt(int, int, int, int, int) override { return FALSE; }
    time_t Now() override { return 1700000000; }

private:
    CNoDevicePath m_path;
};

void PrepareChanger(CSonyPlayer& player)
{
    player.SetAddress(ChangerAddress::OnBus(0, 0, 0, true));
    player.ChangeState([](ChangerState& s) {
        s.capacity = 400;
        s.typeCode = 107;
        s.fadeUpTime = 3;
        s.fadeDownTime = 4;
        s.fadeOverlapTime = 5;
        s.trackFinishTweak = 1;
    });
    player.SetRequest(5, 2, TRUE);
    player.SetNextEntry(6, 0);
    player.ChangeState([](ChangerState& s) { s.playPending = 1; });
}

} // namespace

int FuzzChangerStatus(const uint8_t* data, size_t size)
{
    CFuzzPlayerHost host;
    CSonyPlayer player(&host);
    PrepareChanger(player);
    for (const CString& text : SplitInput(data, size))
        player.OnStatusText(text);
    player.GetStatusLine();
    player.GetDescription();
    player.HasUnknownSlots();
    player.IsPlaying(5, 2);
    const ChangerState state = player.GetState();
    player.FindGroupOfDisc(state.currentDisc);
    player.GetArtistText(state.memoDisc);
    player.GetGroupName(state.groupReply);
    return 0;
}
