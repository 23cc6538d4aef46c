// Times the list control at 10,000 and 150,000 rows of owner texts: insert,
// sorts up and down by text, date and number, ReSort, a page repaint, a full
// scroll and a type-ahead key that finds nothing. Sorts run every way the list
// can reorder rows: moving row contents, the list view's own LVM_SORTITEMS
// (taken when rows hold texts of their own), and rows the list keeps itself
// in an owner-data list view (filled in one step, as the views fill).
// Needs a display.
#include "listctrl/LxListCtrl.h"

#include "platform/crt/Random.h"

#include <stdio.h>

#include <string>
#include <vector>

namespace
{
const UINT kListId = 100;
const int kSizes[] = {1000, 10000, 150000};
const int kRepaints = 20;
// The list view's own sort shifts its whole row array per row out of order:
// at the large size it is timed once only.
const int kListViewSortLimit = 10000;

const char* const kWords[] = {"love", "night", "blue", "road", "heart", "rain", "fire", "dream",
                              "city", "river", "song", "time", "light", "home", "dance", "shadow"};

enum { kTitle, kAdded, kPlays };

enum BenchWay { kContents, kOwnTexts, kKeptRows };
const char* const kWayNames[] = {"contents", "list view", "kept rows"};

class CBenchOwner : public CWnd
{
public:
    std::vector<std::vector<std::string>> m_cells;
    void OnGetDispInfo(NMHDR* header, LRESULT*)
    {
        LVITEMA& item = ((NMLVDISPINFOA*)header)->item;
        if (item.mask & LVIF_TEXT)
            lstrcpynA(item.pszText, m_cells[item.lParam][item.iSubItem].c_str(), item.cchTextMax);
    }
    // A column's texts at once, as the jukebox's views answer them.
    bool ColumnTexts(int columnId, const std::vector<DWORD_PTR>& rows, std::vector<CString>& texts)
    {
        for (DWORD_PTR row : rows)
            texts.push_back(m_cells[row][columnId].c_str());
        return true;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBenchOwner, CWnd)
    ON_NOTIFY(LVN_GETDISPINFOA, kListId, OnGetDispInfo)
END_MESSAGE_MAP()

LARGE_INTEGER g_frequency;

double Now()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart * 1000.0 / g_frequency.QuadPart;
}

#define PICK(words) (words[MsRand() % (sizeof(words) / sizeof(words[0]))])

void MakeCells(CBenchOwner& owner, int rows)
{
    MsSrand(1);
    owner.m_cells.clear();
    for (int i = 0; i < rows; i++)
    {
        char date[16];
        wsprintfA(date, "%02d/%02d/%02d", MsRand() % 12 + 1, MsRand() % 28 + 1, MsRand() % 100);
        std::string title = std::string(PICK(kWords)) + " " + PICK(kWords) + " " + PICK(kWords);
        owner.m_cells.push_back({title, date, std::to_string(MsRand() % 5000)});
    }
}

class CBench
{
public:
    CBench(CBenchOwner& owner, int rows, BenchWay way)
        : m_rows(rows), m_listViewSorts(way == kOwnTexts), m_way(kWayNames[way])
    {
        DWORD ownerData = way == kKeptRows ? LVS_OWNERDATA : 0;
        m_list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDRAWFIXED | LVS_SHOWSELALWAYS | ownerData,
                      RECT{0, 0, 780, 560}, &owner, kListId);
        if (way == kKeptRows)
            m_list.KeepRowData();
        m_list.m_pfnColumnTextsHandler = static_cast<LxColumnTextsHandler>(&CBenchOwner::ColumnTexts);
        m_list.InsertColumnEx(kTitle, "Title", LVCFMT_LEFT, 300, kLxColSortable);
        m_list.InsertColumnEx(kAdded, "Added", LVCFMT_LEFT, 150, kLxColSortable | kLxColDate);
        m_list.InsertColumnEx(kPlays, "Plays", LVCFMT_RIGHT, 100, kLxColSortable | kLxColNumeric);
        // As a view refills its list: without a repaint per row.
        double start = Now();
        m_list.SetRedraw(FALSE);
        if (way == kKeptRows)
            m_list.SetRows(Numbers(rows));
        else
        {
            for (int i = 0; i < rows; i++)
                m_list.InsertItemEx(i, i);
        }
        m_list.SetRedraw(TRUE);
        Report("insert", Now() - start);
        if (way == kOwnTexts)
            m_list.SetItemTextEx(0, kPlays, 0, owner.m_cells[0][kPlays].c_str());
    }
    ~CBench()
    {
        double start = Now();
        m_list.DestroyWindow();
        Report("destroy", Now() - start);
    }
    static std::vector<DWORD_PTR> Numbers(int count)
    {
        std::vector<DWORD_PTR> numbers(count);
        for (int i = 0; i < count; i++)
            numbers[i] = i;
        return numbers;
    }
    void Report(const char* what, double ms)
    {
        printf("%7d rows  %-10s %-24s %10.1f ms\n", m_rows, m_way, what, ms);
        fflush(stdout);
    }
    void Sort(const char* what, int column, int ascending)
    {
        double start = Now();
        m_list.SortBy(column, ascending);
        Report(what, Now() - start);
    }
    void Sorts()
    {
        Sort("sort text up", kTitle, 1);
        if (m_listViewSorts && m_rows > kListViewSortLimit)
            return;
        Sort("sort text down", kTitle, 0);
        Sort("sort date up", kAdded, 1);
        Sort("sort date down", kAdded, 0);
        Sort("sort number up", kPlays, 1);
        Sort("sort number down", kPlays, 0);
        double start = Now();
        m_list.ReSort();
        Report("ReSort", Now() - start);
    }
    void Screen()
    {
        double start = Now();
        for (int i = 0; i < kRepaints; i++)
        {
            m_list.Invalidate();
            m_list.UpdateWindow();
        }
        Report("page repaint", (Now() - start) / kRepaints);
        start = Now();
        m_list.EnsureVisible(m_rows - 1, FALSE);
        m_list.UpdateWindow();
        m_list.EnsureVisible(0, FALSE);
        m_list.UpdateWindow();
        Report("full scroll and back", Now() - start);
        m_list.SetItemState(0, LVIS_FOCUSED, LVIS_FOCUSED);
        start = Now();
        m_list.TypeAheadSearch('Q');
        Report("type-ahead miss", Now() - start);
    }

private:
    int m_rows;
    bool m_listViewSorts;
    const char* m_way;
    CLxListCtrl m_list;
};
}

int main()
{
    QueryPerformanceFrequency(&g_frequency);
    CBenchOwner owner;
    if (!owner.CreateEx(0, NULL, "list bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 800, 600,
                        NULL, NULL))
    {
        fprintf(stderr, "listctrlbench: no window (is there a display?)\n");
        return 1;
    }
    for (int rows : kSizes)
    {
        MakeCells(owner, rows);
        for (BenchWay way : {kContents, kOwnTexts, kKeptRows})
        {
            CBench bench(owner, rows, way);
            bench.Sorts();
            if (way != kOwnTexts)
                bench.Screen();
        }
    }
    owner.DestroyWindow();
    return 0;
}
