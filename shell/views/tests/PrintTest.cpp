// Printing the library's lists: without a printer the commands only say so;
// the pages a view prints are recorded through the preview, on the screen
// standing in for the printer, and read back as the texts drawn.
#include "shell/views/tests/ShellViewFixture.h"

#include "shell/views/AlbumListView.h"
#include "tests/support/MessageBoxScript.h"
#include "tests/support/MetafileText.h"
#include "shell/views/SearchView.h"
#include "shell/views/ViewsResources.h"

#include <mfc/PrintInfo.h>
#include <mfc/PrintPreviewWnd.h>

namespace {

const MetafileText* Find(const std::vector<MetafileText>& texts, const std::string& text)
{
    for (const MetafileText& drawn : texts)
        if (drawn.text == text)
            return &drawn;
    return nullptr;
}

// The album titles a page shows, in the order drawn.
Texts AlbumTitles(const std::vector<MetafileText>& texts)
{
    Texts titles;
    for (const MetafileText& drawn : texts)
        if (drawn.text.compare(0, 6, "Album ") == 0)
            titles.push_back(drawn.text);
    return titles;
}

BOOL CALLBACK FindPreview(HWND window, LPARAM found)
{
    char caption[64] = "";
    ::GetWindowTextA(window, caption, sizeof caption);
    if (std::string(caption).compare(0, 13, "Print Preview") == 0)
        *reinterpret_cast<int*>(found) += 1;
    return TRUE;
}

int PreviewWindows()
{
    int found = 0;
    EnumThreadWindows(GetCurrentThreadId(), FindPreview, reinterpret_cast<LPARAM>(&found));
    return found;
}

class PrintTest : public ShellViewFixture
{
protected:
    // A preview of the view on the screen as its printer; the window
    // deletes itself when it closes.
    CPrintPreviewWnd* Preview(CView* view)
    {
        std::unique_ptr<CPrintInfo> info(new CPrintInfo);
        info->m_bPreview = TRUE;
        info->m_hPrinterDC = CreateDCA("DISPLAY", NULL, NULL, NULL);
        CPrintPreviewWnd* preview = new CPrintPreviewWnd(view, std::move(info));
        if (!preview->Create(NULL))
        {
            delete preview;
            return nullptr;
        }
        return preview;
    }
    static void Click(CPrintPreviewWnd* preview, UINT id)
    {
        preview->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)::GetDlgItem(preview->m_hWnd, id));
    }
    static std::string Caption(CWnd* window)
    {
        CString text;
        window->GetWindowText(text);
        return std::string(text);
    }
    void AddAlbums(int count)
    {
        for (int i = 0; i < count; ++i)
        {
            char id[17], title[16];
            snprintf(id, sizeof id, "%016X", 0xA000 + i);
            snprintf(title, sizeof title, "Album %03d", i);
            AddAlbum(id, title, 1, true);
        }
    }
};

TEST_F(PrintTest, WithoutAPrinterEachCommandOnlySaysSo)
{
    CAlbumListView* albums = Show<CAlbumListView>(RUNTIME_CLASS(CAlbumListView));
    CSearchView* search = Show<CSearchView>(RUNTIME_CLASS(CSearchView));
    struct Case
    {
        CView* view;
        UINT command;
    } cases[] = {
        {albums, ID_LIBRARY_PRINT},
        {albums, ID_LIBRARY_PRINT_PREVIEW},
        {search, ID_SEARCH_PRINT},
        {search, ID_SEARCH_PRINT_PREVIEW},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.command);
        CMessageBoxScript boxes;
        boxes.Then(IDOK);
        c.view->SendMessage(WM_COMMAND, c.command);
        PumpMessages();
        ASSERT_EQ(1u, boxes.Shown().size());
        EXPECT_EQ("No printer is installed. Install a printer to print or preview.", boxes.Shown()[0].text);
        EXPECT_EQ(0, PreviewWindows());
    }
    // The other views ignore the commands of these lists.
    CMessageBoxScript boxes;
    albums->SendMessage(WM_COMMAND, ID_SEARCH_PRINT);
    search->SendMessage(WM_COMMAND, ID_LIBRARY_PRINT_PREVIEW);
    PumpMessages();
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(PrintTest, PagesCarryHeadingMarginsAndTheirShareOfRows)
{
    AddAlbums(150);
    CAlbumListView* albums = Show<CAlbumListView>(RUNTIME_CLASS(CAlbumListView));
    m_doc->UpdateAllViews(NULL, kViewHintAll);
    Texts rows = Column(albums->GetList(), 3);
    ASSERT_EQ(150u, rows.size());

    CPrintPreviewWnd* preview = Preview(albums);
    ASSERT_TRUE(preview);
    std::vector<MetafileText> first = ReadMetafileTexts(preview->GetPagePicture());
    Texts firstRows = AlbumTitles(first);
    size_t perPage = firstRows.size();
    ASSERT_GT(perPage, 0u);
    EXPECT_EQ(150 / perPage + 1, preview->GetPageCount());
    EXPECT_EQ(Texts(rows.begin(), rows.begin() + perPage), firstRows);

    // Title at the left and top margins (15 and 10 mm), page number and date.
    HDC screen = GetDC(NULL);
    int dpiX = GetDeviceCaps(screen, LOGPIXELSX), dpiY = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(NULL, screen);
    const MetafileText* title = Find(first, "Music Library");
    ASSERT_TRUE(title);
    EXPECT_EQ(MulDiv(15, dpiX * 10, 254), title->at.x);
    EXPECT_EQ(MulDiv(10, dpiY * 10, 254), title->at.y);
    EXPECT_TRUE(Find(first, "1"));
    SYSTEMTIME today;
    GetLocalTime(&today);
    char date[16];
    snprintf(date, sizeof date, "%02d/%02d/%d", today.wMonth, today.wDay, today.wYear);
    EXPECT_TRUE(Find(first, date));
    EXPECT_EQ("Print Preview - Page 1 of " + std::to_string(preview->GetPageCount()), Caption(preview));
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(preview->m_hWnd, ID_PREVIEW_PREV)));

    Click(preview, ID_PREVIEW_NEXT);
    EXPECT_EQ(2u, preview->GetPage());
    std::vector<MetafileText> second = ReadMetafileTexts(preview->GetPagePicture());
    EXPECT_TRUE(Find(second, "2"));
    Texts secondRows = AlbumTitles(second);
    ASSERT_FALSE(secondRows.empty());
    EXPECT_EQ(rows[perPage], secondRows.front());

    // Turning past either end stays on the last or the first page.
    UINT last = preview->GetPageCount();
    preview->GoToPage(last + 5);
    EXPECT_EQ(last, preview->GetPage());
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(preview->m_hWnd, ID_PREVIEW_NEXT)));
    EXPECT_EQ(rows.back(), AlbumTitles(ReadMetafileTexts(preview->GetPagePicture())).back());
    Click(preview, ID_PREVIEW_PREV);
    EXPECT_EQ(last - 1, preview->GetPage());
    preview->GoToPage(0);
    EXPECT_EQ(1u, preview->GetPage());
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(preview->m_hWnd, ID_PREVIEW_NEXT)));

    HWND window = preview->m_hWnd;
    Click(preview, ID_PREVIEW_CLOSE);
    EXPECT_FALSE(::IsWindow(window));
}

