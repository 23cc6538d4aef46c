// Times the command language on a remote control's road: a second user of
// the document's device manager sends "zym:..." texts through the dispatcher
// and hears the answers on its own "zymr" device, while a 100 ms window timer
// runs the document's tick as the main window does, over a library of 10,000
// albums. For each command it prints the median and worst latency from the
// send to the answer, split into the delivery to the automation queue, the
// wait for the tick, the tick that ran it and the delivery of the answer,
// and how many ticks passed it by; then a burst of 100 commands in one send.
#include "bench/support/BenchHost.h"
#include "core/doc/ZymDoc.h"

#include "devices/manager/DeviceManager.h"
#include "platform/crt/Random.h"

#include <windows.h>

#include <limits.h>
#include <stdio.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <vector>

namespace {

const int kAlbums = 10000;
const int kTracksPerAlbum = 12;
const int kListEntries = 200;
const int kRounds = 10;
const int kBurst = 100;
const UINT kTickMs = 100;
const DWORD kPatienceMs = 10000;
const char kRegistryKey[] = "ZymCommandBench";

double NowMs()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return 1000.0 * double(counter.QuadPart) / double(frequency.QuadPart);
}

// The remote client. Its own "zym" device hears every command text that
// the device layer hands to the document's, in the same delivery, after it.
class CBenchClient : public CCallbackTarget
{
public:
    explicit CBenchClient(CDeviceManager& manager) : m_manager(manager), m_user(manager.AddUser())
    {
        m_answered = CreateEventA(nullptr, FALSE, FALSE, nullptr);
        m_manager.AddDeviceText(m_user, "type=devrxtx\n", "zym", 0, 0, 0);
        m_manager.AddDeviceText(m_user, "type=devrx\n", "zymr", 0, 0, 0);
        m_manager.SetDeviceCallback(m_user, "zym", this, static_cast<TextFunction>(&CBenchClient::OnQueued));
        m_manager.SetDeviceCallback(m_user, "zymr", this, static_cast<TextFunction>(&CBenchClient::OnAnswer));
    }
    ~CBenchClient()
    {
        m_manager.RemoveUser(m_user);
        CloseHandle(m_answered);
    }

    void Send(const std::string& text)
    {
        m_queued = 0;
        m_answers = 0;
        m_manager.Send(m_user, text.c_str());
    }
    HANDLE Answered() const { return m_answered; }
    // Answered once that many answers came, or the answer with that text.
    void ExpectAnswers(int count, const char* last = "")
    {
        m_expected = count;
        m_last = last;
    }

    std::atomic<double> m_queued{ 0 };
    std::atomic<double> m_lastAnswer{ 0 };
    std::atomic<int> m_answers{ 0 };

private:
    void OnQueued(CString) { m_queued = NowMs(); }
    void OnAnswer(CString text)
    {
        m_lastAnswer = NowMs();
        if (++m_answers >= m_expected || (!m_last.empty() && text.Mid(text.Find(':') + 1) == m_last.c_str()))
            SetEvent(m_answered);
    }

    CDeviceManager& m_manager;
    int m_user;
    HANDLE m_answered;
    std::atomic<int> m_expected{ 1 };
    // Set before a send, read on the monitoring thread after it.
    std::string m_last;
};

// The main window's timer: each tick's start and end, and whether commands
// were waiting when it began.
struct TickRecord
{
    double start, end;
    bool pending;
};

CZymDoc* g_doc = nullptr;
std::vector<TickRecord> g_ticks;

LRESULT CALLBACK TimerWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_TIMER)
        return DefWindowProcA(window, message, wParam, lParam);
    TickRecord tick;
    tick.pending = !g_doc->GetAutomation().IsEmpty();
    tick.start = NowMs();
    g_doc->RunTick();
    tick.end = NowMs();
    g_ticks.push_back(tick);
    return 0;
}

// Keeps the message loop running until the answers arrived.
bool PumpUntil(HANDLE event)
{
    double until = NowMs() + kPatienceMs;
    while (NowMs() < until)
    {
        DWORD result = MsgWaitForMultipleObjects(1, &event, FALSE, 10, QS_ALLINPUT);
        if (result == WAIT_OBJECT_0)
            return true;
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
    }
    return false;
}

