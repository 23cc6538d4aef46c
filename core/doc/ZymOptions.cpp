#include "core/doc/ZymOptions.h"

#include "library/paths/FilePath.h"
#include "library/web/CDDBClient.h"

#include <afxwin.h>
#include <math.h>
#include <stdio.h>
#include <string.h>

namespace {

const char kSection[] = "Options";
const char kSampleLibrary[] = "sample.lib";

const COLORREF kWhite = 16777215;

// The profile names of the colour rows, each with " FG" and " BG".
CString ColorRowName(int row)
{
    if (row == 0)
        return "Missing";
    if (row == 1)
        return "MP3";
    CString name;
    name.Format("CD%d", row - 1);
    return name;
}

int ReadInt(const char* name, int defaultValue)
{
    return static_cast<int>(AfxGetApp()->GetProfileInt(kSection, name, defaultValue));
}

CString ReadText(const char* name, const char* defaultValue)
{
    return AfxGetApp()->GetProfileString(kSection, name, defaultValue);
}

void WriteInt(const char* name, int value)
{
    AfxGetApp()->WriteProfileInt(kSection, name, value);
}

void WriteText(const char* name, const char* value)
{
    AfxGetApp()->WriteProfileString(kSection, name, value);
}

} // namespace

int CPage4::GetComPortMask() const
{
    int mask = 0;
    for (int port = 0; port < kComPorts; ++port)
        mask |= (m_checkPort[port] & 1) << port;
    return mask;
}

void CPage4::SetComPortMask(int mask)
{
    for (int port = 0; port < kComPorts; ++port)
        m_checkPort[port] = (mask >> port) & 1;
}

CZymOptions::CZymOptions(const char* programFolder) : m_programFolder(programFolder)
{
    LoadOptions();
}

CZymOptions::~CZymOptions()
{
    SaveOptions();
}

CString CZymOptions::GetDeviceFileFolder() const
{
    CFilePath path(CDirPath(static_cast<LPCSTR>(m_programFolder)));
    path.Append(static_cast<LPCSTR>(m_page9.m_deviceFileDirectory));
    return path.GetFullPath();
}

CString CZymOptions::GetDeviceFilePath(const char* file) const
{
    CFilePath path(CDirPath(static_cast<LPCSTR>(GetDeviceFileFolder() + "\\")));
    path.Append(file);
    return path.GetFullPath();
}

