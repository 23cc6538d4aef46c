// The options sheet as "&View/&Options..." runs it: every option set through
// its control reaches the profile on OK through exactly one apply request,
// and the next sheet shows it; refused input keeps the sheet open and saves
// nothing; Cancel keeps nothing; the sheet opens on the page left last.
#include "shell/options/tests/OptionsFixture.h"

#include "tests/support/MessageBoxScript.h"

namespace {

enum Kind
{
    kCheck,      // value "1" or "0"
    kText,       // an edit's text
    kChoice,     // a list's item index
    kTypedText,  // a drop-down's typed text
    kSpin,       // a spin's position
};

struct OptionRow
{
    int page;
    Kind kind;
    int id;
    std::string value;
    const char* name;
    std::string stored;
    // What the next sheet shows, where it differs from the value set.
    const char* shown;
};

// Every option a page edits, each away from its default.
const OptionRow kRows[] = {
    { 0, kCheck, IDC_CDDB_PROMPT_INEXACT, "1", "Prompt Inexact", "1", nullptr },
    { 0, kCheck, IDC_CDDB_USE_INTERNET, "0", "Use Internet", "0", nullptr },
    { 0, kText, IDC_CDDB_EMAIL, "me@home.example", "User Email", "me@home.example", nullptr },
    { 0, kText, IDC_CDDB_SERVER, "discs.example", "CDDB Server", "discs.example", nullptr },
    { 0, kCheck, IDC_CDDB_USE_CD_TEXT, "1", "Use CD-Text", "1", nullptr },
    { 0, kCheck, IDC_CDDB_USE_PROXY, "1", "Use HTTP Proxy", "1", nullptr },
    { 0, kCheck, IDC_CDDB_USE_CDDB2, "0", "Use CDDB2", "0", nullptr },
    { 0, kText, IDC_CDDB_PROXY_HOST, "proxy.example", "Proxy Host", "proxy.example", nullptr },
    { 0, kText, IDC_CDDB_PROXY_PASSWORD, "secret", "Proxy Password", "secret", nullptr },
    { 0, kText, IDC_CDDB_PROXY_PORT, "3128", "Proxy Port", "3128", nullptr },
    { 0, kText, IDC_CDDB_PROXY_USERNAME, "me", "Proxy Username", "me", nullptr },
    { 1, kCheck, IDC_LIB_TRACK_PLAYERS, "0", "Track Players", "0", nullptr },
    { 1, kCheck, IDC_LIB_STRETCH_IMAGES, "1", "Stretch Images", "1", nullptr },
    { 1, kCheck, IDC_LIB_KEEP_ASPECT, "0", "Keep Aspect", "0", nullptr },
    { 1, kCheck, IDC_LIB_AUTO_SAVE, "0", "Auto Save DB X", "0", nullptr },
    { 1, kText, IDC_LIB_AUTO_SAVE_INTERVAL, "60", "Auto Save Interval", "60", nullptr },
    { 1, kCheck, IDC_LIB_AUTO_SEARCH, "1", "Auto Search Discs X", "1", nullptr },
    { 1, kText, IDC_LIB_AUTO_SEARCH_INTERVAL, "2000", "Auto Search Interval", "2000", nullptr },
    { 1, kCheck, IDC_LIB_HIDE_DISCS, "1", "Hide Discs", "1", nullptr },
    { 1, kCheck, IDC_LIB_DISABLE_EDITING, "1", "Disable Editing", "1", nullptr },
    { 1, kChoice, IDC_LIB_DOUBLE_CLICK, "2", "Double Click Play Option", "2", nullptr },
    { 1, kCheck, IDC_LIB_MAKE_IMAGE_COPY, "0", "Make Image Copy", "0", nullptr },
    { 1, kCheck, IDC_LIB_TRACK_PLAYTIME, "1", "Track Playtime", "1", nullptr },
    { 2, kCheck, IDC_PL_ALTERNATE, "0", "Alternate Players", "0", nullptr },
    { 2, kText, IDC_PL_FILL_SIZE, "12", "Playlist Fill Size", "12", nullptr },
    { 2, kText, IDC_PL_TAIL_SIZE, "0", "Playlist Tail Size", "0", nullptr },
    { 2, kText, IDC_PL_MINIMUM_TIME, "1000", "Minimum Track Time", "1000", nullptr },
    { 2, kCheck, IDC_PL_SAVE_RESTORE, "0", "Playlist Save and Restore", "0", nullptr },
    { 3, kCheck, IDC_TAV_AUTO_LOCATE, "0", "Auto Locate Tavlins", "0", nullptr },
    { 3, kCheck, IDC_TAV_IR_RECEIVER, "0", "Enable Tavlin IR receiver", "0", nullptr },
    { 3, kCheck, IDC_TAV_LOGGING, "1", "Enable Tavlin Activity Logging", "1", nullptr },
    { 3, kText, IDC_TAV_LOG_FILE, "D:\\Logs\\units.txt", "Log File Name", "D:\\Logs\\units.txt", nullptr },
    // The COM boxes make one mask: COM2 and COM5 off.
    { 3, kCheck, IDC_TAV_COM2, "0", "COM Ports to Check", "237", nullptr },
    { 3, kCheck, IDC_TAV_COM5, "0", "COM Ports to Check", "237", nullptr },
    { 3, kChoice, IDC_TAV_BAUD, "0", "Minimum Baud Rate", "19200", nullptr },
    { 3, kChoice, IDC_TAV_IR_SAMPLE, "1", "IR Sample Rate", "200", nullptr },
    { 3, kChoice, IDC_TAV_IR_TIMEOUT, "3", "IR Timeout Period", "100", nullptr },
    { 3, kCheck, IDC_TAV_PING, "1", "Ping Tavlin", "1", nullptr },
    { 3, kCheck, IDC_TAV_USE_SERVER, "1", "Use TavlinX", "1", nullptr },
    { 4, kCheck, IDC_PLY_AUTO_LOCATE, "0", "Auto Locate Players", "0", nullptr },
    { 4, kCheck, IDC_PLY_TURN_OFF, "1", "Turn Off Players On Exit", "1", nullptr },
    { 4, kCheck, IDC_PLY_GROUP_NAMES, "1", "Download Group Names", "1", nullptr },
    { 4, kCheck, IDC_PLY_SKIPPING, "1", "Detect Skipping Discs", "1", nullptr },
    // Written, but every load turns polling on again.
    { 4, kCheck, IDC_PLY_POLL, "0", "Poll Player Status", "0", "1" },
    { 4, kCheck, IDC_PLY_ENABLE_MP3, "0", "Enable MP3", "0", nullptr },
    { 4, kText, IDC_PLY_FINISH_TWEAK, "-5", "Track Finish Tweek", "-5", nullptr },
    { 4, kChoice, IDC_PLY_PRE_QUEUE, "0", "Pre-Queue Mode", "0", nullptr },
    { 4, kTypedText, IDC_PLY_MP3_OUTPUT, "/dev/dsound/2", "MP3 Output Name", "/dev/dsound/2", nullptr },
    { 4, kSpin, IDC_PLY_FADE_DOWN_SPIN, "7", "Fade Down Time", "7", nullptr },
    { 4, kSpin, IDC_PLY_FADE_UP_SPIN, "30", "Fade Up Time", "30", nullptr },
    // The overlap spin runs from 0 (-30 s) to 60 (+30 s).
    { 4, kSpin, IDC_PLY_OVERLAP_SPIN, "0", "Fade Overlap Time", "-30", nullptr },
    { 6, kText, IDC_MAP_FILE, "D:\\Maps\\events.txt", "Map File", "D:\\Maps\\events.txt", nullptr },
    { 7, kCheck, IDC_APP_ANIMATE_ICON, "0", "Animate Icon", "0", nullptr },
    { 7, kCheck, IDC_APP_BANNERS, "0", "Helper Banners", "0", nullptr },
    { 7, kCheck, IDC_APP_COLOR_BY_PLAYER, "0", "Color Text By Player", "0", nullptr },
    { 8, kText, IDC_FILES_PLAYLISTS, "D:\\Lists", "Playlist Directory", "D:\\Lists", nullptr },
    { 8, kText, IDC_FILES_COVERS, "D:\\Covers", "Image Directory", "D:\\Covers", nullptr },
    { 8, kText, IDC_FILES_DEVICE_FILES, "D:\\Devices", "Device File Directory", "D:\\Devices", nullptr },
    { 8, kText, IDC_FILES_LIBRARY, "D:\\music.mdb", "New DB Path", "D:\\music.mdb", nullptr },
    { 8, kText, IDC_FILES_DEFAULT_IMAGE, "D:\\none.png", "Default Image", "D:\\none.png", nullptr },
    { 8, kText, IDC_FILES_MUSIC_FILES, "D:\\Music", "Music File Directory", "D:\\Music", nullptr },
};

void Set(const OptionRow& row)
{
    switch (row.kind)
    {
    case kCheck:
        OptionsTest::Click(row.id);
        break;
    case kText:
    case kTypedText:
        OptionsTest::SetText(row.id, row.value);
        break;
    case kChoice:
        OptionsTest::Choose(row.id, std::stoi(row.value));
        break;
    case kSpin:
        SendMessageA(OptionsTest::Item(row.id), UDM_SETPOS32, 0, std::stoi(row.value));
        break;
    }
}

std::string Shown(const OptionRow& row)
{
    switch (row.kind)
    {
    case kCheck:
        return OptionsTest::Checked(row.id) ? "1" : "0";
    case kText:
    case kTypedText:
        return OptionsTest::Text(row.id);
    case kChoice:
        return std::to_string(OptionsTest::Chosen(row.id));
    case kSpin:
        return std::to_string((int)SendMessageA(OptionsTest::Item(row.id), UDM_GETPOS32, 0, 0));
    }
    return "";
}

TEST_F(OptionsTest, EveryOptionGoesThroughItsControlToTheProfileAndBack)
{
    for (int page = 0; page < COptionsSheet::kPageCount; ++page)
    {
        m_steps.Then([page] { ShowPage(page); });
        for (const OptionRow& row : kRows)
        {
            if (row.page == page)
                m_steps.Then([&row] { Set(row); });
        }
    }
    m_steps.Then([] { PressOK(); });
    EXPECT_EQ(IDOK, RunSheet());
    EXPECT_EQ(Calls{ "WM_USER+5" }, m_main.requests);
    for (const OptionRow& row : kRows)
        EXPECT_EQ(row.stored, Stored(row.name)) << row.name;

    NewOptions();
    m_main.requests.clear();
    CStepDriver next;
    next.Wait([] { return Sheet() != NULL; });
    for (int page = 0; page < COptionsSheet::kPageCount; ++page)
    {
        next.Then([page] { ShowPage(page); });
        for (const OptionRow& row : kRows)
        {
            if (row.page == page)
                next.Then([&row] { EXPECT_EQ(row.shown ? row.shown : row.value, Shown(row)) << row.name; });
        }
    }
    next.Then([] { PressCancel(); });
    next.Start();
    EXPECT_EQ(IDCANCEL, RunOptionsSheet(*m_options, m_host, kTitle));
    EXPECT_TRUE(next.Finished());
    EXPECT_TRUE(m_main.requests.empty());
}

// The sheet opens on the page left at OK or Cancel. Opened on page 4, OK
// still makes one apply request, after page 4's data was taken.
TEST_F(OptionsTest, TheNextSheetOpensOnThePageLeft)
{
    int pingAtApply = -1;
    m_main.onApply = [&] { pingAtApply = m_options->m_page4.m_pingTavlin; };
    m_steps.Then([] { ShowPage(3); });
    m_steps.Then([] { PressCancel(); });
    EXPECT_EQ(IDCANCEL, RunSheet());
    EXPECT_EQ(3, m_options->m_startPage);

    CStepDriver next;
    int opened = -1;
    next.Wait([] { return Sheet() != NULL; });
    next.Then([&] { opened = PageIndex(); });
    next.Then([] { Click(IDC_TAV_PING); });
    next.Then([] { PressOK(); });
    next.Start();
    EXPECT_EQ(IDOK, RunOptionsSheet(*m_options, m_host, kTitle));
    EXPECT_EQ(3, opened);
    EXPECT_EQ(Calls{ "WM_USER+5" }, m_main.requests);
    EXPECT_EQ(1, pingAtApply);
    EXPECT_EQ("1", Stored("Ping Tavlin"));
    EXPECT_EQ(3, m_options->m_startPage);
}

TEST_F(OptionsTest, CancelKeepsNothingTheUserChanged)
{
    m_steps.Then([] { ShowPage(1); });
    m_steps.Then([] { SetText(IDC_LIB_AUTO_SAVE_INTERVAL, "33"); });
    m_steps.Then([] { ShowPage(4); });
    m_steps.Then([] { SendMessageA(Item(IDC_PLY_FADE_DOWN_SPIN), UDM_SETPOS32, 0, 9); });
    m_steps.Then([] { ShowPage(0); });
    m_steps.Then([] { PressCancel(); });
    EXPECT_EQ(IDCANCEL, RunSheet());
    EXPECT_TRUE(m_main.requests.empty());
    EXPECT_EQ(1, m_options->m_page2.m_autoSaveInterval);
    EXPECT_EQ(0, m_options->m_page5.m_fadeDownTime);
    EXPECT_EQ("<absent>", Stored("Auto Save Interval"));
}

// Numbers outside their range, or no numbers at all, get the data exchange's
// box; the sheet stays open and nothing is applied or saved.
TEST_F(OptionsTest, RefusedNumbersKeepTheSheetOpen)
{
    const struct
    {
        int page;
        int id;
        const char* text;
        const char* box;
    } cases[] = {
        { 1, IDC_LIB_AUTO_SAVE_INTERVAL, "0", "Please enter an integer between 1 and 60." },
        { 1, IDC_LIB_AUTO_SEARCH_INTERVAL, "2001", "Please enter an integer between 0 and 2000." },
        { 1, IDC_LIB_AUTO_SEARCH_INTERVAL, "ten", "Please enter an integer." },
        { 2, IDC_PL_FILL_SIZE, "-1", "Please enter an integer between 0 and 1000." },
        { 2, IDC_PL_TAIL_SIZE, "100000", "Please enter an integer between 0 and 1000." },
        { 2, IDC_PL_MINIMUM_TIME, "1001", "Please enter an integer between 0 and 1000." },
        { 4, IDC_PLY_FINISH_TWEAK, "6", "Please enter an integer between -5 and 5." },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.text);
        CMessageBoxScript boxes;
        boxes.Then(IDOK);
        CStepDriver steps;
        bool stayed = false;
        steps.Wait([] { return Sheet() != NULL; });
        steps.Then([&c] { ShowPage(c.page); });
        steps.Then([&c] { SetText(c.id, c.text); });
        steps.Then([] { PressOK(); });
        steps.Then([&] { stayed = Sheet() != NULL && PageIndex() == c.page; });
        steps.Then([&c] { SetText(c.id, "1"); });
        steps.Then([] { PressCancel(); });
        steps.Start();
        EXPECT_EQ(IDCANCEL, RunOptionsSheet(*m_options, m_host, kTitle));
        EXPECT_TRUE(steps.Finished());
        EXPECT_TRUE(stayed);
        ASSERT_EQ(1u, boxes.Shown().size());
        EXPECT_EQ(c.box, boxes.Shown()[0].text);
        EXPECT_TRUE(m_main.requests.empty());
        EXPECT_EQ("<absent>", Stored("Auto Save Interval"));
    }
}

