// The main frame's tool bars: the images of their commands, the six
// built-in bars the tool-bar manager makes when no saved layout exists, the
// user commands' images from "user.bmp" beside the program, and the
// tool-bars dialog and customise sheet.
#include "shell/app/MainFrame.h"

#include "shell/app/ZymResources.h"

#include "image/Dib.h"

#include "toolkit/toolbars/TkToolBarCmdPage.h"
#include "toolkit/toolbars/TkToolBarManager.h"
#include "toolkit/toolbars/TkToolBarSheet.h"
#include "toolkit/toolbars/TkToolBarsPage.h"

namespace
{
// Tool-bar resources, each with a bitmap of the same id.
const UINT kToolBarResources[] = { IDR_MAINFRAME, IDR_LIBRARY_BUTTONS, IDR_PLAYLIST_BUTTONS, IDR_PLAYER_BUTTONS };

const UINT kFirstUserCommand = 32957;
const int kUserCommandCount = 100;
const int kUserGroupSize = 10;
const char kUserButtonsFile[] = "user.bmp";
// The commands page's caption.
const UINT kCommandsPageCaption = 61447;

// Buttons of the built-in bars; 0 is a separator.
const UINT kMainButtons[] = { 57667, 115, 0, 32861, 101, 32893, 32784 };
const UINT kLibraryButtons[] = { 32779, 32852, 32856, 32930, 32931 };
const UINT kPlaylistButtons[] = { 32790, 32792, 0,     32798, 32797, 32820, 32868, 32869, 0,
                                  32885, 32823, 32794, 32795, 33075, 32796, 32801, 32909, 32793 };
const UINT kPlayerButtons[] = { 32786, 32785, 32787, 32846, 32850, 32847, 32848, 32849, 32845 };
const UINT kUserButtons[] = { 32957, 32958, 32959, 32960, 32961, 32962, 32963, 32964, 32965, 32966 };
const UINT kSoundButtons[] = { 32832, 32830, 32833 };

const UINT kMainBarId = 59392;

// The customise sheet's categories besides the user ones; 0 is a gap.
const UINT kMainCommands[] = { 32840, 32839, 57667, 115, 57664, 0, 32861, 101, 32893, 32904, 0, 32784, 0, 32905, 32906 };
const UINT kLibraryCommands[] = { 32779, 32852, 33074, 33085, 32951, 32950, 32930, 32931, 32788 };
const UINT kPlaylistCommands[] = { 32790, 32792, 32907, 0,     32798, 32797, 32820, 32868, 32869, 0, 32885,
                                   32888, 0,     32823, 32794, 32795, 33075, 32796, 32801, 32909, 32793 };

struct CommandGroup
{
    const char* title;
    const UINT* ids;
    int count;
};

const CommandGroup kCommandGroups[] = {
    { "Main", kMainCommands, ARRAYSIZE(kMainCommands) },
    { "Library", kLibraryCommands, ARRAYSIZE(kLibraryCommands) },
    { "Playlist", kPlaylistCommands, ARRAYSIZE(kPlaylistCommands) },
    { "Sound", kSoundButtons, ARRAYSIZE(kSoundButtons) },
    { "Player", kPlayerButtons, ARRAYSIZE(kPlayerButtons) },
};

// The 100 user commands in order; the bitmap manager and the commands page
// keep pointers into it.
const UINT* UserCommands()
{
    static UINT ids[kUserCommandCount];
    for (int index = 0; index < kUserCommandCount; ++index)
        ids[index] = kFirstUserCommand + index;
    return ids;
}

// A DIB section of the bitmap file; null when it is no whole bitmap. The
// file is read and checked here: the system's own loader reads past the end
// of a file shorter than its header says, and the process dies of it.
HBITMAP LoadBitmapFile(const CString& path)
{
    BITMAPINFOHEADER* dib = ReadDIBFile(path);
    if (!dib)
        return nullptr;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(dib), DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap)
        memcpy(bits, DIBBits(dib), dib->biSizeImage);
    FreeDIB(dib);
    return bitmap;
}

struct DefaultBar
{
    UINT id;
    const char* title;
    const UINT* buttons;
    int count;
    // Docked right after this bar; 0 for a row of its own.
    UINT besideId;
    BOOL visible;
};

const DefaultBar kDefaultBars[] = {
    { kMainBarId, "Main", kMainButtons, ARRAYSIZE(kMainButtons), 0, TRUE },
    { 59397, "Library", kLibraryButtons, ARRAYSIZE(kLibraryButtons), kMainBarId, TRUE },
    { 59398, "Playlist", kPlaylistButtons, ARRAYSIZE(kPlaylistButtons), kMainBarId, TRUE },
    { 59399, "Player", kPlayerButtons, ARRAYSIZE(kPlayerButtons), 0, FALSE },
    { 59400, "User", kUserButtons, ARRAYSIZE(kUserButtons), 0, FALSE },
    { 59401, "Sound", kSoundButtons, ARRAYSIZE(kSoundButtons), 0, FALSE },
};
}

void CMainFrame::LoadToolBarImages()
{
    TkToolBarManager* manager = GetToolBarManager();
    for (UINT resource : kToolBarResources)
    {
        if (!manager->LoadToolBarResource(resource, resource))
            OutputDebugStringA("zym: a tool-bar resource could not be loaded\n");
    }
    LoadUserButtonImages();
}

// "user.bmp" lets the user draw the user commands' buttons; a missing or
// unreadable file leaves the numbered images of the program.
void CMainFrame::LoadUserButtonImages()
{
    const UINT* ids = UserCommands();
    HBITMAP image = LoadBitmapFile(m_strProgramFolder + kUserButtonsFile);
    TkToolBarManager* manager = GetToolBarManager();
    if (image && m_userButtons.Attach(image))
        manager->AddBitmap(m_userButtons, nullptr, ids, kUserCommandCount);
    else
        manager->AddBitmapResource(IDB_USER_BUTTONS, 0, ids, kUserCommandCount);
}

void CMainFrame::DefineDefaultToolBars()
{
    TkToolBarManager* manager = GetToolBarManager();
    for (const DefaultBar& bar : kDefaultBars)
        manager->DefineDefaultToolBar(bar.id, bar.title, bar.count, bar.buttons, CBRS_ALIGN_ANY,
                                      AFX_IDW_DOCKBAR_TOP, bar.besideId, TRUE, bar.visible);
}

void CMainFrame::OnViewToolBars()
{
    if (GetToolBarManager()->ExecViewToolBarsDlg() == IDC_TK_CUSTOMIZE)
        OnCustomize();
}

void CMainFrame::OnCustomize()
{
    TkToolBarManager* manager = GetToolBarManager();
    TkToolBarsPage barsPage;
    barsPage.SetManager(manager);
    TkToolBarCmdPage commandsPage(kCommandsPageCaption);
    commandsPage.SetManager(manager);
    for (const CommandGroup& group : kCommandGroups)
        commandsPage.DefineBtnGroup(group.title, group.count, group.ids);
    const UINT* userIds = UserCommands();
    for (int group = 0; group < kUserCommandCount / kUserGroupSize; ++group)
    {
        CString title;
        title.Format("User%d", group + 1);
        commandsPage.DefineBtnGroup(title, kUserGroupSize, userIds + group * kUserGroupSize);
    }
    TkToolBarSheet sheet(IDS_TK_CUSTOMIZE, this);
    sheet.AddPage(&barsPage);
    sheet.AddPage(&commandsPage);
    sheet.DoModal();
}
