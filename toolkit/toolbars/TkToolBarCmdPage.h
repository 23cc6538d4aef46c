// TkToolBarCmdPage: the "Commands" page of the customise sheet: a list of
// command categories and, beside it, the commands of the chosen one, whose
// buttons the user drags onto tool bars. The application defines the
// categories before the sheet runs.
#pragma once

#include <afxdlgs.h>

class TkBtnGroup;
class TkToolBarManager;

const UINT IDD_TK_COMMANDS_PAGE = 20509;
const UINT IDC_TK_BUTTONS_FRAME = 43093;
const UINT IDC_TK_CATEGORIES = 43094;
const UINT IDC_TK_DESCRIPTION = 43095;
// Control ids of the categories' windows count down from here.
const UINT kTkFirstCategoryId = 0xE8AF;

class TkToolBarCmdPage : public CPropertyPage
{
    DECLARE_DYNAMIC(TkToolBarCmdPage)
public:
    // The categories, owned.
    class CGroupArray : public CObArray
    {
    public:
        ~CGroupArray() override;
        TkBtnGroup* GetGroup(int index) const { return (TkBtnGroup*)GetAt(index); }
    };

    explicit TkToolBarCmdPage(UINT captionId = 0);

    // A category of tool-bar buttons; ids stay the caller's.
    void DefineBtnGroup(LPCSTR title, int count, const UINT* ids);
    // A category of the menu bar's menu buttons shown for its current menu;
    // nothing without a manager, button maps or such a button. A page has
    // one menu category.
    void DefineMenuGroup(LPCSTR title);
    // Also registers the page for "WM_BARNOTIFY".
    void SetManager(TkToolBarManager* manager);
    // The command's prompt (its string up to the first newline) as the description.
    void ShowDescription(UINT id);

    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;
    BOOL OnKillActive() override;
    void OnReset() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    int GetGroupCount() const { return (int)m_groups.GetSize(); }
    TkBtnGroup* GetGroup(int index) const { return m_groups.GetGroup(index); }
    // The shown category's index, -1 for none.
    int GetShownGroup() const { return m_nShown; }

protected:
    // Where the categories' windows lie: inside the "Buttons" frame.
    CRect GroupArea() const;
    void OnCategoryChange();
    void OnBarNotify(UINT barId, LPARAM code);
    void OnStyleChanging(WPARAM what);
    TkBtnGroup* GroupOfWindow(UINT id) const;

    CGroupArray m_groups;
    TkToolBarManager* m_pManager;
    int m_nShown;
    // The menu category's command ids.
    CArray<UINT, UINT> m_menuIds;
};