std::vector<CZymOptions::Option> CZymOptions::Table()
{
    const CString& folder = m_programFolder;
    // An old profile named the proxy "Proxy Name"; it is read only as this default.
    CString proxyName = ReadText("Proxy Name", "");
    return {
        { "Prompt Inexact", &m_page1.m_promptInexact, nullptr, 0, "" },
        { "Use Internet", &m_page1.m_useInternet, nullptr, 1, "" },
        { "Use Local", &m_page1.m_useLocal, nullptr, 0, "" },
        { "Use CD-Text", &m_page1.m_useCdText, nullptr, 0, "" },
        { "CDDB Server", nullptr, &m_page1.m_cddbServer, 0, CCDDBClient::kDefaultHost },
        { "Use CDDB2", &m_page1.m_useCddb2, nullptr, 1, "" },
        { "User Email", nullptr, &m_page1.m_userEmail, 0, "" },
        { "Use HTTP Proxy", &m_page1.m_useHttpProxy, nullptr, 0, "" },
        { "Proxy Host", nullptr, &m_page1.m_proxyHost, 0, proxyName },
        { "Proxy Port", nullptr, &m_page1.m_proxyPort, 0, "" },
        { "Proxy Username", nullptr, &m_page1.m_proxyUsername, 0, "" },
        { "Proxy Password", nullptr, &m_page1.m_proxyPassword, 0, "" },
        { "CDDB Local Path", nullptr, &m_page1.m_cddbLocalPath, 0, "" },
        { "Auto Save DB X", &m_page2.m_autoSaveDb, nullptr, 1, "" },
        { "Auto Save Interval", &m_page2.m_autoSaveInterval, nullptr, 1, "" },
        { "Auto Search Discs X", &m_page2.m_autoSearchDiscs, nullptr, 0, "" },
        { "Auto Search Interval", &m_page2.m_autoSearchInterval, nullptr, 10, "" },
        { "Auto Load DB", &m_page2.m_autoLoadDb, nullptr, 1, "" },
        { "Hide Discs", &m_page2.m_hideDiscs, nullptr, 0, "" },
        { "Double Click Play Option", &m_page2.m_doubleClickPlayOption, nullptr, 0, "" },
        { "Disable Editing", &m_page2.m_disableEditing, nullptr, 0, "" },
        { "Track Playtime", &m_page2.m_trackPlaytime, nullptr, 0, "" },
        { "DB Path", nullptr, &m_page2.m_dbPath, 0, folder + kSampleLibrary },
        { "Library Type", &m_page2.m_libraryType, nullptr, -1, "" },
        { "Track Players", &m_page2.m_trackPlayers, nullptr, 1, "" },
        { "Stretch Images", &m_page2.m_stretchImages, nullptr, 0, "" },
        { "Keep Aspect", &m_page2.m_keepAspect, nullptr, 1, "" },
        { "Make Image Copy", &m_page2.m_makeImageCopy, nullptr, 1, "" },
        { "Alternate Players", &m_page3.m_alternatePlayers, nullptr, 1, "" },
        { "Playlist Fill Size", &m_page3.m_playlistFillSize, nullptr, 5, "" },
        { "Playlist Tail Size", &m_page3.m_playlistTailSize, nullptr, 5, "" },
        { "Minimum Track Time", &m_page3.m_minimumTrackTime, nullptr, 0, "" },
        { "Playlist Save and Restore", &m_page3.m_playlistSaveAndRestore, nullptr, 1, "" },
        { "Auto Locate Tavlins", &m_page4.m_autoLocateTavlins, nullptr, 1, "" },
        { "Ping Tavlin", &m_page4.m_pingTavlin, nullptr, 0, "" },
        { "Use TavlinX", &m_page4.m_useTavlinX, nullptr, 0, "" },
        { "Enable Tavlin IR receiver", &m_page4.m_enableIrReceiver, nullptr, 1, "" },
        { "Enable Tavlin Activity Logging", &m_page4.m_activityLogging, nullptr, 0, "" },
        { "Log File Name", nullptr, &m_page4.m_logFileName, 0, folder + "log.txt" },
        { "Minimum Baud Rate", &m_page4.m_minimumBaudRate, nullptr, 38400, "" },
        { "Auto Locate Players", &m_page5.m_autoLocatePlayers, nullptr, 1, "" },
        { "Turn Off Players On Exit", &m_page5.m_turnOffPlayersOnExit, nullptr, 0, "" },
        { "Download Group Names", &m_page5.m_downloadGroupNames, nullptr, 0, "" },
        { "Poll Player Status", &m_page5.m_pollPlayerStatus, nullptr, 1, "" },
        { "Enable MP3", &m_page5.m_enableMp3, nullptr, 1, "" },
        { "MP3 Output Name", nullptr, &m_page5.m_mp3OutputName, 0, "" },
        { "Pre-Queue Mode", &m_page5.m_preQueueMode, nullptr, 2, "" },
        { "Detect Skipping Discs", &m_page5.m_detectSkippingDiscs, nullptr, 0, "" },
        { "Fade Down Time", &m_page5.m_fadeDownTime, nullptr, 0, "" },
        { "Fade Up Time", &m_page5.m_fadeUpTime, nullptr, 0, "" },
        { "Fade Overlap Time", &m_page5.m_fadeOverlapTime, nullptr, 0, "" },
        { "Track Finish Tweek", &m_page5.m_trackFinishTweak, nullptr, 0, "" },
        { "Map File", nullptr, &m_page7.m_mapFile, 0, folder + "map.txt" },
        { "List Font Color", &m_page8.m_listFontColor, nullptr, 0, "" },
        { "Animate Icon", &m_page8.m_animateIcon, nullptr, 1, "" },
        { "Helper Banners", &m_page8.m_helperBanners, nullptr, 1, "" },
        { "Color Text By Player", &m_page8.m_colorTextByPlayer, nullptr, 1, "" },
        { "Playlist Directory", nullptr, &m_page9.m_playlistDirectory, 0, "..\\Playlists" },
        { "Image Directory", nullptr, &m_page9.m_imageDirectory, 0, "..\\Album Covers" },
        { "Device File Directory", nullptr, &m_page9.m_deviceFileDirectory, 0, "..\\Device Files" },
        { "Music File Directory", nullptr, &m_page9.m_musicFileDirectory, 0, "..\\Music Files" },
        { "New DB Path", nullptr, &m_page9.m_newDbPath, 0, "sample.mdb" },
        { "Default Image", nullptr, &m_page9.m_defaultImage, 0, "default.bmp" },
    };
}

