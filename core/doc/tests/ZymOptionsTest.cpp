#include "tests/support/TestFramework.h"
#include "tests/support/doc/TestProfile.h"

#include "core/doc/ZymOptions.h"
#include "library/web/CDDBClient.h"

#include <afxwin.h>

#include <functional>
#include <string>

namespace {

const char kRegistryKey[] = "ZymOptionsTest";
const char kSection[] = "Options";
const char kFolder[] = "C:\\Zym\\Bin\\";
const char kAbsent[] = "<absent>";

class ZymOptionsTest : public ::testing::Test
{
public:
    ZymOptionsTest() : m_app(kRegistryKey) { m_app.WriteProfileString(kSection, nullptr, nullptr); }

    std::string Text(const char* name) { return std::string(m_app.GetProfileString(kSection, name, kAbsent)); }
    int Number(const char* name) { return static_cast<int>(m_app.GetProfileInt(kSection, name, -12345)); }
    void Put(const char* name, const char* value) { m_app.WriteProfileString(kSection, name, value); }
    void Put(const char* name, int value) { m_app.WriteProfileInt(kSection, name, value); }

    CTestProfileApp m_app;
};

TEST_F(ZymOptionsTest, FirstRunWritesTheDefaults)
{
    {
        CZymOptions options(kFolder);
        options.SaveOptions();
    }
    const struct
    {
        const char* name;
        int number;
    } numbers[] = {
        { "Prompt Inexact", 0 }, { "Use Internet", 1 }, { "Use Local", 0 }, { "Use CD-Text", 0 },
        { "Use CDDB2", 1 }, { "Use HTTP Proxy", 0 }, { "Auto Save DB X", 1 }, { "Auto Save Interval", 1 },
        { "Auto Search Discs X", 0 }, { "Auto Search Interval", 10 }, { "Auto Load DB", 1 },
        { "Hide Discs", 0 }, { "Double Click Play Option", 0 }, { "Disable Editing", 0 },
        { "Track Playtime", 0 }, { "Library Type", 1 }, { "Track Players", 1 }, { "Stretch Images", 0 },
        { "Keep Aspect", 1 }, { "Make Image Copy", 1 }, { "Alternate Players", 1 },
        { "Playlist Fill Size", 5 }, { "Playlist Tail Size", 5 }, { "Minimum Track Time", 0 },
        { "Playlist Save and Restore", 1 }, { "Auto Locate Tavlins", 1 }, { "Ping Tavlin", 0 },
        { "Use TavlinX", 0 }, { "COM Ports to Check", 255 }, { "Enable Tavlin IR receiver", 1 },
        { "Enable Tavlin Activity Logging", 0 }, { "Minimum Baud Rate", 38400 },
        { "IR Sample Rate", 100 }, { "IR Timeout Period", 50 }, { "Auto Locate Players", 1 },
        { "Turn Off Players On Exit", 0 }, { "Download Group Names", 0 }, { "Poll Player Status", 1 },
        { "Enable MP3", 1 }, { "Pre-Queue Mode", 2 }, { "Detect Skipping Discs", 0 },
        { "Fade Down Time", 0 }, { "Fade Up Time", 0 }, { "Fade Overlap Time", 0 },
        { "Track Finish Tweek", 0 }, { "List Font Color", 0 }, { "Animate Icon", 1 },
        { "Helper Banners", 1 }, { "Color Text By Player", 1 }, { "Missing FG", 0 },
        { "Missing BG", 16777215 }, { "MP3 FG", 0 }, { "MP3 BG", 16777215 }, { "CD1 FG", 0 },
        { "CD16 BG", 16777215 },
    };
    for (const auto& row : numbers)
        EXPECT_EQ(row.number, Number(row.name)) << row.name;

    const struct
    {
        const char* name;
        std::string text;
    } texts[] = {
        { "CDDB Server", CCDDBClient::kDefaultHost }, { "User Email", "" }, { "Proxy Host", "" },
        { "Proxy Port", "" }, { "Proxy Username", "" }, { "Proxy Password", "" },
        { "CDDB Local Path", "" }, { "DB Path", "C:\\Zym\\Bin\\sample.lib" },
        { "Log File Name", "C:\\Zym\\Bin\\log.txt" }, { "MP3 Output Name", "" },
        { "Map File", "C:\\Zym\\Bin\\map.txt" }, { "Devices", "" },
        { "Playlist Directory", "..\\Playlists" }, { "Image Directory", "..\\Album Covers" },
        { "Device File Directory", "..\\Device Files" }, { "Music File Directory", "..\\Music Files" },
        { "New DB Path", "sample.mdb" }, { "Default Image", "default.bmp" },
        // Read only as the default of "Proxy Host".
        { "Proxy Name", kAbsent },
        { "CD17 FG", kAbsent },
    };
    for (const auto& row : texts)
        EXPECT_EQ(row.text, Text(row.name)) << row.name;
}

TEST_F(ZymOptionsTest, StoredValuesAsLoaded)
{
    const struct
    {
        const char* what;
        std::function<void(ZymOptionsTest&)> store;
        std::function<void(const CZymOptions&)> check;
    } cases[] = {
        { "poll status is always on",
          [](ZymOptionsTest& t) { t.Put("Poll Player Status", 0); },
          [](const CZymOptions& o) { EXPECT_EQ(1, o.m_page5.m_pollPlayerStatus); } },
        { "use local is always off",
          [](ZymOptionsTest& t) { t.Put("Use Local", 1); },
          [](const CZymOptions& o) { EXPECT_EQ(0, o.m_page1.m_useLocal); } },
        { "an old proxy name fills the host",
          [](ZymOptionsTest& t) { t.Put("Proxy Name", "old.proxy"); },
          [](const CZymOptions& o) { EXPECT_STREQ("old.proxy", o.m_page1.m_proxyHost); } },
        { "a proxy host wins over the old name",
          [](ZymOptionsTest& t) { t.Put("Proxy Name", "old.proxy"); t.Put("Proxy Host", "new.proxy"); },
          [](const CZymOptions& o) { EXPECT_STREQ("new.proxy", o.m_page1.m_proxyHost); } },
        { "library type from a sample library path",
          [](ZymOptionsTest& t) { t.Put("Library Type", -1); t.Put("DB Path", "D:\\old\\sample.lib"); },
          [](const CZymOptions& o) { EXPECT_EQ(1, o.m_page2.m_libraryType); } },
        { "library type from another library path",
          [](ZymOptionsTest& t) { t.Put("Library Type", -1); t.Put("DB Path", "D:\\old\\mine.lib"); },
          [](const CZymOptions& o) { EXPECT_EQ(0, o.m_page2.m_libraryType); } },
        { "a stored library type stays",
          [](ZymOptionsTest& t) { t.Put("Library Type", 0); },
          [](const CZymOptions& o) { EXPECT_EQ(0, o.m_page2.m_libraryType); } },
        { "ports split into COM1 to COM8",
          [](ZymOptionsTest& t) { t.Put("COM Ports to Check", 0x85); },
          [](const CZymOptions& o) {
              const int expected[8] = { 1, 0, 1, 0, 0, 0, 0, 1 };
              for (int port = 0; port < 8; ++port)
                  EXPECT_EQ(expected[port], o.m_page4.m_checkPort[port]) << "COM" << port + 1;
          } },
        { "IR periods held in seconds",
          [](ZymOptionsTest& t) { t.Put("IR Sample Rate", 200); t.Put("IR Timeout Period", 100); },
          [](const CZymOptions& o) {
              EXPECT_DOUBLE_EQ(0.0002, o.m_page4.m_irSamplePeriod);
              EXPECT_DOUBLE_EQ(0.1, o.m_page4.m_irTimeoutPeriod);
          } },
        { "negative fades",
          [](ZymOptionsTest& t) { t.Put("Fade Overlap Time", -30); t.Put("Track Finish Tweek", -5); },
          [](const CZymOptions& o) {
              EXPECT_EQ(-30, o.m_page5.m_fadeOverlapTime);
              EXPECT_EQ(-5, o.m_page5.m_trackFinishTweak);
          } },
        { "a list font",
          [](ZymOptionsTest& t) { t.Put("List Font", "-13,0,0,0,700,1,0,0,0,3,2,1,34,Tahoma"); },
          [](const CZymOptions& o) {
              const LOGFONT& f = o.m_page8.m_listFont;
              EXPECT_EQ(-13, f.lfHeight);
              EXPECT_EQ(700, f.lfWeight);
              EXPECT_EQ(1, f.lfItalic);
              EXPECT_EQ(3, f.lfOutPrecision);
              EXPECT_EQ(34, f.lfPitchAndFamily);
              EXPECT_STREQ("Tahoma", f.lfFaceName);
          } },
        { "a damaged list font leaves the system's",
          [](ZymOptionsTest& t) { t.Put("List Font", "-13,0,garbage"); },
          [](const CZymOptions& o) {
              LOGFONT system;
              GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof(system), &system);
              EXPECT_EQ(system.lfHeight, o.m_page8.m_listFont.lfHeight);
              EXPECT_STREQ(system.lfFaceName, o.m_page8.m_listFont.lfFaceName);
          } },
        { "colours by row",
          [](ZymOptionsTest& t) { t.Put("MP3 FG", 0xFF); t.Put("CD16 BG", 0x123456); },
          [](const CZymOptions& o) {
              EXPECT_EQ(0xFFu, o.m_page8.m_foreground[1]);
              EXPECT_EQ(0x123456u, o.m_page8.m_background[17]);
          } },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        m_app.WriteProfileString(kSection, nullptr, nullptr);
        c.store(*this);
        CZymOptions options(kFolder);
        c.check(options);
    }
}

