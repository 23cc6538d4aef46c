// A document whose start-up finds simulated changers on the first control
// bus of an interface unit on a pty, with the local disc-database gateway as
// its client's proxy (every query answered "no match" unless a test says
// otherwise), and the helpers to set slots up and to count the changers'
// words on the bus.
#pragma once

#include "tests/support/doc/DocFixture.h"

#include "tests/support/CddbTestServer.h"
#include "tests/support/ChangerBus.h"
#include "tests/support/PtySerial.h"
#include "core/players/SonyPlayer.h"
#include "tests/support/TavlinSimulator.h"

#include <string>
#include <vector>

extern const char kCddbServer[];
const DWORD kUnknown = 0;
const DWORD kEmpty = CSonyPlayer::kSlotKnown;
const DWORD kDisc = CSonyPlayer::kSlotKnown | CSonyPlayer::kSlotHasDisc;
// The gateway's fixture entry: three tracks of 200, 300 and 100 s.
extern const std::vector<int> kHarbourLights;

// Sets the cancel flag of every task when one of them shows the status.
class CCancelAtStatus : public CTaskObserver
{
public:
    CCancelAtStatus(CTaskMgr& tasks, const char* status) : m_tasks(tasks), m_status(status) {}
    void OnTaskEvent(int, int what, INT_PTR value) override;

private:
    CTaskMgr& m_tasks;
    std::string m_status;
};

class ChangerDocFixture : public DocFixture
{
protected:
    ChangerDocFixture();

    // The changers are set up first; the start-up finds them.
    CChangerModel& AddChanger(int typeCode, int capacity);
    void Start();
    static ChangerDisc Disc(const std::vector<int>& tracks);
    // A library album of the disc, believed to sit in the changer's slot.
    std::string AddAlbum(const std::vector<int>& tracks, int changer, int slot, const char* title = "Known");
    void SetFlags(int changer, const std::vector<DWORD>& flags);
    DWORD Flags(int changer, int slot);
    // How often the unit got the changer's word with these bytes after it.
    size_t CountWords(int changer, int code, const std::vector<int>& bytes);
    // How often the changer was told to go to the slot.
    size_t Loads(int changer, int slot);
    // The program events of the trace that start with prefix.
    Texts Events(const std::string& prefix);
    int CountAlbums(const std::string& id);
    AlbumRecord AlbumAt(int changer, int slot);

    CPtySerial m_pty;
    CTavlinSimulator m_unit;
    CChangerBus m_bus;
    CCddbTestServer m_cddb;
    int m_changers = 0;
};

int Bcd(int n);