void CZymOptions::LoadOptions()
{
    for (const Option& option : Table())
    {
        if (option.number)
            *option.number = ReadInt(option.name, option.numberDefault);
        else
            *option.text = ReadText(option.name, option.textDefault);
    }
    // Written for older readers, never taken back.
    m_page1.m_useLocal = 0;
    m_page5.m_pollPlayerStatus = 1;
    if (m_page2.m_libraryType == -1)
        m_page2.m_libraryType = m_page2.m_dbPath.Find(kSampleLibrary) >= 0 ? 1 : 0;
    m_page4.SetComPortMask(ReadInt("COM Ports to Check", 255));
    m_page4.m_irSamplePeriod = ReadInt("IR Sample Rate", 100) / 1000000.0;
    m_page4.m_irTimeoutPeriod = ReadInt("IR Timeout Period", 50) / 1000.0;
    m_page6.m_devices = ParseDeviceList(ReadText("Devices", ""));
    LoadListFont();
    LoadColors();
}

void CZymOptions::SaveOptions()
{
    for (const Option& option : Table())
    {
        if (option.number)
            WriteInt(option.name, *option.number);
        else
            WriteText(option.name, *option.text);
    }
    WriteInt("COM Ports to Check", m_page4.GetComPortMask());
    WriteInt("IR Sample Rate", static_cast<int>(floor(m_page4.m_irSamplePeriod * 1000000 + 0.5)));
    WriteInt("IR Timeout Period", static_cast<int>(floor(m_page4.m_irTimeoutPeriod * 1000 + 0.5)));
    WriteText("Devices", FormatDeviceList(m_page6.m_devices));
    WriteText("List Font", FormatListFont());
    SaveColors();
}

void CZymOptions::LoadColors()
{
    for (int row = 0; row < CPage8::kColorRows; ++row)
    {
        CString name = ColorRowName(row);
        m_page8.m_foreground[row] = ReadInt(name + " FG", 0);
        m_page8.m_background[row] = ReadInt(name + " BG", kWhite);
    }
}

void CZymOptions::SaveColors()
{
    for (int row = 0; row < CPage8::kColorRows; ++row)
    {
        CString name = ColorRowName(row);
        WriteInt(name + " FG", m_page8.m_foreground[row]);
        WriteInt(name + " BG", m_page8.m_background[row]);
    }
}

// Thirteen numbers, then the face name after the last comma. A value that
// does not give all thirteen leaves the system's font.
void CZymOptions::LoadListFont()
{
    LOGFONT& font = m_page8.m_listFont;
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font);
    CString text = ReadText("List Font", "");
    int n[13];
    if (sscanf(static_cast<LPCSTR>(text), "%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d", &n[0], &n[1], &n[2], &n[3], &n[4],
               &n[5], &n[6], &n[7], &n[8], &n[9], &n[10], &n[11], &n[12]) != 13)
        return;
    font.lfHeight = n[0];
    font.lfWidth = n[1];
    font.lfEscapement = n[2];
    font.lfOrientation = n[3];
    font.lfWeight = n[4];
    font.lfItalic = static_cast<BYTE>(n[5]);
    font.lfUnderline = static_cast<BYTE>(n[6]);
    font.lfStrikeOut = static_cast<BYTE>(n[7]);
    font.lfCharSet = static_cast<BYTE>(n[8]);
    font.lfOutPrecision = static_cast<BYTE>(n[9]);
    font.lfClipPrecision = static_cast<BYTE>(n[10]);
    font.lfQuality = static_cast<BYTE>(n[11]);
    font.lfPitchAndFamily = static_cast<BYTE>(n[12]);
    CString face = text.Mid(text.ReverseFind(',') + 1);
    lstrcpynA(font.lfFaceName, face, LF_FACESIZE);
}

CString CZymOptions::FormatListFont() const
{
    const LOGFONT& font = m_page8.m_listFont;
    CString text;
    text.Format("%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%s", static_cast<int>(font.lfHeight),
                static_cast<int>(font.lfWidth), static_cast<int>(font.lfEscapement),
                static_cast<int>(font.lfOrientation), static_cast<int>(font.lfWeight),
                font.lfItalic, font.lfUnderline, font.lfStrikeOut, font.lfCharSet,
                font.lfOutPrecision, font.lfClipPrecision, font.lfQuality, font.lfPitchAndFamily,
                font.lfFaceName);
    return text;
}
