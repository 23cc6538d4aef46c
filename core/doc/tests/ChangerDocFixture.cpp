#include "core/doc/tests/ChangerDocFixture.h"

namespace {

const int kUnitPort = 5;   // the document checks COM1 to COM8

} // namespace

const char kCddbServer[] = "cddb.test";
const std::vector<int> kHarbourLights = { 200, 300, 100 };

int Bcd(int n)
{
    return (n / 10) << 4 | n % 10;
}

void CCancelAtStatus::OnTaskEvent(int, int what, INT_PTR value)
{
    if (what != kTaskStatus || m_status != reinterpret_cast<const char*>(value))
        return;
    for (int i = 0; i < m_tasks.GetTaskCount(); ++i)
    {
        TaskRecord task = m_tasks.GetTaskAt(i);
        if (task.GetCancelFlag())
            *task.GetCancelFlag() = 1;
    }
}

ChangerDocFixture::ChangerDocFixture() : m_pty(kUnitPort), m_unit(m_pty, 38400, 3.0), m_bus(m_unit, 0)
{
    Option("COM Ports to Check", 1 << (kUnitPort - 1));
    Option("Use CDDB2", 0);
    Option("Use Internet", 1);
    Option("CDDB Server", kCddbServer);
    Option("User Email", "jo@example.org");
    Option("Use HTTP Proxy", 1);
    Option("Proxy Host", ("127.0.0.1:" + std::to_string(m_cddb.Port())).c_str());
    m_cddb.Answer(kCddbServer, "cddb+query*", "202 No match found\r\n");
}

CChangerModel& ChangerDocFixture::AddChanger(int typeCode, int capacity)
{
    return m_bus.Add(m_changers++, typeCode, capacity);
}

void ChangerDocFixture::Start()
{
    Open();
    m_doc->RunStartup();
    ASSERT_EQ(m_changers, m_doc->GetSonyControl()->GetPlayerCount());
    // Words go out once, as to a unit newer than 2.8.
    m_doc->SetFirmwareVersion(3.0);
    m_trace.Take();
}

ChangerDisc ChangerDocFixture::Disc(const std::vector<int>& tracks)
{
    ChangerDisc disc;
    disc.tracks = tracks;
    return disc;
}

std::string ChangerDocFixture::AddAlbum(const std::vector<int>& tracks, int changer, int slot, const char* title)
{
    AlbumRecord album = m_doc->GetMusicLibrary().NewAlbum();
    album.SetTrackCount(static_cast<int>(tracks.size()));
    for (size_t t = 0; t < tracks.size(); ++t)
        album.SetPlayTime(static_cast<int>(t), tracks[t]);
    album.SetIdText(album.ComputeAlbumId());
    album.SetTitle(kAlbumIndex, title);
    album.SetPlayer(changer);
    album.SetSlot(slot);
    album.SetPresent(true);
    m_doc->GetMusicLibrary().AppendAlbum(album);
    return std::string(album.GetIdText());
}

void ChangerDocFixture::SetFlags(int changer, const std::vector<DWORD>& flags)
{
    CSonyPlayer* player = m_doc->GetSonyControl()->GetPlayer(changer);
    player->ChangeState([&flags](ChangerState& state) {
        for (size_t s = 0; s < flags.size(); ++s)
            state.slots[s] = flags[s];
    });
}

DWORD ChangerDocFixture::Flags(int changer, int slot)
{
    return m_doc->GetSonyControl()->GetPlayer(changer)->GetState().slots[slot - 1];
}

size_t ChangerDocFixture::CountWords(int changer, int code, const std::vector<int>& bytes)
{
    std::string data = CTavlinSimulator::Bytes({ 0x90 + changer, code });
    for (int b : bytes)
        data += char(b);
    std::string word = CTavlinSimulator::Message(0, data);
    const std::string received = m_unit.Received();
    size_t count = 0;
    for (size_t at = received.find(word); at != std::string::npos; at = received.find(word, at + 1))
        ++count;
    return count;
}

size_t ChangerDocFixture::Loads(int changer, int slot)
{
    const int kPauseAt = 0x51;
    return CountWords(changer, kPauseAt, { Bcd(slot), 0x01 });
}

Texts ChangerDocFixture::Events(const std::string& prefix)
{
    Texts found;
    for (const std::string& line : m_trace.Take())
    {
        if (line.compare(0, 6 + prefix.size(), "event " + prefix) == 0)
            found.push_back(line.substr(6));
    }
    return found;
}

int ChangerDocFixture::CountAlbums(const std::string& id)
{
    CMusicLibrary& library = m_doc->GetMusicLibrary();
    int count = 0;
    for (int i = 0; i < library.GetAlbumCount(); ++i)
    {
        AlbumRecord album;
        if (library.GetAlbumAt(i, album) && !album.IsGone() && album.GetIdText() == id.c_str())
            ++count;
    }
    return count;
}

AlbumRecord ChangerDocFixture::AlbumAt(int changer, int slot)
{
    AlbumRecord album;
    CMusicLibrary& library = m_doc->GetMusicLibrary();
    library.GetAlbumAt(library.FindAlbumAt(changer, slot), album);
    return album;
}
