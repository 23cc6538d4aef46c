#include "listctrl/LxCategoryManager.h"

#include <algorithm>

namespace
{
int InsertRow(CListCtrl& list, int row, LPSTR text, DWORD_PTR itemData)
{
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = row;
    item.pszText = text;
    item.lParam = (LPARAM)itemData;
    return list.InsertItem(&item);
}

int InsertItemRow(CListCtrl& list, int row, DWORD_PTR itemData)
{
    return InsertRow(list, row, LPSTR_TEXTCALLBACK, itemData);
}

// Redraw off for a batch of row changes, on again at the end.
class CRedrawOff
{
public:
    explicit CRedrawOff(CListCtrl& list) : m_list(list) { m_list.SetRedraw(FALSE); }
    ~CRedrawOff() { m_list.SetRedraw(TRUE); }

private:
    CListCtrl& m_list;
};
}

CLxCategoryManager::CLxCategoryManager(CWnd* owner, LxCategorizeItem categorizeItem,
                                       LxCategorizeAll categorizeAll)
    : m_owner(owner), m_categorizeItem(categorizeItem), m_categorizeAll(categorizeAll)
{
}

CLxCategoryManager::~CLxCategoryManager() = default;

int CLxCategoryManager::AddCategory(const char* name, int kind)
{
    std::unique_ptr<LxCategory> category(new LxCategory);
    category->name = name;
    category->kind = kind;
    category->items.reserve(m_items.size());
    m_categories.push_back(std::move(category));
    return (int)m_categories.size() - 1;
}

int CLxCategoryManager::AddTextCategory(const char* name, const char* key)
{
    int index = AddCategory(name, kLxCategoryText);
    m_categories[index]->key = key;
    return index;
}

int CLxCategoryManager::AddTimeRangeCategory(const char* name, time_t from, time_t to)
{
    int index = AddCategory(name, kLxCategoryTime);
    m_categories[index]->from = from;
    m_categories[index]->to = to;
    return index;
}

int CLxCategoryManager::AddNumberRangeCategory(const char* name, double low, double high)
{
    int index = AddCategory(name, kLxCategoryNumber);
    m_categories[index]->low = low;
    m_categories[index]->high = high;
    return index;
}

int CLxCategoryManager::FindTextCategory(const char* text) const
{
    for (size_t i = 0; i < m_categories.size(); i++)
        if (m_categories[i]->kind == kLxCategoryText && m_categories[i]->key == text)
            return (int)i;
    return -1;
}

int CLxCategoryManager::FindTimeCategory(time_t time) const
{
    for (size_t i = 0; i < m_categories.size(); i++)
    {
        const LxCategory& category = *m_categories[i];
        if (category.kind == kLxCategoryTime && category.from <= time && time < category.to)
            return (int)i;
    }
    return -1;
}

int CLxCategoryManager::FindNumberCategory(double value) const
{
    for (size_t i = 0; i < m_categories.size(); i++)
    {
        const LxCategory& category = *m_categories[i];
        if (category.kind == kLxCategoryNumber && category.low <= value && value < category.high)
            return (int)i;
    }
    return -1;
}

bool CLxCategoryManager::AddItemToCategory(int category, DWORD_PTR itemData)
{
    if (category < 0 || category >= (int)m_categories.size())
        return false;
    std::vector<DWORD_PTR>& items = m_categories[category]->items;
    // No category holds more than every item once.
    if (items.size() >= m_items.size())
        return false;
    items.push_back(itemData);
    return true;
}

int CLxCategoryManager::IndexOfCategory(const void* record) const
{
    for (size_t i = 0; i < m_categories.size(); i++)
        if (m_categories[i].get() == record)
            return (int)i;
    return -1;
}

LxCategory* CLxCategoryManager::GetCategory(int index)
{
    if (index < 0 || index >= (int)m_categories.size())
        return NULL;
    return m_categories[index].get();
}

CString CLxCategoryManager::CategoryText(int index) const
{
    const LxCategory& category = *m_categories[index];
    int count = (int)category.items.size();
    CString text;
    text.Format("Categoria: %s (%d element%c)", (LPCSTR)category.name, count,
                count == 1 ? 'o' : 'i');
    return text;
}

bool CLxCategoryManager::ShowsCategoryRows(CListCtrl& list) const
{
    int count = list.GetItemCount();
    for (int row = 0; row < count; row++)
        if (IndexOfCategory((const void*)list.GetItemData(row)) >= 0)
            return true;
    return false;
}

void CLxCategoryManager::FileItems()
{
    for (auto& category : m_categories)
        category->items.clear();
    if (m_categorizeItem)
    {
        for (size_t i = 0; i < m_items.size(); i++)
            (m_owner->*m_categorizeItem)(this, &m_items[i]);
    }
    else if (m_categorizeAll)
    {
        (m_owner->*m_categorizeAll)(this);
    }
}

