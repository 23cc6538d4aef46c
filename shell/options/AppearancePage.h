// Options page "Appearance": the list views' font and text colour, the
// window icon, the views' banners, and the colours of each player's rows.
// A colour picked here is in the options at once, so the rows, which ask the
// document for their colours, show it straight away.
#pragma once

#include "shell/options/OptionsPage.h"
#include "core/doc/ZymOptions.h"

#include "listctrl/LxListCtrl.h"
#include "toolkit/buttons/TkWellButton.h"

class CAppearancePage : public COptionsPage
{
public:
    CAppearancePage(CPage8& values, COptionsHost& host);

    BOOL OnInitDialog() override;

    // The player whose colours a row shows: -1 missing, 1001 MP3, else the changer.
    static int RowPlayer(int row);
    CLxListCtrl& GetList() { return m_list; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnFonts();
    void OnRowChanged(NMHDR* header, LRESULT* result);
    LRESULT OnColorPicked(WPARAM id, LPARAM color);
    DECLARE_MESSAGE_MAP()

private:
    void CellText(int row, int columnId, DWORD_PTR itemData, CString& text);
    BOOL CellLook(CLxListRequest& request);
    void ApplyListLook();
    void ShowRowColors();

    CPage8& m_values;
    TkWellButton m_foregroundWell;
    TkWellButton m_backgroundWell;
    CLxListCtrl m_list;
    int m_selectedRow = 0;
};
