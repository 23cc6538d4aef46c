#include "shell/options/OptionsSheet.h"

#include "library/views/ViewsHost.h"

#include <string.h>

namespace {

// The values the pages edit, as they were before the sheet ran.
struct SavedValues
{
    explicit SavedValues(const CZymOptions& options)
        : page1(options.m_page1), page2(options.m_page2), page3(options.m_page3), page4(options.m_page4),
          page5(options.m_page5), page7(options.m_page7), page8(options.m_page8), page9(options.m_page9)
    {
    }

    // TRUE when the list font or its colour were put back.
    BOOL Restore(CZymOptions& options) const
    {
        BOOL lookChanged = memcmp(&options.m_page8.m_listFont, &page8.m_listFont, sizeof(LOGFONT)) != 0 ||
                           options.m_page8.m_listFontColor != page8.m_listFontColor;
        options.m_page1 = page1;
        options.m_page2 = page2;
        options.m_page3 = page3;
        options.m_page4 = page4;
        options.m_page5 = page5;
        options.m_page7 = page7;
        options.m_page8 = page8;
        options.m_page9 = page9;
        return lookChanged;
    }

    CPage1 page1;
    CPage2 page2;
    CPage3 page3;
    CPage4 page4;
    CPage5 page5;
    CPage7 page7;
    CPage8 page8;
    CPage9 page9;
};

} // namespace

COptionsSheet::COptionsSheet(CZymOptions& options, COptionsHost& host, const char* title, CWnd* parent)
    : CPropertySheet(title, parent, options.m_startPage), m_cddbPage(options.m_page1, host),
      m_libraryPage(options.m_page2, host), m_playlistsPage(options.m_page3, host),
      m_tavlinPage(options.m_page4, host), m_playersPage(options.m_page5, host),
      m_devicesPage(options, options.m_page6, host), m_mapsPage(options.m_page7, host),
      m_appearancePage(options.m_page8, host), m_filesPage(options.m_page9, host), m_options(options)
{
    m_psh.dwFlags |= PSH_NOAPPLYNOW;
    CPropertyPage* pages[] = { &m_cddbPage,    &m_libraryPage, &m_playlistsPage,  &m_tavlinPage, &m_playersPage,
                               &m_devicesPage, &m_mapsPage,    &m_appearancePage, &m_filesPage };
    for (CPropertyPage* page : pages)
        AddPage(page);
}

// The sheet applies only the pages it has made, and Wine makes none before
// it is shown: opened on another page and left at once, the first page
// never heard OK, so its request goes out after the sheet closed.
INT_PTR COptionsSheet::DoModal()
{
    INT_PTR result = CPropertySheet::DoModal();
    if (result == IDOK)
        m_cddbPage.RequestApply();
    return result;
}

BOOL COptionsSheet::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT id = LOWORD(wParam);
    if (id == IDOK || id == IDCANCEL)
        m_options.m_startPage = GetActiveIndex();
    return CPropertySheet::OnCommand(wParam, lParam);
}

INT_PTR RunOptionsSheet(CZymOptions& options, COptionsHost& host, const char* title, CWnd* parent)
{
    SavedValues saved(options);
    COptionsSheet sheet(options, host, title, parent);
    INT_PTR result = sheet.DoModal();
    if (result != IDOK && saved.Restore(options))
        host.UpdateAllViews(kViewHintListLook);
    return result;
}
