// The learner's dialog driven by posted messages, over the device server that
// COM starts, with a unit whose IR output faces its receiver: captures become
// the current code, Try goes out and its own echo is not learned, device
// files load, convert and save byte for byte, and unsaved work is asked about.
#include "tests/support/TestFramework.h"
#include "tests/support/Waits.h"

#include <commctrl.h>
#include <shlobj.h>

#include <functional>
#include <string>
#include <vector>

#include "irteach/IrteachDlg.h"
#include "irteach/tests/IrteachServer.h"
#include "devices/port/LowLevelText.h"
#include "tests/support/MessageBoxScript.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestData.h"
#include "irteach/resource.h"

namespace {

const double kSamplePeriod = 0.0001;   // the unit's first setting: 100 us
const time_t kFirstTry = 1000000;
const char kQuitQuestion[] =
    "You have unsaved work. Quitting now will cause you to lose these changes. Do you wish to continue?";
const char kClearQuestion[] =
    "You have unsaved work. Clearing device will cause you to lose these changes. Do you wish to continue?";
const char kLoadQuestion[] = "You have unsaved work. Loading a new device file will cause you to lose these "
                             "changes. Do you wish to continue?";

std::string Fixture(const char* name)
{
    return SourcePath(std::string("irteach/tests/data/") + name);
}

// Its clock reads `now` once, then `later`.
class CTestLearner : public CIrteachDlg
{
public:
    void SetClock(time_t now, time_t later)
    {
        m_readings = 0;
        m_now = now;
        m_later = later;
    }
    int Readings() const { return m_readings; }

protected:
    time_t Now() const override
    {
        ++m_readings;
        time_t now = m_now;
        m_now = m_later;
        return now;
    }

private:
    mutable int m_readings = 0;
    mutable time_t m_now = kFirstTry;
    time_t m_later = kFirstTry;
};

// Answers the next dialog that the learner opens over itself: reads it, fills
// it, then presses its OK button.
class COwnedDialogAnswer
{
public:
    COwnedDialogAnswer(HWND owner, std::function<void(HWND)> fill) : m_owner(owner), m_fill(fill)
    {
        m_thread = CreateThread(nullptr, 0, Main, this, 0, nullptr);
    }
    ~COwnedDialogAnswer()
    {
        WaitForSingleObject(m_thread, 20000);
        CloseHandle(m_thread);
    }
    bool Answered() const { return m_answered; }

private:
    static DWORD WINAPI Main(void* self)
    {
        static_cast<COwnedDialogAnswer*>(self)->Answer();
        return 0;
    }

    void Answer()
    {
        HWND dialog = nullptr;
        if (!WaitUntil([&] { return (dialog = OwnedDialog()) != nullptr; }, 10000))
            return;
        m_fill(dialog);
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), LPARAM(GetDlgItem(dialog, IDOK)));
        m_answered = true;
    }

    HWND OwnedDialog() const
    {
        HWND dialog = FindWindowExA(nullptr, nullptr, "#32770", nullptr);
        for (; dialog; dialog = FindWindowExA(nullptr, dialog, "#32770", nullptr)) {
            if (dialog != m_owner && GetWindow(dialog, GW_OWNER) == m_owner && IsWindowVisible(dialog))
                break;
        }
        return dialog;
    }

    HWND m_owner;
    std::function<void(HWND)> m_fill;
    HANDLE m_thread;
    volatile bool m_answered = false;
};

class IrteachDlgTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folder.IsValid());
        ASSERT_TRUE(m_dialog.Create(IDD_IRTEACH));
        m_dialog.ShowWindow(SW_SHOW);
        PumpMessages();
    }

    void TearDown() override
    {
        m_dialog.DestroyWindow();
        PumpMessages();
    }

    // Pumps until done, at most 10 s.
    static bool PumpUntil(const std::function<bool()>& done)
    {
        return WaitUntil(done, 10000, WhileWaiting::PumpMessages);
    }

    void Click(int id)
    {
        PostMessageA(m_dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), LPARAM(m_dialog.GetDlgItem(id)->m_hWnd));
        PumpMessages();
    }

    // Clicks a button whose file dialog is answered with the path.
    void ClickWithFile(int id, const std::string& path)
    {
        const int kFileNameCombo = 0x47c;
        COwnedDialogAnswer answer(m_dialog.m_hWnd,
                                  [&](HWND dialog) { SetDlgItemTextA(dialog, kFileNameCombo, path.c_str()); });
        Click(id);
        EXPECT_TRUE(answer.Answered());
    }

    void Drop(const std::string& path)
    {
        HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + path.size() + 2);
        DROPFILES* files = static_cast<DROPFILES*>(GlobalLock(memory));
        files->pFiles = sizeof(DROPFILES);
        memcpy(reinterpret_cast<char*>(files) + sizeof(DROPFILES), path.c_str(), path.size());
        GlobalUnlock(memory);
        PostMessageA(m_dialog.m_hWnd, WM_DROPFILES, WPARAM(memory), 0);
        PumpMessages();
    }

    std::string Field(int id)
    {
        char text[256] = "";
        GetDlgItemTextA(m_dialog.m_hWnd, id, text, sizeof text);
        return text;
    }

    std::vector<std::string> CodeNames()
    {
        std::vector<std::string> names;
        for (int i = 0; i < m_dialog.GetDevice().GetNumCodes(); ++i)
            names.push_back(static_cast<LPCSTR>(m_dialog.GetDevice().GetCode(i).name));
        return names;
    }

    std::string ListText(int row, int column)
    {
        char text[256] = "";
        LVITEMA item = {};
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendDlgItemMessageA(m_dialog.m_hWnd, IDC_CODE_LIST, LVM_GETITEMTEXTA, row, LPARAM(&item));
        return text;
    }

    // The unit hears a remote control; the learner's device gets its timings.
    void Capture(const std::vector<double>& durations)
    {
        LearnerUnit().Send(CTavlinSimulator::IRMessage(durations, kSamplePeriod, 0));
    }

    static void ExpectTimings(const std::vector<double>& expected, const CString& text)
    {
        std::vector<double> samples = ParseIRTimings(text);
        ASSERT_EQ(expected.size(), samples.size()) << text;
        for (size_t i = 0; i < samples.size(); ++i)
            EXPECT_NEAR(expected[i], samples[i], 1e6 * kSamplePeriod) << i << ": " << text;
    }

    CTempFolder m_folder{"irteachdlg"};
    CTestLearner m_dialog;
};

TEST_F(IrteachDlgTest, StartsWithANewDeviceAndOneNewCode)
{
    EXPECT_EQ(std::vector<std::string>{"new1"}, CodeNames());
    EXPECT_EQ(kIrTxOnlyMode, m_dialog.GetMode());
    EXPECT_EQ("40000", Field(IDC_CARRIER));
    EXPECT_EQ("-300000", Field(IDC_SLEEP));
    EXPECT_EQ("New Device File", Field(IDC_DESCRIPTION));
    EXPECT_EQ("new1", Field(IDC_CODE_NAME));
    EXPECT_EQ("new1", ListText(0, 0));
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(m_dialog.m_hWnd, IDC_TX_ONLY));
    // No samples yet: the scroll bar's page spans the whole range.
    SCROLLINFO info = {sizeof info, SIF_ALL};
    ASSERT_TRUE(GetScrollInfo(GetDlgItem(m_dialog.m_hWnd, IDC_WAVE_SCROLL), SB_CTL, &info));
    EXPECT_EQ(0, info.nPos);
    EXPECT_EQ(UINT(info.nMax - info.nMin + 1), info.nPage);
}

TEST_F(IrteachDlgTest, ACaptureBecomesTheCurrentCodeAndSavesIntoIt)
{
    const std::vector<double> signal = {9000, -4500, 600, -600, 600, -1700, 600};
    Capture(signal);
    ASSERT_TRUE(PumpUntil([&] { return !m_dialog.GetWaveform().GetTimings().IsEmpty(); }));
    ExpectTimings(signal, m_dialog.GetWaveform().GetTimings());
    EXPECT_FALSE(m_dialog.HasUnsavedWork());
    SetDlgItemTextA(m_dialog.m_hWnd, IDC_CODE_NAME, "Power");
    Click(IDC_SAVE_CODE);
    EXPECT_EQ(std::vector<std::string>{"power"}, CodeNames());
    EXPECT_STREQ(m_dialog.GetWaveform().GetTimings(), m_dialog.GetDevice().GetCode(0).data);
    EXPECT_EQ(std::string(m_dialog.GetWaveform().GetTimings()), ListText(0, 1));
    EXPECT_TRUE(m_dialog.HasUnsavedWork());
}

