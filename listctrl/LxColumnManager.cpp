#include "listctrl/LxColumnManager.h"
#include "listctrl/LxListCtrl.h"

#include <algorithm>

namespace
{
// Widths outside this range in a profile are damage, not a user's choice.
const int kMaxProfileWidth = 10000;
// Entries read at most from a section, whatever count it claims.
const int kMaxProfileEntries = 256;

CString Key(const char* format, int index)
{
    CString key;
    key.Format(format, index);
    return key;
}
}

CString LxListSection(const char* listName)
{
    CString section;
    section.Format("Lists\\%s", listName);
    return section;
}

CLxColumnManager::CLxColumnManager(const CLxColumnManager& other) : m_shown(other.m_shown)
{
    for (const CLxColumnDef& def : other.m_defs)
    {
        DefineColumn(def.m_id, def.m_label, def.m_secondLabel, def.m_alignment, def.m_width,
                     def.m_format, def.m_image, def.m_description);
    }
}

int CLxColumnManager::DefineColumn(int id, const char* label, const char* secondLabel,
                                   int alignment, int width, DWORD formatBits, int image,
                                   const char* description)
{
    CLxColumnDef def;
    def.m_id = id;
    def.m_alignment = alignment;
    def.m_width = width;
    def.m_image = image;
    def.m_format = formatBits;
    def.m_label = label ? label : "";
    def.m_secondLabel = secondLabel ? secondLabel : "";
    def.m_description = description ? description : "";
    m_defs.push_back(def);
    return (int)m_defs.size() - 1;
}

bool CLxColumnManager::SetDefaultColumns(int count, const int* ids)
{
    m_shown.clear();
    if (count < 1)
        return false;
    m_shown.assign(ids, ids + count);
    return true;
}

int CLxColumnManager::FindColumn(int id) const
{
    for (size_t i = 0; i < m_defs.size(); i++)
    {
        if (m_defs[i].m_id == id)
            return (int)i;
    }
    return -1;
}

bool CLxColumnManager::IsColumnShown(int id) const
{
    return std::find(m_shown.begin(), m_shown.end(), id) != m_shown.end();
}

bool CLxColumnManager::ApplyToList(CLxListCtrl& list)
{
    // A report list makes its header with its first column at the latest.
    if (!list.IsReportView())
        return false;
    list.ClearKindMasks();
    int before = list.GetColumnCount();
    int next = before;
    for (int id : m_shown)
    {
        int index = FindColumn(id);
        if (index < 0)
            continue;
        const CLxColumnDef& def = m_defs[index];
        list.InsertColumnEx(next, def.m_label, def.m_alignment, def.m_width, def.m_format, id);
        if (def.m_format & kLxColHeaderImage)
            list.SetHeaderImage(next, def.m_image);
        next++;
    }
    // New columns go behind the old ones first, so that the list never has
    // none; a profile that names no known column leaves the old ones.
    if (next > before)
    {
        for (int i = 0; i < before; i++)
            list.DeleteColumn(0);
    }
    if (list.GetHeader())
        list.GetHeader()->Invalidate();
    list.Invalidate();
    return next > before;
}

bool CLxColumnManager::ReadFromHeader(CLxListCtrl& list)
{
    if (!list.GetHeader())
        return false;
    int count = list.GetColumnCount();
    m_shown.assign(count, 0);
    for (int i = count - 1; i >= 0; i--)
    {
        int id = list.GetColumnId(i);
        m_shown[i] = id;
        int index = FindColumn(id);
        if (index >= 0)
            m_defs[index].m_width = list.GetColumnWidth(i);
    }
    return true;
}

void CLxColumnManager::LoadFromProfile(const char* listName)
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return;
    CString section = LxListSection(listName);
    ReadShownIds(app, section);
    ReadWidths(app, section);
}

// Negative, unknown and repeated ids are skipped; a section without one
// usable id leaves the view's own columns. Reading stops once every
// definition is shown, so a damaged count cannot make millions of reads.
void CLxColumnManager::ReadShownIds(CWinApp* app, const CString& section)
{
    int count = std::min((int)app->GetProfileInt(section, "NumDef", 0), kMaxProfileEntries);
    std::vector<int> shown;
    for (int i = 0; i < count && shown.size() < m_defs.size(); i++)
    {
        int id = (int)app->GetProfileInt(section, Key("DefColId %d", i), -1);
        if (id >= 0 && FindColumn(id) >= 0 &&
            std::find(shown.begin(), shown.end(), id) == shown.end())
            shown.push_back(id);
    }
    if (!shown.empty())
        m_shown = shown;
}

void CLxColumnManager::ReadWidths(CWinApp* app, const CString& section)
{
    int count = std::min((int)app->GetProfileInt(section, "DefNum", -1), kMaxProfileEntries);
    for (int j = 0; j < count; j++)
    {
        int index = FindColumn((int)app->GetProfileInt(section, Key("ColDef_id_%d", j), -1));
        if (index < 0)
            continue;
        CLxColumnDef& def = m_defs[index];
        int width = (int)app->GetProfileInt(section, Key("ColDef_width_%d", j), def.m_width);
        if (width >= 0 && width <= kMaxProfileWidth)
            def.m_width = width;
    }
}

void CLxColumnManager::SaveToProfile(const char* listName) const
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return;
    CString section = LxListSection(listName);
    app->WriteProfileInt(section, "NumDef", (int)m_shown.size());
    for (size_t i = 0; i < m_shown.size(); i++)
        app->WriteProfileInt(section, Key("DefColId %d", (int)i), m_shown[i]);
    app->WriteProfileInt(section, "DefNum", (int)m_defs.size());
    for (size_t j = 0; j < m_defs.size(); j++)
    {
        const CLxColumnDef& def = m_defs[j];
        int n = (int)j;
        app->WriteProfileInt(section, Key("ColDef_id_%d", n), def.m_id);
        app->WriteProfileInt(section, Key("ColDef_align_%d", n), def.m_alignment);
        app->WriteProfileInt(section, Key("ColDef_width_%d", n), def.m_width);
        app->WriteProfileInt(section, Key("ColDef_image_%d", n), def.m_image);
        app->WriteProfileInt(section, Key("ColDef_dwdata_%d", n), (int)def.m_format);
        app->WriteProfileString(section, Key("ColDef_text_%d", n), def.m_label);
        app->WriteProfileString(section, Key("ColDef_textdt_%d", n), def.m_secondLabel);
        app->WriteProfileString(section, Key("ColDef_descr_%d", n), def.m_description);
    }
}
