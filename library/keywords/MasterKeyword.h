// The library's master list of keywords. Ids are indexes into the list and are
// never reused: a deleted keyword keeps its entry and id and is only marked.
// Stored texts hold names, which become ids again when read. The load thread
// registers words while the views read names, so every access takes the lock.
#pragma once

#include "library/keywords/KeywordList.h"
#include "library/keywords/KeywordStat.h"

#include <afx.h>
#include <afxmt.h>

#include <vector>

// Lower case, with every blank, tab, line feed and carriage return made "_".
CString NormalizeKeyword(const char* name);

// The program's built-in keyword list (resource "KEYWORDS.TXT"), one per line.
CString LoadBuiltInKeywords();

class CKeyword
{
public:
    CKeyword(const CString& name, int id) : m_name(name), m_id(id), m_deleted(0) {}
    virtual ~CKeyword() {}

    CString m_name; // normalised
    int m_id;
    BYTE m_deleted;
};

class CMasterKeyword
{
public:
    CMasterKeyword() : m_nextId(0) {}
    virtual ~CMasterKeyword() {}
    CMasterKeyword(const CMasterKeyword&) = delete;
    CMasterKeyword& operator=(const CMasterKeyword&) = delete;

    // Index of the entry with that name, deleted entries included; -1 when none.
    int FindKeyword(const char* name) const;
    int GetOrAddKeyword(const char* name);
    // The id of the name's entry, made when there is none. A deleted entry comes
    // back to life: a name typed again must not vanish from the texts.
    // -1 for a name that is empty once normalised.
    int AddKeyword(const char* name);
    CKeywordList ParseKeywordList(const char* text);
    void AddKeywordsFromText(CKeywordList& list, const char* text);
    CString FormatKeywordList(const CKeywordList& list) const;
    CString GetAllKeywordsText() const;
    int CheckIndex(int index) const;
    // Empty for an index out of range or a deleted entry.
    CString GetKeywordName(int index) const;
    void RenameKeyword(int index, const char* name);
    // Asks the user first; true when the keyword was marked deleted.
    bool DeleteKeyword(int index);
    bool IsDeleted(int index) const;
    void FillStatList(CKeywordStatList& stats) const;
    int GetKeywordCount() const;

private:
    int FindNormal(const CString& normal) const;

    mutable CCriticalSection m_lock; // guards both fields
    std::vector<CKeyword> m_keywords;
    int m_nextId;
};
