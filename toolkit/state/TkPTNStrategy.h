// Back ends of the persistent settings tree. A node path is a list of node
// names from the node itself (head) up to the root (tail). Every operation
// returns non-zero on success.
#pragma once

#include <afx.h>
#include <afxcoll.h>

class TkPTNStrategy
{
public:
    virtual ~TkPTNStrategy() {}
    virtual int ClearNode(const CStringList& path) = 0;
    virtual int WriteValue(const CStringList& path, LPCSTR key, LPCSTR value) = 0;
    virtual int WriteChildList(const CStringList& path, const CStringList& names) = 0;
    virtual int ReadNode(const CStringList& path, CStringList& childNames, CStringList& keys,
                         CStringList& values) = 0;
};

// A private profile (ini) file: one section per node, named by the path from
// the root joined with "."; children are listed as "ptn_Child%d" keys.
class TkPTNStrategyProfile : public TkPTNStrategy
{
public:
    explicit TkPTNStrategyProfile(LPCSTR fileName);

    int ClearNode(const CStringList& path) override;
    int WriteValue(const CStringList& path, LPCSTR key, LPCSTR value) override;
    int WriteChildList(const CStringList& path, const CStringList& names) override;
    int ReadNode(const CStringList& path, CStringList& childNames, CStringList& keys,
                 CStringList& values) override;
    virtual int GetSectionKeys(LPCSTR section, CStringList& keys);

    static CString SectionName(const CStringList& path);

private:
    CString m_fileName;
};

// A registry key: one key per node below the base path; values are REG_SZ.
class TkPTNStrategyRegistry : public TkPTNStrategy
{
public:
    TkPTNStrategyRegistry(HKEY root, LPCSTR basePath);

    int ClearNode(const CStringList& path) override;
    int WriteValue(const CStringList& path, LPCSTR key, LPCSTR value) override;
    int WriteChildList(const CStringList& path, const CStringList& names) override;
    int ReadNode(const CStringList& path, CStringList& childNames, CStringList& keys,
                 CStringList& values) override;
    virtual void BuildKeyPath(CString& result, const CStringList& path);

private:
    CString m_basePath;
    HKEY m_root;
};