// Stored values that no list item gives select nothing and stay as they
// were unless the user picks an item.
TEST_F(OptionsTest, ValuesOutsideTheListsStay)
{
    m_options->m_page4.m_minimumBaudRate = 9600;
    m_options->m_page4.m_irSamplePeriod = 0.0005;
    m_options->m_page2.m_doubleClickPlayOption = 7;
    int shown[3] = { 0, 0, 0 };
    m_steps.Then([] { ShowPage(3); });
    m_steps.Then([&] {
        shown[0] = Chosen(IDC_TAV_BAUD);
        shown[1] = Chosen(IDC_TAV_IR_SAMPLE);
    });
    m_steps.Then([] { ShowPage(1); });
    m_steps.Then([&] { shown[2] = Chosen(IDC_LIB_DOUBLE_CLICK); });
    m_steps.Then([] { PressOK(); });
    EXPECT_EQ(IDOK, RunSheet());
    EXPECT_EQ(-1, shown[0]);
    EXPECT_EQ(-1, shown[1]);
    EXPECT_EQ(-1, shown[2]);
    EXPECT_EQ("9600", Stored("Minimum Baud Rate"));
    EXPECT_EQ("500", Stored("IR Sample Rate"));
    EXPECT_EQ("7", Stored("Double Click Play Option"));
}