int CLxCategoryManager::Categorize(CListCtrl& list)
{
    int count = list.GetItemCount();
    if (count < 0)
        return count;
    // While category rows are shown the list's rows are not the items: the
    // manager's own copy is.
    if (!ShowsCategoryRows(list))
    {
        m_items.assign(count, 0);
        for (int row = 0; row < count; row++)
            m_items[row] = m_categorizeItem ? list.GetItemData(row) : (DWORD_PTR)row;
    }
    FileItems();
    Rebuild(list);
    return count;
}

int CLxCategoryManager::InsertCategoryRow(CListCtrl& list, int row, int category)
{
    CString text = CategoryText(category);
    return InsertRow(list, row, text.GetBuffer(0), (DWORD_PTR)m_categories[category].get());
}

void CLxCategoryManager::Rebuild(CListCtrl& list)
{
    CRedrawOff redrawOff(list);
    list.DeleteAllItems();
    for (size_t i = 0; i < m_categories.size(); i++)
    {
        InsertCategoryRow(list, list.GetItemCount(), (int)i);
        if (m_categories[i]->expanded)
            for (DWORD_PTR itemData : m_categories[i]->items)
                InsertItemRow(list, list.GetItemCount(), itemData);
    }
}

void CLxCategoryManager::Flatten(CListCtrl& list)
{
    CRedrawOff redrawOff(list);
    list.DeleteAllItems();
    for (size_t i = 0; i < m_items.size(); i++)
        InsertItemRow(list, (int)i, m_items[i]);
    for (auto& category : m_categories)
        category->items.clear();
}

void CLxCategoryManager::Expand(int category, int row, CListCtrl& list)
{
    if (category < 0 || category >= (int)m_categories.size())
        return;
    CRedrawOff redrawOff(list);
    int next = row + 1;
    for (DWORD_PTR itemData : m_categories[category]->items)
        InsertItemRow(list, next++, itemData);
}

void CLxCategoryManager::Collapse(int, int row, CListCtrl& list)
{
    CRedrawOff redrawOff(list);
    while (row + 1 < list.GetItemCount() &&
           IndexOfCategory((const void*)list.GetItemData(row + 1)) < 0)
        list.DeleteItem(row + 1);
}

int CLxCategoryManager::FindCategoryRow(CListCtrl& list, int category) const
{
    LVFINDINFOA find = {};
    find.flags = LVFI_PARAM;
    find.lParam = (LPARAM)m_categories[category].get();
    return list.FindItem(&find);
}

void CLxCategoryManager::AddItemToShownCategory(CListCtrl& list, int category,
                                                DWORD_PTR itemData, int* newRow)
{
    int row = FindCategoryRow(list, category);
    if (row < 0)
    {
        row = InsertCategoryRow(list, list.GetItemCount(), category);
        list.RedrawItems(row, row);
        return;
    }
    list.SetItemText(row, 0, CategoryText(category));
    list.RedrawItems(row, row);
    if (m_categories[category]->expanded)
        *newRow = InsertItemRow(list, row + 1, itemData);
}

int CLxCategoryManager::AddItem(CListCtrl& list, DWORD_PTR itemData)
{
    m_items.push_back(itemData);
    std::vector<size_t> counts;
    for (auto& category : m_categories)
        counts.push_back(category->items.size());
    if (m_categorizeItem)
        (m_owner->*m_categorizeItem)(this, &m_items.back());
    int newRow = -1;
    for (size_t i = 0; i < m_categories.size(); i++)
    {
        bool known = i < counts.size();
        if (known && counts[i] == m_categories[i]->items.size())
            continue;
        AddItemToShownCategory(list, (int)i, itemData, &newRow);
    }
    return newRow;
}

namespace
{
// Removes every copy of a value; whether there was one.
bool EraseAll(std::vector<DWORD_PTR>& values, DWORD_PTR value)
{
    auto end = std::remove(values.begin(), values.end(), value);
    bool found = end != values.end();
    values.erase(end, values.end());
    return found;
}
}

bool CLxCategoryManager::RemoveItem(CListCtrl& list, DWORD_PTR itemData)
{
    bool found = EraseAll(m_items, itemData);
    CRedrawOff redrawOff(list);
    for (size_t i = 0; i < m_categories.size(); i++)
    {
        if (!EraseAll(m_categories[i]->items, itemData))
            continue;
        int row = FindCategoryRow(list, (int)i);
        if (row >= 0)
            list.SetItemText(row, 0, CategoryText((int)i));
    }
    for (int row = list.GetItemCount() - 1; row >= 0; row--)
    {
        if (list.GetItemData(row) == itemData && IndexOfCategory((const void*)itemData) < 0)
        {
            list.DeleteItem(row);
            found = true;
        }
    }
    return found;
}
