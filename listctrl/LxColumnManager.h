// CLxColumnDef and CLxColumnManager: the columns a list view can show, which of
// them it shows in which order, and their order and widths in the profile
// section "Lists\<list name>".
#pragma once

#include <afxwin.h>

#include <vector>

class CLxListCtrl;

// Format bits of a column definition.
enum
{
    kLxColDropList = 0x001,
    kLxColDropDownList = 0x002,
    kLxColEdit = 0x004,
    kLxColNumeric = 0x008,
    kLxColCurrency = 0x010,
    kLxColSortable = 0x020,
    kLxColImage = 0x040,
    kLxColNoSortMark = 0x080,
    kLxColFixedWidth = 0x100,
    kLxColHeaderImage = 0x200,
    kLxColDate = 0x400,
};

class CLxColumnDef
{
public:
    virtual ~CLxColumnDef() = default;

    int m_id = 0;
    int m_alignment = 0;  // LVCFMT_LEFT, LVCFMT_RIGHT, LVCFMT_CENTER
    int m_width = 0;
    int m_image = -1;
    DWORD m_format = 0;
    CString m_label;
    CString m_secondLabel;
    CString m_description;
    int m_workingIndex = -1;
};

class CLxColumnManager
{
public:
    CLxColumnManager() = default;
    CLxColumnManager(const CLxColumnManager& other);
    virtual ~CLxColumnManager() = default;

    int DefineColumn(int id, const char* label, const char* secondLabel, int alignment,
                     int width, DWORD formatBits, int image, const char* description);
    // A count below 1 empties the shown ids and gives false.
    bool SetDefaultColumns(int count, const int* ids);
    int FindColumn(int id) const;
    bool IsColumnShown(int id) const;

    // Builds the list's columns from the shown ids; false without a header.
    bool ApplyToList(CLxListCtrl& list);
    // Takes order and widths back from the header; false without a header.
    bool ReadFromHeader(CLxListCtrl& list);
    void LoadFromProfile(const char* listName);
    void SaveToProfile(const char* listName) const;

    int GetColumnCount() const { return (int)m_defs.size(); }
    CLxColumnDef& GetColumn(int index) { return m_defs[index]; }
    const std::vector<int>& GetShownIds() const { return m_shown; }
    // Trades the definitions (not the shown ids) with another manager.
    void SwapDefinitions(CLxColumnManager& other) { m_defs.swap(other.m_defs); }

private:
    void operator=(const CLxColumnManager&);
    void ReadShownIds(CWinApp* app, const CString& section);
    void ReadWidths(CWinApp* app, const CString& section);

    std::vector<CLxColumnDef> m_defs;
    std::vector<int> m_shown;
};

// The profile section of a list: "Lists\<name>".
CString LxListSection(const char* listName);
