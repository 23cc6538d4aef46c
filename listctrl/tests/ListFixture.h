// A CLxListCtrl in a frame, with an owner that answers cell texts from a table
// (by item data and column id) and records what the list asks and sends it.
#pragma once

#include "tests/support/TestFramework.h"
#include "tests/support/Waits.h"

#include "listctrl/LxListCtrl.h"

#include <functional>
#include <string>
#include <vector>

const UINT kListId = 300;

struct LxRequestSeen
{
    int code;
    int row;
    int columnId;
    DWORD_PTR itemData;
    std::string text;
    bool operator==(const LxRequestSeen& other) const
    {
        return code == other.code && row == other.row && columnId == other.columnId &&
               itemData == other.itemData && text == other.text;
    }
};

inline std::ostream& operator<<(std::ostream& out, const LxRequestSeen& seen)
{
    return out << "{" << seen.code << ", row " << seen.row << ", id " << seen.columnId
               << ", data " << seen.itemData << ", \"" << seen.text << "\"}";
}

class CListOwner : public CWnd
{
public:
    // Texts by item data, then by column id.
    std::vector<std::vector<std::string>> m_cells;
    std::vector<LxRequestSeen> m_requests;
    std::vector<std::string> m_events;
    // Answers a request; none set: the owner answers nothing.
    std::function<BOOL(CLxListRequest&)> m_answer;

    // Answers a column's texts at once (the column-texts handler); every
    // call's column id and item data are recorded.
    std::function<bool(int, const std::vector<DWORD_PTR>&, std::vector<CString>&)> m_columnTexts;
    std::vector<std::pair<int, std::vector<DWORD_PTR>>> m_columnTextsAsked;

    bool ColumnTexts(int columnId, const std::vector<DWORD_PTR>& itemData, std::vector<CString>& texts)
    {
        m_columnTextsAsked.push_back({columnId, itemData});
        return m_columnTexts && m_columnTexts(columnId, itemData, texts);
    }

    // Files an item into a category; none set: the owner files nothing.
    std::function<void(CLxCategoryManager*, DWORD_PTR*)> m_categorize;

