// Sort keys of CLxListCtrl: one record per row for the length of one sort,
// holding the key of the sorted cell and the row's own item data.
#pragma once

#include "LxListCtrl.h"

#include <afxdisp.h>

#include <vector>

enum LxSortKind
{
    kLxSortText,
    kLxSortNumber,     // atoi of the text
    kLxSortDotNumber,  // atoi of the text without its dots (thousands separators)
    kLxSortDate,
};

struct CLxSortNumber
{
    int m_number;
    DWORD_PTR m_itemData;
    int m_row;
};

struct CLxSortDate
{
    COleDateTime m_date;
    DWORD_PTR m_itemData;
    int m_row;
};

class CLxSortText
{
public:
    virtual ~CLxSortText() = default;
    CString m_text;
    DWORD_PTR m_itemData;
    int m_row;
};

// Runs one sort of a list by one column.
class CLxSortItems
{
public:
    CLxSortItems(CLxListCtrl& list, int column, LxSortKind kind);
    // Sorts the rows; stable, so ties keep the order of the previous sort.
    void Sort(bool ascending);

    static LxSortKind KindOf(CLxListCtrl& list, int column);

private:
    CLxSortItems(const CLxSortItems&);
    void operator=(const CLxSortItems&);

    void BuildKeys();
    void AddKey(int row, DWORD_PTR itemData, const CString& text);
    PFNLVCOMPARE Comparison(bool ascending) const;
    int RowOf(LPARAM key) const;
    DWORD_PTR ItemDataOf(LPARAM key) const;
    // Moves each row's contents (item data, state, image, indent) to its place.
    void MoveContents(const std::vector<LPARAM>& order);
    // The list view sorts, with the keys standing in for the item data.
    void SortInList(PFNLVCOMPARE compare);

    CLxListCtrl& m_list;
    int m_column;
    LxSortKind m_kind;
    std::vector<CLxSortNumber> m_numbers;
    std::vector<CLxSortDate> m_dates;
    std::vector<CLxSortText> m_texts;
    std::vector<LPARAM> m_keys;
};