// No output name stored: the MP3 output box shows the wave mapper's item
// that it means, and a typed name is kept as typed.
TEST_F(OptionsTest, TheMp3OutputShowsTheDefaultForNoName)
{
    m_options->m_page5.m_mp3OutputName = "";
    std::string shown;
    m_steps.Then([] { ShowPage(4); });
    m_steps.Then([&] {
        shown = Text(IDC_PLY_MP3_OUTPUT);
        SetText(IDC_PLY_MP3_OUTPUT, "/dev/wave/2");
    });
    m_steps.Then([] { PressOK(); });
    EXPECT_EQ(IDOK, RunSheet());
    EXPECT_EQ("(default)", shown);
    EXPECT_EQ("/dev/wave/2", Stored("MP3 Output Name"));
}

TEST(OptionsListTest, ListItemsOfStoredValues)
{
    const struct
    {
        int baud;
        int index;
    } bauds[] = { { 19200, 0 }, { 38400, 1 }, { 9600, -1 }, { 115200, -1 }, { 0, -1 }, { -38400, -1 } };
    for (const auto& b : bauds)
        EXPECT_EQ(b.index, CTavlinPage::BaudIndex(b.baud)) << b.baud;
    const struct
    {
        double seconds;
        int sample;
        int timeout;
    } periods[] = {
        { 0.0001, 0, -1 }, { 0.0002, 1, -1 }, { 0.0005, -1, -1 }, { 0.025, -1, 0 },
        { 0.05, -1, 1 },   { 0.075, -1, 2 },  { 0.1, -1, 3 },     { 0.06, -1, -1 },
    };
    for (const auto& p : periods)
    {
        EXPECT_EQ(p.sample, CTavlinPage::SamplePeriodIndex(p.seconds)) << p.seconds;
        EXPECT_EQ(p.timeout, CTavlinPage::TimeoutIndex(p.seconds)) << p.seconds;
    }
}

} // namespace