// The unit's receiver hears the Try itself: in the Try's second or the next
// the echo is not learned; later it would be.
TEST_F(IrteachDlgTest, TryGoesOutAndItsOwnEchoIsNotLearned)
{
    const std::vector<double> signal = {2000, -1000, 1000, -1000, 2000};
    const struct
    {
        int secondsAfterTry;
        bool learned;
    } cases[] = {{0, false}, {1, false}, {2, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.secondsAfterTry);
        time_t tried = kFirstTry + 100 * (c.secondsAfterTry + 1);
        // A code in a form the echo's text does not have, long after any Try.
        m_dialog.SetClock(tried - 50, tried - 50);
        m_dialog.OnReceive("lowlevel", "ir0[2000 -1000 1000 -1000 2000]");
        ASSERT_EQ("2000 -1000 1000 -1000 2000", std::string(m_dialog.GetWaveform().GetTimings()));
        LearnerUnit().ClearReceived();
        m_dialog.SetClock(tried, tried + c.secondsAfterTry);
        Click(IDC_TRY);
        // The Try's reading and the echo's.
        ASSERT_TRUE(PumpUntil([&] { return m_dialog.Readings() >= 2; }));
        std::vector<TavlinUnitMessage> sent = LearnerUnit().Messages();
        ASSERT_FALSE(sent.empty());
        EXPECT_EQ(4, sent.back().port);
        CString timings = m_dialog.GetWaveform().GetTimings();
        EXPECT_EQ(c.learned, timings != "2000 -1000 1000 -1000 2000") << timings;
        ExpectTimings(signal, timings);
    }
}

TEST_F(IrteachDlgTest, OnlyTheLowLevelDevicesIrTextsAreLearned)
{
    const struct
    {
        const char* device;
        const char* text;
        bool learned;
    } cases[] = {
        {"lowlevel", "ir0[100 -200]", true},
        {"lowlevel", "ir1[300 -400] sl0[01]", true},
        {"tv", "ir0[500 -600]", false},
        {"LowLevel", "ir0[500 -600]", false},
        {"lowlevel", "sl0[0101]", false},
        {"lowlevel", "ir[500 -600]", false},
        {"lowlevel", "ir0 500 -600", false},
        {"lowlevel", "ir0[500 -600", false},
        {"lowlevel", "ir0", false},
    };
    m_dialog.SetClock(kFirstTry, kFirstTry + 1000);
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.device) + ":" + c.text);
        m_dialog.OnReceive("lowlevel", "ir0[1]");
        m_dialog.OnReceive(c.device, c.text);
        std::string timings = static_cast<LPCSTR>(m_dialog.GetWaveform().GetTimings());
        EXPECT_EQ(c.learned, timings != "1") << timings;
    }
}