TEST_F(ZymOptionsTest, SavedValuesComeBack)
{
    {
        CZymOptions options(kFolder);
        options.m_page4.m_checkPort[1] = 0;
        options.m_page4.m_checkPort[6] = 0;
        // A period from a list selection is not exact in binary.
        options.m_page4.m_irSamplePeriod = 2 * 0.0001;
        options.m_page4.m_irTimeoutPeriod = 3 * 0.025;
        options.m_page5.m_fadeOverlapTime = -7;
        options.m_page5.m_pollPlayerStatus = 0;
        options.m_page1.m_proxyHost = "proxy.home";
        options.m_page8.m_listFont.lfHeight = -17;
        lstrcpyA(options.m_page8.m_listFont.lfFaceName, "Courier New");
        options.m_page8.m_foreground[5] = 0x00FF00;
        DeviceEntry entry;
        entry.name = "amp";
        entry.file = "amp.cde";
        entry.ports = 0x21;
        options.m_page6.m_devices.push_back(entry);
    }
    // The destructor saved.
    EXPECT_EQ(0xBD, Number("COM Ports to Check"));
    EXPECT_EQ(200, Number("IR Sample Rate"));
    EXPECT_EQ(75, Number("IR Timeout Period"));
    EXPECT_EQ(0, Number("Poll Player Status"));
    EXPECT_EQ("devname=\"amp\" devfile=\"amp.cde\" devnum=0 tavlin=0 ports=33 enabled=1\n", Text("Devices"));
    EXPECT_EQ(kAbsent, Text("Proxy Name"));

    CZymOptions options(kFolder);
    EXPECT_EQ(0xBD, options.m_page4.GetComPortMask());
    EXPECT_EQ(-7, options.m_page5.m_fadeOverlapTime);
    EXPECT_STREQ("proxy.home", options.m_page1.m_proxyHost);
    EXPECT_EQ(-17, options.m_page8.m_listFont.lfHeight);
    EXPECT_STREQ("Courier New", options.m_page8.m_listFont.lfFaceName);
    EXPECT_EQ(0x00FF00u, options.m_page8.m_foreground[5]);
    ASSERT_EQ(1u, options.m_page6.m_devices.size());
    EXPECT_STREQ("amp", options.m_page6.m_devices[0].name);
    EXPECT_EQ(DeviceEntry::kNotTried, options.m_page6.m_devices[0].status);
}