TEST_F(PrintTest, PageKeysTurnThePagesAndEscapeCloses)
{
    AddAlbums(150);
    CAlbumListView* albums = Show<CAlbumListView>(RUNTIME_CLASS(CAlbumListView));
    m_doc->UpdateAllViews(NULL, kViewHintAll);
    CPrintPreviewWnd* preview = Preview(albums);
    ASSERT_TRUE(preview);
    ASSERT_GT(preview->GetPageCount(), 2u);
    HWND window = preview->m_hWnd;
    HWND button = ::GetDlgItem(window, ID_PREVIEW_CLOSE);
    const struct
    {
        WPARAM key;
        UINT page;
    } keys[] = {{VK_NEXT, 2}, {VK_NEXT, 3}, {VK_PRIOR, 2}};
    for (const auto& k : keys)
    {
        ::PostMessageA(button, WM_KEYDOWN, k.key, 1);
        PumpMessages();
        EXPECT_EQ(k.page, preview->GetPage()) << k.key;
    }
    ::PostMessageA(button, WM_KEYDOWN, VK_ESCAPE, 1);
    PumpMessages();
    EXPECT_FALSE(::IsWindow(window));
}

TEST_F(PrintTest, AnEmptyListPrintsOnePageOfHeadingOnly)
{
    CAlbumListView* albums = Show<CAlbumListView>(RUNTIME_CLASS(CAlbumListView));
    CPrintPreviewWnd* preview = Preview(albums);
    ASSERT_TRUE(preview);
    EXPECT_EQ(1u, preview->GetPageCount());
    std::vector<MetafileText> page = ReadMetafileTexts(preview->GetPagePicture());
    EXPECT_TRUE(Find(page, "Music Library"));
    EXPECT_TRUE(Find(page, "Artist"));
    EXPECT_TRUE(AlbumTitles(page).empty());
    preview->DestroyWindow();
}

TEST_F(PrintTest, SearchResultsAreTitledWithTheExpression)
{
    CSearchView* search = Show<CSearchView>(RUNTIME_CLASS(CSearchView));
    search->SetDlgItemText(IDC_SEARCH_EXPRESSION, "artist=Band");
    search->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_SEARCH_RUN, BN_CLICKED),
                        (LPARAM)::GetDlgItem(search->m_hWnd, IDC_SEARCH_RUN));
    PumpMessages();
    CPrintPreviewWnd* preview = Preview(search);
    ASSERT_TRUE(preview);
    EXPECT_TRUE(Find(ReadMetafileTexts(preview->GetPagePicture()), "Results of search artist=Band"));
    preview->DestroyWindow();
}

TEST_F(PrintTest, APreviewWhoseViewWentClosesOnTheNextTurn)
{
    AddAlbums(150);
    CAlbumListView* albums = Show<CAlbumListView>(RUNTIME_CLASS(CAlbumListView));
    m_doc->UpdateAllViews(NULL, kViewHintAll);
    CPrintPreviewWnd* preview = Preview(albums);
    ASSERT_TRUE(preview);
    HWND window = preview->m_hWnd;
    m_frames.clear();
    PumpMessages();
    ASSERT_TRUE(::IsWindow(window));
    Click(preview, ID_PREVIEW_NEXT);
    PumpMessages();
    EXPECT_FALSE(::IsWindow(window));
}

} // namespace