TEST_F(IrteachDlgTest, DeviceFilesLoadAndSaveByteForByte)
{
    const struct
    {
        const char* file;
        bool dropped;
        const char* saved;
        IrMode mode;
        std::vector<std::string> codes;
    } cases[] = {
        {"tv-irtxonly.cde", true, "tv-irtxonly.dialog.cde", kIrTxOnlyMode, {"power", "volume up"}},
        {"vcr-ir.cde", false, "vcr-ir.saved.cde", kIrMode, {"power", "mute"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        std::string path = WindowsPath(Fixture(c.file));
        if (c.dropped)
            Drop(path);
        else
            ClickWithFile(IDC_LOAD_DEVICE, path);
        EXPECT_EQ(c.codes, CodeNames());
        EXPECT_EQ(c.mode, m_dialog.GetMode());
        EXPECT_EQ(c.mode == kIrMode ? BST_CHECKED : BST_UNCHECKED, IsDlgButtonChecked(m_dialog.m_hWnd, IDC_TX_RX));
        char title[512] = "";
        m_dialog.GetWindowText(title, sizeof title);
        EXPECT_EQ("Irteach - " + path, title);
        EXPECT_EQ(c.codes[0], Field(IDC_CODE_NAME));
        EXPECT_FALSE(m_dialog.GetWaveform().GetTimings().IsEmpty());
        ClickWithFile(IDC_SAVE_DEVICE, m_folder.WindowsPath(c.saved));
        EXPECT_EQ(ReadBytes(Fixture(c.saved)), ReadBytes(m_folder.UnixPath(c.saved)));
        EXPECT_FALSE(m_dialog.HasUnsavedWork());
    }
}

// In IR mode a selected code shows as its digits expanded; the waveform
// decodes them back and names the code they match.
TEST_F(IrteachDlgTest, ASelectedCodeShowsItsWaveformWhichZoomsAndScrolls)
{
    Drop(WindowsPath(Fixture("vcr-ir.cde")));
    LVITEMA select = {};
    select.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    select.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendDlgItemMessageA(m_dialog.m_hWnd, IDC_CODE_LIST, LVM_SETITEMSTATE, 1, LPARAM(&select));
    PostMessageA(m_dialog.m_hWnd, WM_USER + 10, 0, 0);
    PumpMessages();
    EXPECT_EQ(1, m_dialog.GetCurrentCode());
    EXPECT_EQ("mute", Field(IDC_CODE_NAME));
    const CIrWaveform& wave = m_dialog.GetWaveform();
    EXPECT_STREQ("0010110011", wave.GetDigits());
    EXPECT_STREQ("mute", wave.GetMatchedName());
    EXPECT_EQ(0, wave.GetTimings().Find("9000 -4500"));

    HWND bar = GetDlgItem(m_dialog.m_hWnd, IDC_WAVE_SCROLL);
    const struct
    {
        const char* name;
        std::function<void()> act;
        double start;
        double end;
    } steps[] = {
        {"zoom in", [&] { Click(IDC_ZOOM_IN); }, 25000, 75000},
        {"pan right", [&] { Click(IDC_PAN_RIGHT); }, 35000, 85000},
        {"page left",
         [&] {
             PostMessageA(m_dialog.m_hWnd, WM_HSCROLL, SB_PAGELEFT, LPARAM(bar));
             PumpMessages();
         },
         0, 50000},
        {"zoom out", [&] { Click(IDC_ZOOM_OUT); }, 0, 100000},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.name);
        s.act();
        EXPECT_DOUBLE_EQ(s.start, wave.GetStart());
        EXPECT_DOUBLE_EQ(s.end, wave.GetEnd());
        SCROLLINFO info = {sizeof info, SIF_ALL};
        ASSERT_TRUE(GetScrollInfo(bar, SB_CTL, &info));
        EXPECT_EQ(UINT(wave.ScrollPage()), info.nPage);
        EXPECT_EQ(wave.ScrollPosition(), info.nPos);
    }
}

TEST_F(IrteachDlgTest, ImportSettingsTakesTheTimingsOfAnIrFileOnly)
{
    CMessageBoxScript boxes;
    ClickWithFile(IDC_IMPORT_SETTINGS, WindowsPath(Fixture("tv-irtxonly.cde")));
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ("Only the IR type device files contain timing information which can be imported", boxes.Shown()[0].text);
    EXPECT_EQ("40000", Field(IDC_CARRIER));
    ClickWithFile(IDC_IMPORT_SETTINGS, WindowsPath(Fixture("vcr-ir.cde")));
    EXPECT_EQ(1u, boxes.Shown().size());
    const struct
    {
        int id;
        const char* text;
    } fields[] = {
        {IDC_CARRIER, "38000"}, {IDC_SLEEP, "-60000"},   {IDC_ONE, "560 -1690"}, {IDC_ZERO, "560 -560"},
        {IDC_START, "9000 -4500"}, {IDC_STOP, "560 -20000"}, {IDC_PAUSE, "-40000"}, {IDC_REPEAT, "1"},
    };
    for (const auto& f : fields)
        EXPECT_EQ(f.text, Field(f.id)) << f.id;
    EXPECT_STREQ("560 -1690", m_dialog.GetDevice().GetTiming(CDevice::kOne));
    EXPECT_EQ(std::vector<std::string>{"new1"}, CodeNames());
}

// A file that cannot be edited leaves the device as it was, with the reason.
TEST_F(IrteachDlgTest, FilesThatCannotBeEditedAreRefusedWithTheirReason)
{
    const struct
    {
        const char* file;
        const char* reason;
    } cases[] = {
        {"lowlevel.cde", "Only the IRTXONLY and IR device file types are currently supported by this program"},
        {"shopping.txt", "Error loading device: improper / no device type specified"},
    };
    Drop(WindowsPath(Fixture("vcr-ir.cde")));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        CMessageBoxScript boxes;
        Drop(WindowsPath(Fixture(c.file)));
        std::vector<ShownMessageBox> shown = boxes.Shown();
        ASSERT_EQ(1u, shown.size());
        EXPECT_EQ(0u, shown[0].text.find(c.reason)) << shown[0].text;
        EXPECT_EQ((std::vector<std::string>{"power", "mute"}), CodeNames());
        EXPECT_EQ("ir", m_dialog.GetDevice().GetType());
        EXPECT_EQ(kIrMode, m_dialog.GetMode());
    }
}

