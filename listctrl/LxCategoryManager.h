// CLxCategoryManager: groups the rows of a list under category rows. It keeps
// its own copy of every item's data, has the owner file each item into a
// category, and rebuilds the list: one row per category, followed by the
// category's items while it is expanded. A category row's item data is the
// address of its record, which tells category rows from item rows.
#pragma once

#include <afxcmn.h>

#include <ctime>
#include <memory>
#include <vector>

class CLxCategoryManager;
typedef void (CWnd::*LxCategorizeItem)(CLxCategoryManager* manager, DWORD_PTR* itemData);
typedef void (CWnd::*LxCategorizeAll)(CLxCategoryManager* manager);

enum
{
    kLxCategoryText = 0,
    kLxCategoryTime = 2,
    kLxCategoryNumber = 4,
};

struct LxCategory
{
    CString name;
    std::vector<DWORD_PTR> items;
    int kind = kLxCategoryText;
    bool expanded = false;
    CString key;
    double low = 0, high = 0;
    time_t from = 0, to = 0;
};

class CLxCategoryManager
{
public:
    CLxCategoryManager(CWnd* owner, LxCategorizeItem categorizeItem,
                       LxCategorizeAll categorizeAll);
    virtual ~CLxCategoryManager();

    int AddTextCategory(const char* name, const char* key);
    int AddTimeRangeCategory(const char* name, time_t from, time_t to);
    int AddNumberRangeCategory(const char* name, double low, double high);
    int FindTextCategory(const char* text) const;
    int FindTimeCategory(time_t time) const;
    int FindNumberCategory(double value) const;
    // Refused (false) for an unknown category or one that holds every item.
    bool AddItemToCategory(int category, DWORD_PTR itemData);
    int IndexOfCategory(const void* record) const;
    int GetCategoryCount() const { return (int)m_categories.size(); }
    LxCategory* GetCategory(int index);
    CString CategoryText(int index) const;

    int Categorize(CListCtrl& list);
    void Rebuild(CListCtrl& list);
    void Flatten(CListCtrl& list);
    void Expand(int category, int row, CListCtrl& list);
    void Collapse(int category, int row, CListCtrl& list);
    int AddItem(CListCtrl& list, DWORD_PTR itemData);
    // Forgets an item and deletes its rows; false when it was not there.
    bool RemoveItem(CListCtrl& list, DWORD_PTR itemData);

private:
    int AddCategory(const char* name, int kind);
    bool ShowsCategoryRows(CListCtrl& list) const;
    void FileItems();
    int InsertCategoryRow(CListCtrl& list, int row, int category);
    int FindCategoryRow(CListCtrl& list, int category) const;
    void AddItemToShownCategory(CListCtrl& list, int category, DWORD_PTR itemData, int* newRow);

    CWnd* m_owner;
    LxCategorizeItem m_categorizeItem;
    LxCategorizeAll m_categorizeAll;
    std::vector<DWORD_PTR> m_items;
    // Records are held by pointer: their addresses are the category rows' data.
    std::vector<std::unique_ptr<LxCategory>> m_categories;
};
