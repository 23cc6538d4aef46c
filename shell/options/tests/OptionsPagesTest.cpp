// The pages' own behaviour: which controls serve which disc-database road,
// the fade spins' snapping and labels and the diagram's place, the device
// list and what its buttons ask of the document, the map page's own map, and
// the appearance page's colours.
#include "shell/options/tests/DeviceListSteps.h"
#include "shell/options/tests/OptionsFixture.h"

#include "shell/options/DeviceEditDlg.h"
#include "tests/support/MessageBoxScript.h"
#include "core/doc/OpenLink.h"
#include "tests/support/CddbTestServer.h"
#include "tests/support/TempFolder.h"

#include <fstream>

namespace {

TEST_F(OptionsTest, UseCddb2SwitchesTheControlsOfEachRoad)
{
    const int controlRoad[] = { IDC_CDDB_REGISTER, IDC_CDDB_PROXY_USERNAME, IDC_CDDB_PROXY_PASSWORD };
    const int httpRoad[] = { IDC_CDDB_SERVER, IDC_CDDB_LOCATE, IDC_CDDB_EMAIL };
    auto expectRoad = [&](bool control) {
        SCOPED_TRACE(control ? "control road" : "HTTP road");
        for (int id : controlRoad)
            EXPECT_EQ(control, Enabled(id)) << id;
        for (int id : httpRoad)
            EXPECT_EQ(!control, Enabled(id)) << id;
    };
    m_steps.Then([&] { expectRoad(true); });
    m_steps.Then([] { Click(IDC_CDDB_USE_CDDB2); });
    m_steps.Then([&] { expectRoad(false); });
    m_steps.Then([] { Click(IDC_CDDB_USE_CDDB2); });
    m_steps.Then([&] { expectRoad(true); });
    m_steps.Then([] { PressCancel(); });
    EXPECT_EQ(IDCANCEL, RunSheet());
}

// Each step sets a spin's position as a click would, then lets the page paint.
TEST_F(OptionsTest, FadesSnapToOffOrThreeSecondsAndOnlyTheOverlapSaysNone)
{
    const struct
    {
        int spin;
        int position;
        int snapped;
        int label;
        const char* text;
    } steps[] = {
        { IDC_PLY_FADE_DOWN_SPIN, 1, 3, IDC_PLY_FADE_DOWN_LABEL, "3 sec" },
        { IDC_PLY_FADE_DOWN_SPIN, 2, 0, IDC_PLY_FADE_DOWN_LABEL, "0 sec" },
        { IDC_PLY_FADE_DOWN_SPIN, 4, 4, IDC_PLY_FADE_DOWN_LABEL, "4 sec" },
        { IDC_PLY_FADE_UP_SPIN, 2, 3, IDC_PLY_FADE_UP_LABEL, "3 sec" },
        { IDC_PLY_FADE_UP_SPIN, 30, 30, IDC_PLY_FADE_UP_LABEL, "30 sec" },
        { IDC_PLY_OVERLAP_SPIN, 30, 30, IDC_PLY_OVERLAP_LABEL, "None" },
        { IDC_PLY_OVERLAP_SPIN, 35, 35, IDC_PLY_OVERLAP_LABEL, "5 sec" },
        { IDC_PLY_OVERLAP_SPIN, 1, 1, IDC_PLY_OVERLAP_LABEL, "-29 sec" },
    };
    m_steps.Then([] { ShowPage(4); });
    m_steps.Then([] {
        EXPECT_EQ("0 sec", Text(IDC_PLY_FADE_DOWN_LABEL));
        EXPECT_EQ("None", Text(IDC_PLY_OVERLAP_LABEL));
    });
    for (const auto& step : steps)
    {
        m_steps.Then([&step] {
            SendMessageA(Item(step.spin), UDM_SETPOS32, 0, step.position);
            InvalidateRect(Page(), NULL, FALSE);
            UpdateWindow(Page());
        });
        m_steps.Then([&step] {
            SCOPED_TRACE(step.position);
            EXPECT_EQ(step.snapped, (int)SendMessageA(Item(step.spin), UDM_GETPOS32, 0, 0));
            EXPECT_EQ(step.text, Text(step.label));
        });
    }
    m_steps.Then([] { PressOK(); });
    EXPECT_EQ(IDOK, RunSheet());
    EXPECT_EQ("4", Stored("Fade Down Time"));
    EXPECT_EQ("30", Stored("Fade Up Time"));
    EXPECT_EQ("-29", Stored("Fade Overlap Time"));
}

// The diagram's pens appear inside the rectangle of 1313 and nowhere else,
// and follow the spins.
TEST_F(OptionsTest, TheFadeDiagramStaysInItsPlace)
{
    const COLORREF green = 0x00FF00, blue = 0xFF0000;
    auto countColors = [](const CRect& inside, int& in, int& out, COLORREF color) {
        HWND page = Page();
        CRect client;
        GetClientRect(page, &client);
        HDC dc = GetDC(page);
        in = out = 0;
        for (int y = client.top; y < client.bottom; y += 1)
            for (int x = client.left; x < client.right; x += 1)
                if (GetPixel(dc, x, y) == color)
                    ++(inside.PtInRect(CPoint(x, y)) ? in : out);
        ReleaseDC(page, dc);
    };
    CRect area;
    int greenIn = 0, greenOut = 0, blueIn = 0, blueOut = 0, blueInLater = 0;
    m_steps.Then([] { ShowPage(4); });
    m_steps.Then([&] {
        GetWindowRect(Item(IDC_PLY_DIAGRAM), &area);
        MapWindowPoints(NULL, Page(), reinterpret_cast<POINT*>(&area), 2);
        UpdateWindow(Page());
        countColors(area, greenIn, greenOut, green);
        countColors(area, blueIn, blueOut, blue);
    });
    m_steps.Then([] {
        SendMessageA(Item(IDC_PLY_FADE_UP_SPIN), UDM_SETPOS32, 0, 30);
        SendMessageA(Item(IDC_PLY_OVERLAP_SPIN), UDM_SETPOS32, 0, 60);
        InvalidateRect(Page(), NULL, FALSE);
        UpdateWindow(Page());
    });
    m_steps.Then([&] {
        int out = 0;
        countColors(area, blueInLater, out, blue);
        EXPECT_EQ(0, out);
    });
    m_steps.Then([] { PressCancel(); });
    EXPECT_EQ(IDCANCEL, RunSheet());
    EXPECT_FALSE(area.IsRectEmpty());
    EXPECT_GT(greenIn, 0);
    EXPECT_GT(blueIn, 0);
    EXPECT_EQ(0, greenOut);
    EXPECT_EQ(0, blueOut);
    EXPECT_NE(blueIn, blueInLater);
}


TEST_F(OptionsTest, TheDeviceListShowsItsEntries)
{
    // Lines lacking "enabled=" or "devfile=" keep the new entry's values.
    m_options->m_page6.m_devices =
        ParseDeviceList("devname=\"Amp\" devfile=\"amp.cde\" devnum=1 tavlin=0 ports=33\n"
                        "devname=\"Tuner\" devnum=2 tavlin=1 ports=4095 enabled=1\n"
                        "devname=\"Lamp\" devfile=\"C:\\x10\\lamp.cde\" devnum=0 tavlin=0 ports=0 enabled=0\n");
    ASSERT_EQ(3u, m_options->m_page6.m_devices.size());
    m_options->m_page6.m_devices[0].status = DeviceEntry::kFailed;
    m_options->m_page6.m_devices[1].status = DeviceEntry::kDefined;
    m_options->m_page6.m_devices[2].status = DeviceEntry::kDefined;
    std::vector<ListRow> rows;
    m_steps.Then([] { ShowPage(5); });
    m_steps.Then([&] { rows = DeviceRows(); });
    m_steps.Then([] { PressCancel(); });
    EXPECT_EQ(IDCANCEL, RunSheet());
    const std::vector<ListRow> expected = {
        { "Amp", "amp.cde", "2", "1", "sl0 ir1 ", CDevicesPage::kImageFailed },
        { "Tuner", "", "3", "2", "sl0 sl1 sl2 sl3 ir0 ir1 ir2 ir3 ir4 ir5 ir6 ir7 ", CDevicesPage::kImageDefined },
        { "Lamp", "C:\\x10\\lamp.cde", "1", "1", "", CDevicesPage::kImageDisabled },
    };
    EXPECT_EQ(expected, rows);
}

// Add, Edit and Delete define and delete the devices at once, refresh the
// views with hint 5, and the list they leave is what OK saves.
TEST_F(OptionsTest, DeviceButtonsDefineAndDeleteAtOnce)
{
    m_host.units = 2;
    std::vector<ListRow> afterAdd, afterFailedAdd, afterEdit, afterDelete;
    m_steps.Then([] { ShowPage(5); });
    m_steps.Then([] { PostMessageA(Item(IDC_DEV_ADD), BM_CLICK, 0, 0); });
    m_steps.Wait(EditDevice("Amp", "amp.cde", 1, 1, { IDC_DEV_SL0 + 2 }));
    m_steps.Wait(EditClosed());
    m_steps.Then([&] {
        afterAdd = DeviceRows();
        m_host.addResult = FALSE;
    });
    m_steps.Then([] { PostMessageA(Item(IDC_DEV_ADD), BM_CLICK, 0, 0); });
    m_steps.Wait(EditDevice("Tuner", "D:\\Other\\tuner.cde", 0, 0, { IDC_DEV_IR0 + 7 }));
    m_steps.Wait(EditClosed());
    m_steps.Then([&] {
        afterFailedAdd = DeviceRows();
        m_host.addResult = TRUE;
        SelectDevice(0);
    });
    m_steps.Then([] { PostMessageA(Item(IDC_DEV_EDIT), BM_CLICK, 0, 0); });
    m_steps.Wait(EditDevice("Amplifier", "", 2, 0, {}));
    m_steps.Wait(EditClosed());
    m_steps.Then([&] {
        afterEdit = DeviceRows();
        SelectDevice(1);
    });
    m_steps.Then([] { PostMessageA(Item(IDC_DEV_DELETE), BM_CLICK, 0, 0); });
    m_steps.Then([&] { afterDelete = DeviceRows(); });
    m_steps.Then([] { PressOK(); });
    EXPECT_EQ(IDOK, RunSheet());

    const std::string folder = "C:\\Zym\\Device Files\\";
    EXPECT_EQ((Calls{ "add Amp " + folder + "amp.cde 1 1 4", "hint 5", "add Tuner D:\\Other\\tuner.cde 0 0 2048",
                      "hint 5", "delete Amp", "hint 5", "delete Tuner", "hint 5" }),
              m_host.calls);
    EXPECT_EQ((std::vector<ListRow>{ { "Amp", "amp.cde", "2", "2", "sl2 ", CDevicesPage::kImageDefined } }), afterAdd);
    ASSERT_EQ(2u, afterFailedAdd.size());
    EXPECT_EQ(CDevicesPage::kImageFailed, afterFailedAdd[1].image);
    EXPECT_EQ("ir7 ", afterFailedAdd[1].ports);
    ASSERT_EQ(2u, afterEdit.size());
    EXPECT_EQ((ListRow{ "Amplifier", "", "3", "1", "sl2 ", CDevicesPage::kImageDefined }), afterEdit[0]);
    EXPECT_EQ((std::vector<ListRow>{ afterEdit[0] }), afterDelete);
    EXPECT_EQ("devname=\"Amplifier\" devfile=\"\" devnum=2 tavlin=0 ports=4 enabled=1\n", Stored("Devices"));
}

// Without a selection Edit and Delete do nothing; the unit list offers the
// units the document knows, at least one.
TEST_F(OptionsTest, DeviceButtonsWithoutASelectionAndTheUnitList)
{
    m_options->m_page6.m_devices.push_back(DeviceEntry());
    int units = 0;
    m_steps.Then([] { ShowPage(5); });
    m_steps.Then([] {
        LVITEMA none = {};
        none.stateMask = LVIS_SELECTED;
        SendMessageA(Item(IDC_DEV_LIST), LVM_SETITEMSTATE, -1, (LPARAM)&none);
        Click(IDC_DEV_EDIT);
        Click(IDC_DEV_DELETE);
    });
    m_steps.Then([] { PostMessageA(Item(IDC_DEV_ADD), BM_CLICK, 0, 0); });
    m_steps.Wait([&] {
        HWND dialog = CStepDriver::Find(kEditTitle);
        if (!dialog)
            return false;
        units = (int)SendDlgItemMessageA(dialog, IDC_DEV_UNIT, CB_GETCOUNT, 0, 0);
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return true;
    });
    m_steps.Wait(EditClosed());
    m_steps.Then([] { PressCancel(); });
    EXPECT_EQ(IDCANCEL, RunSheet());
    EXPECT_TRUE(m_host.calls.empty());
    EXPECT_EQ(1, units);
    EXPECT_EQ(1u, m_options->m_page6.m_devices.size());
}

// Control-bus and IR ports exclude each other; a double quote, which the
// stored list cannot hold, is refused and the dialog stays.
TEST(DeviceEditDlgTest, PortsExcludeEachOtherAndQuotesAreRefused)
{
    DeviceEntry entry;
    entry.ports = 0x10;   // ir0
    CDeviceEditDlg dialog(entry, "C:\\Devices", 3);
    CStepDriver steps;
    CMessageBoxScript boxes;
    boxes.Then(IDOK);
    int units = 0;
    bool stayed = false;
    auto checked = [](HWND d, int id) { return IsDlgButtonChecked(d, id) == BST_CHECKED; };
    steps.Wait([] { return CStepDriver::Find(kEditTitle) != NULL; });
    steps.Then([&] {
        HWND d = CStepDriver::Find(kEditTitle);
        units = (int)SendDlgItemMessageA(d, IDC_DEV_UNIT, CB_GETCOUNT, 0, 0);
        SendDlgItemMessageA(d, IDC_DEV_IR0 + 3, BM_CLICK, 0, 0);
        SendDlgItemMessageA(d, IDC_DEV_SL0 + 2, BM_CLICK, 0, 0);
        for (int id = IDC_DEV_IR0; id <= IDC_DEV_IR7; ++id)
            EXPECT_FALSE(checked(d, id)) << id;
        EXPECT_TRUE(checked(d, IDC_DEV_SL0 + 2));
        SendDlgItemMessageA(d, IDC_DEV_SL0 + 1, BM_CLICK, 0, 0);
        SendDlgItemMessageA(d, IDC_DEV_IR0 + 5, BM_CLICK, 0, 0);
        for (int id = IDC_DEV_SL0; id <= IDC_DEV_SL3; ++id)
            EXPECT_FALSE(checked(d, id)) << id;
        SetDlgItemTextA(d, IDC_DEV_NAME, "Big \"Amp\"");
        SendMessageA(d, WM_COMMAND, IDOK, 0);
        stayed = CStepDriver::Find(kEditTitle) != NULL;
        SetDlgItemTextA(d, IDC_DEV_NAME, "Big Amp");
        SendMessageA(d, WM_COMMAND, IDOK, 0);
    });
    steps.Start();
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_TRUE(steps.Finished());
    EXPECT_EQ(3, units);
    EXPECT_TRUE(stayed);
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ("A device name or file name cannot contain a double quote (\").", boxes.Shown()[0].text);
    EXPECT_EQ("Big Amp", std::string(entry.name));
    EXPECT_EQ(0x10 << 5, entry.ports);
}

std::vector<std::string> MapRows()
{
    HWND list = OptionsTest::Item(IDC_MAP_LIST);
    std::vector<std::string> rows;
    int count = (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
    for (int row = 0; row < count; ++row)
        rows.push_back(ListText(list, row, 0) + " -> " + ListText(list, row, 1));
    return rows;
}

std::vector<std::string> g_opened;

BOOL RecordLink(const char* file, const char*, const char*)
{
    g_opened.push_back(file);
    return TRUE;
}

// The page reads the map file into a map of its own; a file that cannot be
// read leaves the entries shown and says so; "Edit" opens the file.
TEST_F(OptionsTest, TheMapPageReadsItsOwnMap)
{
    CTempFolder folder("optionsmaps");
    ASSERT_TRUE(folder.IsValid());
    {
        std::ofstream map(folder.UnixPath("map.txt"));
        map << "play { amp:on }\nstop { amp:off }\n";
    }
    m_options->m_page7.m_mapFile = folder.WindowsPath("map.txt").c_str();
    const std::string missing = folder.WindowsPath("gone.txt");
    CMessageBoxScript boxes;
    boxes.Then(IDOK);
    g_opened.clear();
    SetLinkOpener(RecordLink);
    std::vector<std::string> first, afterFailure;
    m_steps.Then([] { ShowPage(6); });
    m_steps.Then([&] { first = MapRows(); });
    m_steps.Then([&] {
        SetText(IDC_MAP_FILE, missing);
        Click(IDC_MAP_RELOAD);
    });
    m_steps.Then([&] { afterFailure = MapRows(); });
    m_steps.Then([] { Click(IDC_MAP_EDIT); });
    m_steps.Then([] { PressCancel(); });
    EXPECT_EQ(IDCANCEL, RunSheet());
    SetLinkOpener(nullptr);
    EXPECT_EQ((std::vector<std::string>{ "play -> amp:on", "stop -> amp:off" }), first);
    EXPECT_EQ(first, afterFailure);
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ("Error loading map file.", boxes.Shown()[0].text);
    EXPECT_EQ(std::vector<std::string>{ missing }, g_opened);
}

// Selecting a row shows its colours in the wells; a colour picked in a well
// goes into the options for that row at once, and the row, which asks the
// document for its colours, is drawn in it.
TEST_F(OptionsTest, PickedColoursGoToTheSelectedRow)
{
    m_options->m_page8.m_foreground[4] = RGB(1, 2, 3);
    m_options->m_page8.m_background[4] = RGB(4, 5, 6);
    COLORREF shownForeground = 0, shownBackground = 0;
    int rows = 0;
    m_steps.Then([] { ShowPage(7); });
    m_steps.Then([&] {
        HWND list = Item(IDC_APP_COLOR_LIST);
        rows = (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
        LVITEMA item = {};
        item.stateMask = item.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageA(list, LVM_SETITEMSTATE, 4, (LPARAM)&item);
    });
    m_steps.Then([&] {
        CWnd* page = CWnd::FromHandle(Page());
        shownForeground = static_cast<TkWellButton*>(page->GetDlgItem(IDC_APP_FOREGROUND))->GetColor();
        shownBackground = static_cast<TkWellButton*>(page->GetDlgItem(IDC_APP_BACKGROUND))->GetColor();
        SendMessageA(Page(), WM_USER + 101, IDC_APP_BACKGROUND, RGB(200, 10, 20));
        SendMessageA(Page(), WM_USER + 101, IDC_APP_FOREGROUND, RGB(0, 128, 0));
        LVITEMA item = {};
        item.stateMask = item.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageA(Item(IDC_APP_COLOR_LIST), LVM_SETITEMSTATE, 1, (LPARAM)&item);
    });
    COLORREF drawn = 0;
    m_steps.Then([&] {
        HWND list = Item(IDC_APP_COLOR_LIST);
        UpdateWindow(list);
        RECT row = {};
        row.left = LVIR_BOUNDS;
        SendMessageA(list, LVM_GETITEMRECT, 4, (LPARAM)&row);
        HDC dc = GetDC(list);
        drawn = GetPixel(dc, row.right - 3, (row.top + row.bottom) / 2);
        ReleaseDC(list, dc);
    });
    m_steps.Then([] { PressOK(); });
    EXPECT_EQ(IDOK, RunSheet());
    EXPECT_EQ(18, rows);
    EXPECT_EQ(RGB(1, 2, 3), shownForeground);
    EXPECT_EQ(RGB(4, 5, 6), shownBackground);
    EXPECT_EQ(RGB(200, 10, 20), drawn);
    EXPECT_EQ(std::to_string(RGB(200, 10, 20)), Stored("CD3 BG"));
    EXPECT_EQ(std::to_string(RGB(0, 128, 0)), Stored("CD3 FG"));
    EXPECT_EQ("16777215", Stored("CD2 BG"));
}

TEST(OptionsRowsTest, RowsAndTheirPlayers)
{
    EXPECT_EQ(-1, CAppearancePage::RowPlayer(0));
    EXPECT_EQ(1001, CAppearancePage::RowPlayer(1));
    EXPECT_EQ(0, CAppearancePage::RowPlayer(2));
    EXPECT_EQ(15, CAppearancePage::RowPlayer(17));
    EXPECT_EQ("sl0 ir1 ", std::string(CDevicesPage::PortsText(0x21)));
    EXPECT_EQ("", std::string(CDevicesPage::PortsText(0)));
}

} // namespace

namespace {

// Answers the server choice as the user would.
class CChoosingUser : public CCDDBUser
{
public:
    void EnsureUserEmail(CCDDBClient&) override {}
    int ChooseMatch(CCDDBClient&, AlbumRecord&) override { return -1; }
    int ChooseServer(CCDDBClient& client) override
    {
        offered = client.m_sites.size();
        return choice;
    }
    int choice = -1;
    size_t offered = 0;
};

// "Locate..." asks the disc database for its servers through the proxy the
// page shows; the chosen server's host goes into the page, a cancelled
// choice leaves it.
TEST_F(OptionsTest, LocateOffersTheDiscDatabasesServers)
{
    CCddbTestServer server;
    server.Answer(CCDDBClient::kDefaultHost, "sites",
                  "210 OK, site information follows\r\n"
                  "first.test http 80 /~cddb/cddb.cgi N000.00 W000.00 First server\r\n"
                  "second.test http 8080 /cgi-bin/cddb.cgi N033.45 W084.23 Second server\r\n.\r\n");
    CChoosingUser user;
    m_host.cddb.m_pUser = &user;
    const std::string port = std::to_string(server.Port());
    std::string chosen, kept;
    m_steps.Then([&] {
        Click(IDC_CDDB_USE_CDDB2);
        SetText(IDC_CDDB_EMAIL, "me@home.example");
        Click(IDC_CDDB_USE_PROXY);
        SetText(IDC_CDDB_PROXY_HOST, "127.0.0.1");
        SetText(IDC_CDDB_PROXY_PORT, port);
        user.choice = 1;
        Click(IDC_CDDB_LOCATE);
        chosen = Text(IDC_CDDB_SERVER);
        user.choice = -1;
        Click(IDC_CDDB_LOCATE);
        kept = Text(IDC_CDDB_SERVER);
    });
    m_steps.Then([] { PressOK(); });
    EXPECT_EQ(IDOK, RunSheet());
    EXPECT_EQ(2u, user.offered);
    EXPECT_EQ("second.test", chosen);
    EXPECT_EQ("second.test", kept);
    EXPECT_EQ("second.test", Stored("CDDB Server"));
    ASSERT_FALSE(server.Commands().empty());
    EXPECT_EQ("sites", server.Commands()[0].command);
}

// "Fonts and Colors..." opens on the face the list draws with (the default
// font's substitute name is in no font list), gives the list font and colour
// to the page's list and the views (hint 9); OK stores them.
TEST_F(OptionsTest, TheFontDialogSetsTheListFont)
{
    const int kFaceList = 0x470;
    const int kSizeList = 0x472;
    m_options->m_page8.m_listFontColor = RGB(0, 0, 128);
    LOGFONTA& listFont = m_options->m_page8.m_listFont;
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof(LOGFONTA), &listFont);
    listFont.lfHeight = -16;  // 12 points on the 96 dots an inch of the test display
    // The system's own word for the family it draws the substitute name with.
    char substitute[LF_FACESIZE] = "";
    DWORD length = sizeof substitute;
    const char kSubstitutes[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes";
    ASSERT_EQ(ERROR_SUCCESS, RegGetValueA(HKEY_LOCAL_MACHINE, kSubstitutes, listFont.lfFaceName, RRF_RT_REG_SZ,
                                          NULL, substitute, &length))
        << listFont.lfFaceName;
    bool answered = false;
    std::string faceShown, sizeShown;
    m_steps.Then([] { ShowPage(7); });
    m_steps.Then([] { PostMessageA(Item(IDC_APP_FONTS), BM_CLICK, 0, 0); });
    m_steps.Wait([&] {
        HWND font = CStepDriver::Find("Font");
        if (!font)
            return false;
        char text[LF_FACESIZE] = "";
        GetDlgItemTextA(font, kFaceList, text, sizeof text);
        faceShown = text;
        GetDlgItemTextA(font, kSizeList, text, sizeof text);
        sizeShown = text;
        SendMessageA(font, WM_COMMAND, IDOK, 0);
        answered = true;
        return true;
    });
    m_steps.Wait([] { return CStepDriver::Find("Font") == NULL; });
    m_steps.Then([] { PressOK(); });
    EXPECT_EQ(IDOK, RunSheet());
    EXPECT_TRUE(answered);
    EXPECT_EQ(substitute, faceShown);
    EXPECT_EQ("12", sizeShown);
    EXPECT_EQ((Calls{ "hint 9" }), m_host.calls);
    const std::string font = Stored("List Font");
    EXPECT_NE(std::string::npos, font.find(m_options->m_page8.m_listFont.lfFaceName)) << font;
    EXPECT_EQ(std::to_string(RGB(0, 0, 128)), Stored("List Font Color"));
}

} // namespace

namespace {

// Answers the file chooser a "..." button opens with a file.
CStepDriver::Step ChooseFile(const std::string& path)
{
    return [path] {
        const int kFileNameCombo = 0x47c;
        HWND chooser = CStepDriver::Find("Open");
        if (!chooser)
            return false;
        SetDlgItemTextA(chooser, kFileNameCombo, path.c_str());
        PostMessageA(chooser, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)GetDlgItem(chooser, IDOK));
        return true;
    };
}

// The file buttons put the chosen file's full path into their edit; the map
// page also reads the chosen map.
TEST_F(OptionsTest, FileButtonsTakeTheChosenFile)
{
    CTempFolder folder("optionsfiles");
    ASSERT_TRUE(folder.IsValid());
    for (const char* name : { "music.mdb", "cover.png", "events.txt" })
        std::ofstream(folder.UnixPath(name)) << (strcmp(name, "events.txt") == 0 ? "play { amp:on }\n" : "x");
    const struct
    {
        int page;
        int button;
        int edit;
        const char* name;
    } cases[] = {
        { 8, IDC_FILES_LIBRARY + 1, IDC_FILES_LIBRARY, "music.mdb" },
        { 8, IDC_FILES_DEFAULT_IMAGE + 1, IDC_FILES_DEFAULT_IMAGE, "cover.png" },
        { 6, IDC_MAP_BROWSE, IDC_MAP_FILE, "events.txt" },
    };
    std::string shown[3];
    std::vector<std::string> mapRows;
    for (int i = 0; i < 3; ++i)
    {
        const auto& c = cases[i];
        m_steps.Then([&c] { ShowPage(c.page); });
        m_steps.Then([&c] { PostMessageA(Item(c.button), BM_CLICK, 0, 0); });
        m_steps.Wait(ChooseFile(folder.WindowsPath(c.name)));
        m_steps.Wait([] { return CStepDriver::Find("Open") == NULL; });
        m_steps.Then([&, i] { shown[i] = Text(cases[i].edit); });
    }
    m_steps.Then([&] { mapRows = MapRows(); });
    m_steps.Then([] { PressOK(); });
    EXPECT_EQ(IDOK, RunSheet());
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(folder.WindowsPath(cases[i].name), shown[i]) << cases[i].name;
    EXPECT_EQ(std::vector<std::string>{ "play -> amp:on" }, mapRows);
    EXPECT_EQ(folder.WindowsPath("music.mdb"), Stored("New DB Path"));
    EXPECT_EQ(folder.WindowsPath("events.txt"), Stored("Map File"));
}

} // namespace

namespace {

// "Register..." opens the registration of the document's own client, which
// makes the disc-database control (our stand-in here) first.
TEST_F(OptionsTest, RegisterReachesTheDiscDatabaseControl)
{
    CoInitialize(NULL);
    CMessageBoxScript boxes;
    m_steps.Then([] { Click(IDC_CDDB_REGISTER); });
    m_steps.Then([] { PressCancel(); });
    EXPECT_EQ(IDCANCEL, RunSheet());
    EXPECT_TRUE(m_host.cddb.m_pControl != nullptr);
    EXPECT_TRUE(boxes.Shown().empty());
}

} // namespace

namespace {

// "Locate Now" on the Tavlin page asks for the units (WM_USER+8), on the
// Players page for the players (WM_USER+9), at once.
TEST_F(OptionsTest, LocateNowAsksTheMainWindow)
{
    Calls seen;
    m_steps.Then([] { ShowPage(3); });
    m_steps.Then([] { Click(IDC_TAV_LOCATE_NOW); });
    m_steps.Then([] { ShowPage(4); });
    m_steps.Then([&] {
        Click(IDC_PLY_LOCATE_NOW);
        seen = m_main.requests;
    });
    m_steps.Then([] { PressCancel(); });
    EXPECT_EQ(IDCANCEL, RunSheet());
    EXPECT_EQ((Calls{ "WM_USER+8", "WM_USER+9" }), seen);
    EXPECT_EQ(seen, m_main.requests);
}

} // namespace

namespace {

// A disabled entry is defined at no start-up, so Add does not define it now.
TEST_F(OptionsTest, ADisabledDeviceIsNotDefined)
{
    std::vector<ListRow> rows;
    m_steps.Then([] { ShowPage(5); });
    m_steps.Then([] { PostMessageA(Item(IDC_DEV_ADD), BM_CLICK, 0, 0); });
    m_steps.Wait(EditDevice("Lamp", "lamp.cde", 0, 0, { IDC_DEV_ENABLED }));
    m_steps.Wait(EditClosed());
    m_steps.Then([&] { rows = DeviceRows(); });
    m_steps.Then([] { PressCancel(); });
    EXPECT_EQ(IDCANCEL, RunSheet());
    EXPECT_EQ((Calls{ "hint 5" }), m_host.calls);
    EXPECT_EQ((std::vector<ListRow>{ { "Lamp", "lamp.cde", "1", "1", "", CDevicesPage::kImageDisabled } }), rows);
}

} // namespace