void Fill(CMusicLibrary& library, CPlayList& list)
{
    MsSrand(7);
    for (int a = 0; a < kAlbums; ++a)
    {
        AlbumRecord album = library.NewAlbum();
        album.SetIdText(library.MakeUniqueId());
        album.SetTrackCount(kTracksPerAlbum);
        album.SetTitle(kAlbumIndex, ("Album " + std::to_string(a)).c_str());
        album.SetArtist(kAlbumIndex, ("Band " + std::to_string(a % 500)).c_str());
        for (int t = 0; t < kTracksPerAlbum; ++t)
        {
            album.SetTitle(t, ("Song " + std::to_string(MsRand() % 5000)).c_str());
            album.SetPlayTime(t, 60 + MsRand() % 420);
        }
        album.SetPlayer(0);
        album.SetSlot(1 + a % 300);
        album.SetPresent(true);
        library.AppendAlbum(album);
        if (a % (kAlbums / kListEntries) == 0)
            list.AddItem(CLibItem(album.GetIdText(), a % kTracksPerAlbum));
    }
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double Worst(const std::vector<double>& values)
{
    return *std::max_element(values.begin(), values.end());
}

// The tick that ran a command queued at that time: the first one that found
// it waiting. Ticks started after it was queued but before that one missed it.
const TickRecord* RunningTick(double queued, size_t from, int& missed)
{
    missed = 0;
    for (size_t i = from; i < g_ticks.size(); ++i)
    {
        if (g_ticks[i].pending && g_ticks[i].end > queued)
            return &g_ticks[i];
        if (g_ticks[i].start > queued)
            ++missed;
    }
    return nullptr;
}

// Each command goes with an echo after it, so that commands that answer
// nothing are timed alike: the times are those of the echo's answer.
void TimeCommand(CBenchClient& client, const std::string& command)
{
    const char kDone[] = "echo[done]";
    std::vector<double> total, delivery, wait, run, answer;
    int missedTicks = 0;
    for (int round = 0; round < kRounds; ++round)
    {
        size_t firstTick = g_ticks.size();
        client.ExpectAnswers(INT_MAX, kDone);
        double sent = NowMs();
        client.Send("zym:" + command + " zym:" + kDone);
        if (!PumpUntil(client.Answered()))
        {
            printf("%-32s no answer\n", command.c_str());
            return;
        }
        int missed = 0;
        const TickRecord* tick = RunningTick(client.m_queued, firstTick, missed);
        if (!tick)
            continue;
        missedTicks += missed;
        total.push_back(client.m_lastAnswer - sent);
        delivery.push_back(client.m_queued - sent);
        wait.push_back(std::max(0.0, tick->start - client.m_queued));
        run.push_back(tick->end - tick->start);
        answer.push_back(client.m_lastAnswer - tick->end);
    }
    printf("%-32s %7.1f %7.1f | %7.1f %7.1f | %7.1f %7.1f | %7.2f %7.2f | %7.1f %7.1f | %d\n", command.c_str(),
           Median(total), Worst(total), Median(delivery), Worst(delivery), Median(wait), Worst(wait), Median(run),
           Worst(run), Median(answer), Worst(answer), missedTicks);
}

void TimeBurst(CBenchClient& client)
{
    std::string text;
    for (int i = 0; i < kBurst; ++i)
        text += "zym:echo[" + std::to_string(i) + "] ";
    size_t firstTick = g_ticks.size();
    client.ExpectAnswers(kBurst);
    double sent = NowMs();
    client.Send(text);
    if (!PumpUntil(client.Answered()))
    {
        printf("burst: %d of %d answers\n", int(client.m_answers), kBurst);
        return;
    }
    int ticks = 0;
    for (size_t i = firstTick; i < g_ticks.size(); ++i)
        ticks += g_ticks[i].pending;
    printf("burst of %d echo commands in one send: last queued after %.1f ms, last answer after %.1f ms, "
           "run by %d ticks\n",
           kBurst, client.m_queued - sent, client.m_lastAnswer - sent, ticks);
}

} // namespace

int main()
{
    CBenchApp app(kRegistryKey);
    app.WriteProfileInt("Options", "Enable MP3", 0);
    // No port is searched; the monitoring thread that carries the texts runs.
    app.WriteProfileInt("Options", "Auto Locate Tavlins", 1);
    CBenchFrame frame;
    CZymDoc* doc = &frame.OpenDocument();
    doc->RunTick();
    Fill(doc->GetMusicLibrary(), *doc->GetPlayList());
    g_doc = doc;
    CBenchClient client(*doc->GetDeviceManager());

    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = TimerWindow;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "ZymCommandBench";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowA("ZymCommandBench", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, windowClass.hInstance,
                                nullptr);
    SetTimer(window, 1, kTickMs, nullptr);

    AlbumRecord album;
    doc->GetMusicLibrary().GetAlbumAt(kAlbums / 2, album);
    printf("%d albums, %d play-list entries, tick every %u ms; %d rounds each; ms, median and worst\n", kAlbums,
           kListEntries, kTickMs, kRounds);
    printf("%-32s %15s | %15s | %15s | %15s | %15s | %s\n", "command", "send to answer", "to the queue",
           "wait for tick", "tick with it", "answer back", "ticks missed");
    const std::string commands[] = {
        "echo[ping]",
        "getstate",
        "playlist_size",
        "playlist_getitem[100]",
        "playlist_insert[top," + std::string(album.GetIdText()) + ",1]",
        "search[artist = 17]",
        "search[artist = band]",
        "searchlist_size",
        "nosuchword",
    };
    for (const std::string& command : commands)
        TimeCommand(client, command);
    TimeBurst(client);

    KillTimer(window, 1);
    DestroyWindow(window);
    frame.CloseDocument();
    return 0;
}