    void Categorize(CLxCategoryManager* manager, DWORD_PTR* itemData)
    {
        if (m_categorize)
            m_categorize(manager, itemData);
    }
    LRESULT OnRequest(WPARAM, LPARAM lParam)
    {
        CLxListRequest& request = *(CLxListRequest*)lParam;
        m_requests.push_back({request.m_code, request.m_row, request.m_columnId,
                              request.m_itemData, (LPCSTR)request.m_text});
        return m_answer ? m_answer(request) : FALSE;
    }
    void OnGetDispInfo(NMHDR* header, LRESULT*)
    {
        LVITEMA& item = ((NMLVDISPINFOA*)header)->item;
        if (!(item.mask & LVIF_TEXT))
            return;
        size_t data = (size_t)item.lParam;
        const char* text = "";
        if (data < m_cells.size() && (size_t)item.iSubItem < m_cells[data].size())
            text = m_cells[data][item.iSubItem].c_str();
        lstrcpynA(item.pszText, text, item.cchTextMax);
    }
    void OnDblClk(NMHDR* header, LRESULT*)
    {
        m_events.push_back("NM_DBLCLK from " + std::to_string(header->idFrom));
    }
    void OnLButtonDblClk(UINT, CPoint point)
    {
        m_events.push_back("WM_LBUTTONDBLCLK " + std::to_string(point.x) + "," +
                           std::to_string(point.y));
    }
    void OnBeginDrag(NMHDR* header, LRESULT*)
    {
        m_events.push_back("LVN_BEGINDRAG " + std::to_string(((NMLISTVIEW*)header)->iItem));
    }
    // The list hands its context menu on as a right button release.
    void OnRButtonUp(UINT, CPoint point)
    {
        m_events.push_back("WM_RBUTTONUP " + std::to_string(point.x) + "," + std::to_string(point.y));
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CListOwner, CWnd)
    ON_MESSAGE(WM_LX_REQUEST, OnRequest)
    ON_NOTIFY(LVN_GETDISPINFOA, kListId, OnGetDispInfo)
    ON_NOTIFY(NM_DBLCLK, kListId, OnDblClk)
    ON_NOTIFY(LVN_BEGINDRAG, kListId, OnBeginDrag)
    ON_WM_LBUTTONDBLCLK()
    ON_WM_RBUTTONUP()
END_MESSAGE_MAP()

struct LxColumnSpec
{
    const char* label;
    int width;
    DWORD kind;
};

class ListTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_owner.CreateEx(0, NULL, "list owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
                                     0, 520, 400, NULL, NULL));
        ASSERT_TRUE(m_list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDRAWFIXED |
                                      LVS_SHOWSELALWAYS,
                                  RECT{0, 0, 500, 360}, &m_owner, kListId));
        ASSERT_NE(nullptr, m_list.GetHeader());
    }
    void TearDown() override
    {
        m_list.DestroyWindow();
        m_owner.DestroyWindow();
        PumpMessages();
    }

    void AddColumns(const std::vector<LxColumnSpec>& columns)
    {
        for (const LxColumnSpec& column : columns)
            m_list.InsertColumnEx(m_list.GetColumnCount(), column.label, LVCFMT_LEFT,
                                  column.width, column.kind);
    }
    // One row per entry, its item data the entry's index.
    void AddRows(const std::vector<std::vector<std::string>>& rows)
    {
        for (const auto& row : rows)
        {
            m_list.InsertItemEx(m_list.GetItemCount(), m_owner.m_cells.size());
            m_owner.m_cells.push_back(row);
        }
    }
    // The texts of one column id, row by row, through the list view.
    std::vector<std::string> ColumnTexts(int column)
    {
        std::vector<std::string> texts;
        for (int row = 0; row < m_list.GetItemCount(); row++)
        {
            CString text;
            m_list.GetCellText(row, column, text);
            texts.push_back((LPCSTR)text);
        }
        return texts;
    }
    // Keys and characters go to the window with the focus, as from the keyboard.
    void KeyToFocus(UINT key)
    {
        HWND focus = ::GetFocus();
        ::PostMessageA(focus, WM_KEYDOWN, key, 1);
        ::PostMessageA(focus, WM_KEYUP, key, 0xC0000001);
        PumpMessages();
    }
    void TypeToFocus(const char* text)
    {
        for (const char* c = text; *c; c++)
            ::PostMessageA(::GetFocus(), WM_CHAR, (BYTE)*c, 1);
        PumpMessages();
    }
    // A double click near the left edge of a cell, the cursor moved there too.
    void DoubleClickCell(int row, int column)
    {
        CRect cell;
        ASSERT_TRUE(m_list.GetCellRect(row, column, &cell));
        CPoint point(cell.left + 8, cell.CenterPoint().y);
        CPoint screen = point;
        m_list.ClientToScreen(&screen);
        ::SetCursorPos(screen.x, screen.y);
        m_list.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(point.x, point.y));
        PumpMessages();
    }
    // Category view filing each item under the text of one of its cells.
    void FileByColumn(int columnId)
    {
        m_owner.m_categorize = [this, columnId](CLxCategoryManager* manager, DWORD_PTR* itemData) {
            const char* key = m_owner.m_cells[*itemData][columnId].c_str();
            int category = manager->FindTextCategory(key);
            if (category < 0)
                category = manager->AddTextCategory(key, key);
            manager->AddItemToCategory(category, *itemData);
        };
        m_list.m_pfnCategoryHandler = static_cast<LxCategorizeItem>(&CListOwner::Categorize);
    }
    // Each row: its category text, or "item N" by item data.
    std::vector<std::string> Rows(CLxCategoryManager& manager)
    {
        std::vector<std::string> rows;
        for (int row = 0; row < m_list.GetItemCount(); row++)
        {
            DWORD_PTR data = m_list.GetItemData(row);
            if (manager.IndexOfCategory((const void*)data) >= 0)
                rows.push_back((LPCSTR)m_list.GetItemText(row, 0));
            else
                rows.push_back("item " + std::to_string(data));
        }
        return rows;
    }
    std::vector<DWORD_PTR> ItemData()
    {
        std::vector<DWORD_PTR> data;
        for (int row = 0; row < m_list.GetItemCount(); row++)
            data.push_back(m_list.GetItemData(row));
        return data;
    }

    CListOwner m_owner;
    CLxListCtrl m_list;
};