TEST_F(IrteachDlgTest, ModeButtonsConvertTheCodesWhenTheUserAgrees)
{
    Drop(WindowsPath(Fixture("vcr-ir.cde")));
    const struct
    {
        int button;
        int answer;
        const char* question;
        IrMode mode;
        const char* type;
        const char* firstCode;   // its start, for raw timings
    } steps[] = {
        {IDC_TX_ONLY, IDNO, "Converting a IR device file to the IRTXONLY type", kIrMode, "ir", "0010010111"},
        {IDC_TX_ONLY, IDYES, "Converting a IR device file to the IRTXONLY type", kIrTxOnlyMode, "irtxonly",
         "9000 -4500  560 -560 560 -560 560 -1690"},
        {IDC_TX_RX, IDNO, "Converting a IRTXONLY device file to the IR type", kIrTxOnlyMode, "irtxonly",
         "9000 -4500  560 -560"},
        {IDC_TX_RX, IDYES, "Converting a IRTXONLY device file to the IR type", kIrMode, "ir", "0010010111"},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.question + std::string(s.answer == IDYES ? " yes" : " no"));
        CMessageBoxScript boxes;
        boxes.Then(s.answer);
        Click(s.button);
        std::vector<ShownMessageBox> shown = boxes.Shown();
        ASSERT_EQ(1u, shown.size());
        EXPECT_EQ(0u, shown[0].text.find(s.question)) << shown[0].text;
        EXPECT_EQ(s.mode, m_dialog.GetMode());
        EXPECT_EQ(s.type, m_dialog.GetDevice().GetType());
        EXPECT_EQ(0, m_dialog.GetDevice().GetCode(0).data.Find(s.firstCode)) << m_dialog.GetDevice().GetCode(0).data;
        EXPECT_EQ(std::string(m_dialog.GetDevice().GetCode(0).data), ListText(0, 1));
    }
}

TEST_F(IrteachDlgTest, ConversionToIrWithoutOneAndZeroIsRefused)
{
    CMessageBoxScript boxes;
    Click(IDC_TX_RX);
    std::vector<ShownMessageBox> shown = boxes.Shown();
    ASSERT_EQ(1u, shown.size());
    EXPECT_EQ("Conversion for IRTXONLY to IR is not possible because required timing definitions have not been made",
              shown[0].text);
    EXPECT_EQ(kIrTxOnlyMode, m_dialog.GetMode());
    EXPECT_EQ("irtxonly", m_dialog.GetDevice().GetType());
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(m_dialog.m_hWnd, IDC_TX_ONLY));
}

TEST_F(IrteachDlgTest, DeletingTheLastCodeLeavesANewOne)
{
    Click(IDC_NEW_CODE);
    EXPECT_EQ((std::vector<std::string>{"new1", "new2"}), CodeNames());
    HWND list = GetDlgItem(m_dialog.m_hWnd, IDC_CODE_LIST);
    for (const std::vector<std::string>& left : {std::vector<std::string>{"new1"}, std::vector<std::string>{"new3"}}) {
        PostMessageA(list, WM_KEYDOWN, VK_DELETE, 0);
        PumpMessages();
        EXPECT_EQ(left, CodeNames());
        EXPECT_EQ(0, m_dialog.GetCurrentCode());
        EXPECT_EQ(left[0], ListText(0, 0));
    }
}

