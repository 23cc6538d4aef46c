// Sort keys of CLxListCtrl: every row's contents and the keys of the sorted
// cells, read once for the length of one sort.
#pragma once

#include "listctrl/LxListCtrl.h"

#include <afxdisp.h>

#include <string>
#include <unordered_map>
#include <vector>

enum LxSortKind
{
    kLxSortText,
    kLxSortNumber,     // atoi of the text
    kLxSortDotNumber,  // atoi of the text without its dots (thousands separators)
    kLxSortDate,
};

// The keys of one column, one per row.
class CLxSortKeys
{
public:
    CLxSortKeys(int column, LxSortKind kind, bool ascending, int rows);
    int Column() const { return m_column; }
    // A text key takes the text over, folded.
    void Add(CString& text);
    // Negative, zero or positive as row a sorts before, with or after row b.
    int Compare(int a, int b) const;

private:
    int CompareAscending(int a, int b) const;
    // Parsing a date costs far more than looking it up, and a column's dates
    // repeat: each distinct text is parsed once per sort.
    const COleDateTime& ParsedDate(const CString& text);

    int m_column;
    LxSortKind m_kind;
    bool m_ascending;
    std::vector<int> m_numbers;
    std::vector<COleDateTime> m_dates;
    std::vector<CString> m_texts;
    std::unordered_map<std::string, COleDateTime> m_parsedDates;
};

// Runs one sort of a list by one or more columns.
class CLxSortItems
{
public:
    explicit CLxSortItems(CLxListCtrl& list);
    // Keys in the order of significance: a later key orders the ties of the
    // ones before it.
    void AddKey(int column, bool ascending);
    // Sorts the rows; stable, so rows that tie on every key keep their order.
    void Sort();

    static LxSortKind KindOf(CLxListCtrl& list, int column);

private:
    CLxSortItems(const CLxSortItems&);
    void operator=(const CLxSortItems&);

    void ReadRows();
    void ReadKeptRows();
    void ReadKeys();
    bool Before(int a, int b) const;
    static int CALLBACK CompareRows(LPARAM a, LPARAM b, LPARAM items);
    // Moves each row's contents (item data, state, image, indent) to its place,
    // writing only the rows whose contents change.
    void MoveContents(const std::vector<int>& order);
    // The kept item data and the list view's states of one row.
    void MoveKeptRow(const LVITEMA& contents, int row);
    // The list view sorts, with row numbers standing in for the item data.
    void SortInList();

    CLxListCtrl& m_list;
    std::vector<CLxSortKeys> m_keys;
    std::vector<LVITEMA> m_rows;
};
