// Every user setting of the jukebox, kept in the profile section "Options".
// The values live on nine pages that the document reads directly; until the
// shell gives them their dialogs they only hold values.
#pragma once

#include "core/doc/DeviceEntry.h"

#include <afx.h>

#include <vector>

// "CDDB / CD-Text"
struct CPage1
{
    int m_promptInexact = 0;
    int m_useInternet = 1;
    int m_useLocal = 0;   // written only; always 0 after loading
    int m_useCdText = 0;
    CString m_cddbServer;
    int m_useCddb2 = 1;
    CString m_userEmail;
    int m_useHttpProxy = 0;
    CString m_proxyHost;
    CString m_proxyPort;
    CString m_proxyUsername;
    CString m_proxyPassword;
    CString m_cddbLocalPath;
};

// "Library / Images"
struct CPage2
{
    int m_autoSaveDb = 1;
    int m_autoSaveInterval = 1;   // minutes
    int m_autoSearchDiscs = 0;
    int m_autoSearchInterval = 10;   // minutes
    int m_autoLoadDb = 1;
    int m_hideDiscs = 0;
    int m_doubleClickPlayOption = 0;
    int m_disableEditing = 0;
    int m_trackPlaytime = 0;
    CString m_dbPath;   // library file of the previous format
    int m_libraryType = -1;
    int m_trackPlayers = 1;
    int m_stretchImages = 0;
    int m_keepAspect = 1;
    int m_makeImageCopy = 1;
};

// "Playlists"
struct CPage3
{
    int m_alternatePlayers = 1;
    int m_playlistFillSize = 5;
    int m_playlistTailSize = 5;
    int m_minimumTrackTime = 0;   // seconds
    int m_playlistSaveAndRestore = 1;
};

// "Tavlin"
struct CPage4
{
    enum { kComPorts = 8 };

    int m_autoLocateTavlins = 1;
    int m_pingTavlin = 0;
    int m_useTavlinX = 0;
    // "COM Ports to Check" split: COM1 first.
    int m_checkPort[kComPorts] = { 1, 1, 1, 1, 1, 1, 1, 1 };
    int m_enableIrReceiver = 1;
    int m_activityLogging = 0;
    CString m_logFileName;
    int m_minimumBaudRate = 38400;
    double m_irSamplePeriod = 0.0001;   // seconds; stored in microseconds
    double m_irTimeoutPeriod = 0.05;    // seconds; stored in milliseconds

    int GetComPortMask() const;
    void SetComPortMask(int mask);
};

// "Players"
struct CPage5
{
    int m_autoLocatePlayers = 1;
    int m_turnOffPlayersOnExit = 0;
    int m_downloadGroupNames = 0;
    int m_pollPlayerStatus = 1;   // written, never read back
    int m_enableMp3 = 1;
    CString m_mp3OutputName;
    int m_preQueueMode = 2;   // 0 off, 1 next disc, 2 everything
    int m_detectSkippingDiscs = 0;
    int m_fadeDownTime = 0;   // seconds
    int m_fadeUpTime = 0;
    int m_fadeOverlapTime = 0;
    int m_trackFinishTweak = 0;
};

// "Devices"
struct CPage6
{
    DeviceList m_devices;
};

// "Maps"
struct CPage7
{
    CString m_mapFile;
};

// "Appearance"
struct CPage8
{
    // Row 0 "Missing", row 1 "MP3", rows 2-17 "CD1" to "CD16".
    enum { kColorRows = 18 };

    LOGFONT m_listFont;
    int m_listFontColor = 0;
    int m_animateIcon = 1;
    int m_helperBanners = 1;
    int m_colorTextByPlayer = 1;
    COLORREF m_foreground[kColorRows];
    COLORREF m_background[kColorRows];
};

// "Files and Directories"
struct CPage9
{
    CString m_playlistDirectory;
    CString m_imageDirectory;
    CString m_deviceFileDirectory;
    CString m_musicFileDirectory;
    CString m_newDbPath;
    CString m_defaultImage;
};

class CZymOptions
{
public:
    // programFolder: the program's folder ending with a backslash; the
    // defaults of the library, log and map files lie in it.
    explicit CZymOptions(const char* programFolder);
    ~CZymOptions();
    CZymOptions(const CZymOptions&) = delete;
    CZymOptions& operator=(const CZymOptions&) = delete;

    void LoadOptions();
    void SaveOptions();

    const CString& GetProgramFolder() const { return m_programFolder; }
    // "Device File Directory" resolved against the program's folder.
    CString GetDeviceFileFolder() const;
    // A device list's file as the device manager takes it: resolved against
    // the device-file folder (an absolute file stays as it is).
    CString GetDeviceFilePath(const char* file) const;

    CPage1 m_page1;
    CPage2 m_page2;
    CPage3 m_page3;
    CPage4 m_page4;
    CPage5 m_page5;
    CPage6 m_page6;
    CPage7 m_page7;
    CPage8 m_page8;
    CPage9 m_page9;
    // The page to show first: the one the user left at OK or Cancel.
    int m_startPage = 0;

private:
    // One profile value: a number or a text, with its default.
    struct Option
    {
        const char* name;
        int* number;
        CString* text;
        int numberDefault;
        CString textDefault;
    };

    std::vector<Option> Table();
    void LoadColors();
    void SaveColors();
    void LoadListFont();
    CString FormatListFont() const;

    CString m_programFolder;
};