TEST_F(IrteachDlgTest, SystemMenuCommandsSixteenToThirtyOneOpenTheAboutBox)
{
    HMENU menu = GetSystemMenu(m_dialog.m_hWnd, FALSE);
    int last = GetMenuItemCount(menu) - 1;
    char item[64] = "";
    GetMenuStringA(menu, last, item, sizeof item, MF_BYPOSITION);
    EXPECT_STREQ("&About Irteach...", item);
    EXPECT_EQ(UINT(IDM_ABOUTBOX), GetMenuItemID(menu, last));
    for (WPARAM command : {WPARAM(16), WPARAM(31)}) {
        SCOPED_TRACE(command);
        std::string caption;
        std::string version;
        {
            COwnedDialogAnswer answer(m_dialog.m_hWnd, [&](HWND about) {
                char text[128] = "";
                GetWindowTextA(about, text, sizeof text);
                caption = text;
                GetDlgItemTextA(about, 1020, text, sizeof text);
                version = text;
            });
            PostMessageA(m_dialog.m_hWnd, WM_SYSCOMMAND, command, 0);
            PumpMessages();
        }
        EXPECT_EQ("About Irteach", caption);
        EXPECT_EQ(0u, version.find("Version ")) << version;
    }
}

// A cleared device is a new one: a gap after every code, not a carrier burst.
TEST_F(IrteachDlgTest, ClearingGivesANewDeviceWithTheGapAfterItsCodes)
{
    Drop(WindowsPath(Fixture("vcr-ir.cde")));
    Click(IDC_CLEAR_DEVICE);
    EXPECT_EQ("-300000", Field(IDC_SLEEP));
    EXPECT_STREQ("-300000", m_dialog.GetDevice().GetTiming(CDevice::kSleep));
    EXPECT_EQ("40000", Field(IDC_CARRIER));
    EXPECT_EQ("New Device File", Field(IDC_DESCRIPTION));
    EXPECT_EQ("irtxonly", m_dialog.GetDevice().GetType());
    EXPECT_EQ(kIrTxOnlyMode, m_dialog.GetMode());
    EXPECT_EQ(std::vector<std::string>{"new2"}, CodeNames());
    EXPECT_EQ(0, m_dialog.GetCurrentCode());
    char title[512] = "";
    m_dialog.GetWindowText(title, sizeof title);
    EXPECT_STREQ("Irteach - Device File Generator", title);
}

TEST_F(IrteachDlgTest, UnsavedWorkIsAskedAboutBeforeItIsLost)
{
    const struct
    {
        const char* name;
        std::function<void()> act;
        const char* question;
        int answer;
        std::vector<std::string> codes;   // afterwards
        bool shown;
    } cases[] = {
        {"clear, no", [&] { Click(IDC_CLEAR_DEVICE); }, kClearQuestion, IDNO, {"kept"}, true},
        {"clear, yes", [&] { Click(IDC_CLEAR_DEVICE); }, kClearQuestion, IDYES, {"new2"}, true},
        {"drop, no", [&] { Drop(WindowsPath(Fixture("tv-irtxonly.cde"))); }, kLoadQuestion, IDNO, {"kept"}, true},
        {"drop, yes", [&] { Drop(WindowsPath(Fixture("tv-irtxonly.cde"))); }, kLoadQuestion, IDYES,
         {"power", "volume up"}, true},
        {"load, no", [&] { Click(IDC_LOAD_DEVICE); }, kLoadQuestion, IDNO, {"kept"}, true},
        {"close, no", [&] { PostMessageA(m_dialog.m_hWnd, WM_CLOSE, 0, 0); PumpMessages(); }, kQuitQuestion, IDNO,
         {"kept"}, true},
        {"close, yes", [&] { PostMessageA(m_dialog.m_hWnd, WM_CLOSE, 0, 0); PumpMessages(); }, kQuitQuestion,
         IDYES, {"kept"}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        m_dialog.ShowWindow(SW_SHOW);
        SetDlgItemTextA(m_dialog.m_hWnd, IDC_CODE_NAME, "kept");
        Click(IDC_SAVE_CODE);
        ASSERT_TRUE(m_dialog.HasUnsavedWork());
        std::vector<std::string> before = CodeNames();
        CMessageBoxScript boxes;
        boxes.Then(c.answer);
        c.act();
        std::vector<ShownMessageBox> shown = boxes.Shown();
        ASSERT_EQ(1u, shown.size());
        EXPECT_EQ(c.question, shown[0].text);
        EXPECT_EQ(UINT(MB_YESNO), shown[0].type & MB_TYPEMASK);
        EXPECT_EQ(c.codes, CodeNames());
        EXPECT_EQ(c.shown, m_dialog.IsWindowVisible() != FALSE);
        // Back to one code for the next case.
        if (CodeNames().size() > 1) {
            Click(IDC_CLEAR_DEVICE);
        }
    }
}

} // namespace
