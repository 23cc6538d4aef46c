// Menu templates read in place: top-level items, their texts and popups
// built from them; templates cut short, without end flags or nested too deep
// yield what can be read and nothing past their end.
#include "tests/support/TestFramework.h"

#include "toolkit/menus/TkMenuTemplate.h"

#include <string>
#include <vector>

namespace
{
// Writes a menu template: header, then items in order.
class CTemplate
{
public:
    CTemplate() { Word(0).Word(0); }
    CTemplate& Word(WORD value)
    {
        m_bytes.push_back(value & 0xFF);
        m_bytes.push_back(value >> 8);
        return *this;
    }
    CTemplate& Text(const char* text)
    {
        for (const char* p = text; *p; p++)
            Word((BYTE)*p);
        return Word(0);
    }
    CTemplate& Item(WORD flags, WORD id, const char* text)
    {
        return Word(flags).Word(id).Text(text);
    }
    CTemplate& Popup(WORD flags, const char* text) { return Word(flags | MF_POPUP).Text(text); }
    // The first bytes only.
    CTemplate& Cut(size_t size)
    {
        m_bytes.resize(size);
        return *this;
    }
    TkMenuTemplate Read() const { return TkMenuTemplate(m_bytes.data(), (DWORD)m_bytes.size()); }
    size_t Size() const { return m_bytes.size(); }

private:
    std::vector<BYTE> m_bytes;
};

CTemplate TwoMenus()
{
    CTemplate t;
    t.Popup(0, "&File").Item(0, 1, "&New").Item(0, 0, "");
    t.Popup(MF_END, "&Recent").Item(MF_END, 3, "One");
    t.Popup(MF_END, "&Edit").Item(MF_END | MF_GRAYED, 2, "&Cut");
    return t;
}

std::vector<std::string> Titles(const TkMenuTemplate& menu)
{
    std::vector<std::string> titles;
    for (int i = 0; i < menu.GetItemCount(); i++)
    {
        CString text;
        EXPECT_TRUE(menu.GetItemText(i, text));
        titles.push_back((LPCSTR)text);
    }
    return titles;
}

// "text/id/flags" per item, nested popups in brackets.
std::string Describe(HMENU menu)
{
    std::string result;
    for (int i = 0; i < ::GetMenuItemCount(menu); i++)
    {
        char text[64] = "";
        MENUITEMINFOA info = {sizeof(info)};
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_SUBMENU | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = sizeof(text);
        ::GetMenuItemInfoA(menu, i, TRUE, &info);
        result += result.empty() ? "" : " ";
        if (info.fType & MFT_SEPARATOR)
            result += "-";
        else if (info.hSubMenu)
            result += std::string(text) + "[" + Describe(info.hSubMenu) + "]";
        else
            result += std::string(text) + "/" + std::to_string(info.wID) +
                      ((info.fState & MFS_GRAYED) ? "/grey" : "");
    }
    return result;
}

TEST(MenuTemplateTest, TopItemsTextsAndPopups)
{
    CTemplate bytes = TwoMenus();
    TkMenuTemplate menu = bytes.Read();
    ASSERT_TRUE(menu.IsValid());
    EXPECT_EQ(std::vector<std::string>({"&File", "&Edit"}), Titles(menu));
    HMENU file = menu.CreatePopup(0);
    ASSERT_NE(nullptr, file);
    EXPECT_EQ("&New/1 - &Recent[One/3]", Describe(file));
    ::DestroyMenu(file);
    HMENU edit = menu.CreatePopup(1);
    EXPECT_EQ("&Cut/2/grey", Describe(edit));
    ::DestroyMenu(edit);
    EXPECT_EQ(nullptr, menu.CreatePopup(2));
    EXPECT_EQ(nullptr, menu.CreatePopup(-1));
}

TEST(MenuTemplateTest, BrokenTemplatesStayInsideTheirBytes)
{
    CTemplate whole = TwoMenus();
    CTemplate deep;
    for (int level = 0; level < 40; level++)
        deep.Popup(MF_END, "x");
    deep.Item(MF_END, 1, "bottom");
    CTemplate noEnd;
    noEnd.Popup(0, "&File").Item(MF_END, 1, "&New").Popup(0, "&Edit").Item(MF_END, 2, "&Cut");
    CTemplate popupWithoutEnd;
    popupWithoutEnd.Popup(0, "&File").Item(0, 1, "&New").Item(0, 2, "&Open");
    CTemplate bigHeader;
    bigHeader.Cut(0);
    bigHeader.Word(0).Word(500).Popup(MF_END, "&File").Item(MF_END, 1, "&New");
    struct Case
    {
        const char* name;
        CTemplate bytes;
        bool valid;
        std::vector<std::string> titles;
        // Describe() of each top item's popup, "none" when it cannot be built.
        std::vector<std::string> popups;
    } cases[] = {
        {"empty", CTemplate().Cut(0), false, {}, {}},
        {"header cut", CTemplate().Cut(3), false, {}, {}},
        {"header larger than the resource", bigHeader, false, {}, {}},
        {"no items", CTemplate(), true, {}, {}},
        {"cut inside the first text", CTemplate(whole).Cut(9), true, {}, {}},
        {"cut inside the second menu", CTemplate(whole).Cut(whole.Size() - 4), true,
         {"&File", "&Edit"},
         {"&New/1 - &Recent[One/3]", "none"}},
        {"no end flag at the top", noEnd, true, {"&File", "&Edit"}, {"&New/1", "&Cut/2"}},
        {"a popup level without an end flag", popupWithoutEnd, true, {"&File"}, {"none"}},
        {"nested past the depth limit", deep, true, {"x"}, {"none"}},
    };
    for (const Case& test : cases)
    {
        SCOPED_TRACE(test.name);
        TkMenuTemplate menu = test.bytes.Read();
        EXPECT_EQ(test.valid, (bool)menu.IsValid());
        EXPECT_EQ(test.titles, Titles(menu));
        std::vector<std::string> popups;
        for (int i = 0; i < menu.GetItemCount(); i++)
        {
            HMENU popup = menu.CreatePopup(i);
            popups.push_back(popup ? Describe(popup) : "none");
            if (popup)
                ::DestroyMenu(popup);
        }
        EXPECT_EQ(test.popups, popups);
    }
}
}  // namespace
