// The program's command strings, read from its own resources: every command
// of a tool bar or a menu has a status-bar prompt and a tool tip
// ("prompt\ntip"), and the texts the program fixes read exactly so.
#include "tests/support/TestFramework.h"

#include "shell/app/ZymResources.h"
#include "toolkit/toolbars/TkBarToolTip.h"

#include <afxwin.h>

#include <set>
#include <string>

namespace
{
// The list control's menu pictures: a tool-bar resource that is no tool bar.
const WORD kListMenuImages = 300;
// The resource type of tool bars (the class library's own, not a system one).
const WORD kToolBarType = 241;

struct ToolBarResource
{
    WORD version;
    WORD width;
    WORD height;
    WORD count;
    WORD ids[1];
};

BOOL CALLBACK AddToolBarCommands(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR param)
{
    std::set<UINT>& ids = *reinterpret_cast<std::set<UINT>*>(param);
    if (IS_INTRESOURCE(name) && LOWORD(name) == kListMenuImages)
        return TRUE;
    HRSRC found = FindResourceA(module, name, type);
    const ToolBarResource* bar = (const ToolBarResource*)LockResource(LoadResource(module, found));
    for (int i = 0; bar && i < bar->count; ++i)
        if (bar->ids[i] != 0)
            ids.insert(bar->ids[i]);
    return TRUE;
}

void AddMenuCommands(HMENU menu, std::set<UINT>& ids)
{
    for (int i = 0; i < GetMenuItemCount(menu); ++i)
    {
        HMENU popup = GetSubMenu(menu, i);
        if (popup)
            AddMenuCommands(popup, ids);
        else if (GetMenuItemID(menu, i) != 0)
            ids.insert(GetMenuItemID(menu, i));
    }
}

BOOL CALLBACK AddMenuResourceCommands(HMODULE module, LPCSTR, LPSTR name, LONG_PTR param)
{
    HMENU menu = LoadMenuA(module, name);
    AddMenuCommands(menu, *reinterpret_cast<std::set<UINT>*>(param));
    DestroyMenu(menu);
    return TRUE;
}

std::string Text(UINT id)
{
    CString text;
    text.LoadString(id);
    return (LPCSTR)text;
}
}

TEST(CommandStringsTest, EveryCommandOfABarOrAMenuHasAPromptAndATip)
{
    std::set<UINT> ids;
    HMODULE module = GetModuleHandleA(NULL);
    EnumResourceNamesA(module, MAKEINTRESOURCEA(kToolBarType), AddToolBarCommands, (LONG_PTR)&ids);
    size_t barCommands = ids.size();
    EnumResourceNamesA(module, (LPCSTR)RT_MENU, AddMenuResourceCommands, (LONG_PTR)&ids);
    // The four bars and the user buttons' strip, then the menus' own commands.
    ASSERT_GT(barCommands, 50u);
    ASSERT_GT(ids.size(), barCommands);
    for (UINT id : ids)
    {
        std::string text = Text(id);
        size_t newline = text.find('\n');
        EXPECT_TRUE(newline != std::string::npos && newline > 0) << id << ": \"" << text << "\"";
        EXPECT_FALSE(TkBarToolTip::TipOfCommand(id).IsEmpty()) << id << ": \"" << text << "\"";
    }
}

TEST(CommandStringsTest, TheProgramsOwnTextsReadExactly)
{
    const struct
    {
        UINT id;
        const char* text;
    } cases[] = {
        {32785, "Play the current player\nPlay"},
        {32845, "Go to the next track on the current player\nTrack Forward"},
        {32849, "Search forward fast on the current player\nFast Forward"},
        {32850, "Search backward fast on the current player\nFast Rewind"},
        {32913, "Reload library from disk\nReload library from disk"},
        {32949, "Compact library data for better performance\nCompact library data for better performance"},
        {33084, "Lookup and show full CDDB info for disc\nLookup and show full CDDB info for disc"},
        {33074, "Submit lyrics to the web for selected items\nSubmit Lyrics"},
        {33087, "Remove image association for this item\nRemove image association for this item"},
        {32907, "Schedule a playlist\nSchedule a playlist"},
        {32824, "Print the contents of the disc library"},
        {32957, "User button 1\nUser 1"},
        {33056, "User button 100\nUser 100"},
        {IDS_IDLE_MESSAGE, "Ready"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.text, Text(c.id)) << c.id;
    // A string without a tip gives none; the tip ends at a further newline.
    EXPECT_EQ("", std::string(TkBarToolTip::TipOfCommand(32824)));
    EXPECT_EQ("Zym", std::string(TkBarToolTip::TipOfCommand(IDR_ZYMTYPE)));
    EXPECT_EQ("", std::string(TkBarToolTip::TipOfCommand(1)));
}
