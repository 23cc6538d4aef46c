#include "library/keywords/MasterKeyword.h"

#include <afxwin.h>

#include <string.h>

namespace {

// What separates keywords in the stored texts; a name holding one would read
// back as two keywords, so normal names hold '_' in their place.
const char kKeywordSeparators[] = " ,\t\n\r";

bool IsKeywordSeparator(char c)
{
    return c != '\0' && strchr(kKeywordSeparators, c) != nullptr;
}

void AppendWord(CString& text, const CString& word)
{
    if (word.IsEmpty())
        return;
    if (!text.IsEmpty())
        text += ' ';
    text += word;
}

} // namespace

CString NormalizeKeyword(const char* name)
{
    CString normal(name);
    normal.MakeLower();
    for (int i = 0; i < normal.GetLength(); ++i)
    {
        if (IsKeywordSeparator(normal[i]))
            normal.SetAt(i, '_');
    }
    return normal;
}

CString LoadBuiltInKeywords()
{
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC resource = FindResourceA(module, "KEYWORDS.TXT", MAKEINTRESOURCEA(10) /* RT_RCDATA */);
    HGLOBAL data = resource ? LoadResource(module, resource) : nullptr;
    if (!data)
        return CString();
    return CString(static_cast<const char*>(LockResource(data)),
                   static_cast<int>(SizeofResource(module, resource)));
}

int CMasterKeyword::FindNormal(const CString& normal) const
{
    for (size_t i = 0; i < m_keywords.size(); ++i)
    {
        if (m_keywords[i].m_name == normal)
            return static_cast<int>(i);
    }
    return -1;
}

int CMasterKeyword::FindKeyword(const char* name) const
{
    CSingleLock lock(&m_lock, TRUE);
    return FindNormal(NormalizeKeyword(name));
}

int CMasterKeyword::GetOrAddKeyword(const char* name)
{
    return AddKeyword(name);
}

int CMasterKeyword::AddKeyword(const char* name)
{
    CString normal = NormalizeKeyword(name);
    CSingleLock lock(&m_lock, TRUE);
    int index = FindNormal(normal);
    if (index >= 0)
    {
        m_keywords[index].m_deleted = 0;
        return m_keywords[index].m_id;
    }
    if (normal.IsEmpty())
        return -1;
    m_keywords.push_back(CKeyword(normal, m_nextId));
    return m_nextId++;
}

CKeywordList CMasterKeyword::ParseKeywordList(const char* text)
{
    CKeywordList list;
    AddKeywordsFromText(list, text);
    return list;
}

void CMasterKeyword::AddKeywordsFromText(CKeywordList& list, const char* text)
{
    CString rest(text);
    rest.MakeLower();
    while (!rest.IsEmpty())
    {
        CString word = rest.SpanExcluding(kKeywordSeparators);
        rest = rest.Mid(word.GetLength());
        rest.TrimLeft(kKeywordSeparators);
        if (!word.IsEmpty())
            list.Add(GetOrAddKeyword(word));
    }
}

CString CMasterKeyword::FormatKeywordList(const CKeywordList& list) const
{
    CSingleLock lock(&m_lock, TRUE);
    CString text;
    for (int i = 0; i < list.GetCount(); ++i)
        AppendWord(text, GetKeywordName(list.GetAt(i)));
    return text;
}

CString CMasterKeyword::GetAllKeywordsText() const
{
    CSingleLock lock(&m_lock, TRUE);
    CString text;
    for (int i = 0; i < GetKeywordCount(); ++i)
        AppendWord(text, GetKeywordName(i));
    return text;
}

int CMasterKeyword::GetKeywordCount() const
{
    CSingleLock lock(&m_lock, TRUE);
    return static_cast<int>(m_keywords.size());
}

int CMasterKeyword::CheckIndex(int index) const
{
    return (index >= 0 && index < GetKeywordCount()) ? index : -1;
}

CString CMasterKeyword::GetKeywordName(int index) const
{
    CSingleLock lock(&m_lock, TRUE);
    if (CheckIndex(index) < 0 || m_keywords[index].m_deleted)
        return CString();
    return m_keywords[index].m_name;
}

void CMasterKeyword::RenameKeyword(int index, const char* name)
{
    CSingleLock lock(&m_lock, TRUE);
    if (CheckIndex(index) >= 0 && !m_keywords[index].m_deleted)
        m_keywords[index].m_name = NormalizeKeyword(name);
}

// The question is asked outside the lock: the load thread must not wait for the user.
bool CMasterKeyword::DeleteKeyword(int index)
{
    CString name;
    {
        CSingleLock lock(&m_lock, TRUE);
        if (CheckIndex(index) < 0)
            return false;
        name = m_keywords[index].m_name;
    }
    CString question = "Are you sure you want to lose the keyword " + name + "?";
    if (AfxMessageBox(question, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return false;
    CSingleLock lock(&m_lock, TRUE);
    m_keywords[index].m_deleted = 1;
    return true;
}

bool CMasterKeyword::IsDeleted(int index) const
{
    CSingleLock lock(&m_lock, TRUE);
    return CheckIndex(index) >= 0 && m_keywords[index].m_deleted;
}

void CMasterKeyword::FillStatList(CKeywordStatList& stats) const
{
    CSingleLock lock(&m_lock, TRUE);
    stats.Clear();
    for (const CKeyword& keyword : m_keywords)
        stats.AddKeyword(keyword.m_id);
}