TEST(DeviceListTest, LinesToEntries)
{
    struct Expected
    {
        const char* name;
        const char* file;
        int number, unit, ports, enabled;
    };
    const struct
    {
        const char* text;
        std::vector<Expected> entries;
    } cases[] = {
        { "", {} },
        { "devname=\"tv\" devfile=\"c:\\d\\tv.cde\" devnum=2 tavlin=1 ports=16 enabled=0\n",
          { { "tv", "c:\\d\\tv.cde", 2, 1, 16, 0 } } },
        // Missing fields keep a new entry's values.
        { "devname=\"amp\" devnum=1\n", { { "amp", "", 1, 0, 0, 1 } } },
        // A text running past its line end is missing.
        { "devname=\"tv\" devfile=\"tv.cde\ndevnum=1", { { "tv", "", 0, 0, 0, 1 }, { "", "", 1, 0, 0, 1 } } },
        { "devname=\"a\" ports=3\r\n\ndevname=\"b\" ports=4", { { "a", "", 0, 0, 3, 1 }, { "b", "", 0, 0, 4, 1 } } },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.text);
        DeviceList devices = ParseDeviceList(c.text);
        ASSERT_EQ(c.entries.size(), devices.size());
        for (size_t i = 0; i < devices.size(); ++i)
        {
            EXPECT_STREQ(c.entries[i].name, devices[i].name);
            EXPECT_STREQ(c.entries[i].file, devices[i].file);
            EXPECT_EQ(c.entries[i].number, devices[i].number);
            EXPECT_EQ(c.entries[i].unit, devices[i].unit);
            EXPECT_EQ(c.entries[i].ports, devices[i].ports);
            EXPECT_EQ(c.entries[i].enabled, devices[i].enabled);
            EXPECT_EQ(DeviceEntry::kNotTried, devices[i].status);
        }
    }
}

} // namespace