namespace {

// Damaged stored values open and save without harm: a font that does not
// read keeps the system's, a device line cut short keeps what it has.
TEST_F(OptionsTest, DamagedValuesOpenAndSave)
{
    m_app.WriteProfileString("Options", "List Font", "12,abc,,Arial");
    m_app.WriteProfileString("Options", "Devices", "devname=\"Amp devfile=\"amp.cde\" devnum=x\n\n=\"\n");
    m_options.reset(new CZymOptions(kFolder));
    m_main.options = m_options.get();
    m_host.colors = &m_options->m_page8;
    std::vector<std::string> names;
    m_steps.Then([] { ShowPage(5); });
    m_steps.Then([&] {
        HWND list = Item(IDC_DEV_LIST);
        int count = (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
        for (int row = 0; row < count; ++row)
        {
            char text[256] = "";
            ListView_GetItemText(list, row, 0, text, sizeof text);
            names.push_back(text);
        }
    });
    m_steps.Then([] { ShowPage(7); });
    m_steps.Then([] { PressOK(); });
    EXPECT_EQ(IDOK, RunSheet());
    EXPECT_EQ((std::vector<std::string>{ "Amp devfile=", "" }), names);
    LOGFONTA system = {};
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof system, &system);
    EXPECT_STREQ(system.lfFaceName, m_options->m_page8.m_listFont.lfFaceName);
    EXPECT_EQ(Calls{ "WM_USER+5" }, m_main.requests);
}

} // namespace
