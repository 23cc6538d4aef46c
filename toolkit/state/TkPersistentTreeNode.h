// TkPersistentTreeNode: a node of the persistent settings tree, with its
// text key/value pairs and child nodes, saved to and loaded from a back end
// chosen by a strategy (TkPTNStrategy.h). TkPTNFactory makes nodes and owns
// every node it made. Node operations report by the bit codes below (0 is
// success) and leave the tree unchanged on failure.
#pragma once

#include <afx.h>
#include <afxcoll.h>
#include <afxtempl.h>

class TkPersistentTreeNode;
class TkPTNStrategy;

enum TkPTNResult
{
    kPTNAlreadyInitialized = 1,
    kPTNNotInitialized = 2,
    kPTNNoName = 4,
    kPTNNoKey = 8,
    kPTNKeyExists = 16,
    kPTNChildExists = 32,
    kPTNKeyNotFound = 64,
    kPTNNoData = 128,
    kPTNFailed = 0xFFFF,
};

class TkPTNFactory
{
public:
    TkPTNFactory();
    virtual ~TkPTNFactory();

    CObject* CreateNode(CRuntimeClass* nodeClass);
    // NULL when the node refuses the name or the parent refuses the node.
    TkPersistentTreeNode* CreateChildNode(LPCSTR name, TkPersistentTreeNode* parent);
    // 1 when node was one of ours and is now deleted, else 0.
    int DestroyNode(CObject* node);

private:
    TkPTNFactory(const TkPTNFactory&);
    void operator=(const TkPTNFactory&);

    CPtrList m_created;
};

class TkPersistentTreeNode : public CObject
{
    DECLARE_DYNCREATE(TkPersistentTreeNode)
public:
    class TkPersTreeNodeKeyValuePair : public CObject
    {
    public:
        TkPersTreeNodeKeyValuePair(LPCSTR key, LPCSTR value) : m_key(key), m_value(value) {}
        CString m_key;
        CString m_value;
    };

    TkPersistentTreeNode();
    ~TkPersistentTreeNode() override;

    virtual int Initialize(LPCSTR name, TkPersistentTreeNode* parent);
    virtual int SetIntValue(LPCSTR key, int value, BOOL overwrite);
    virtual int SetStringValue(LPCSTR key, const CString& value, BOOL overwrite);
    virtual int SetBoolValue(LPCSTR key, BOOL value, BOOL overwrite);
    virtual int SetBinaryValue(LPCSTR key, const BYTE* data, UINT size, BOOL overwrite);
    virtual int RemoveKey(LPCSTR key);
    virtual int GetStringValue(LPCSTR key, CString& result, LPCSTR defaultValue);
    virtual int GetIntValue(LPCSTR key, int* result, int defaultValue);
    virtual int GetUIntValue(LPCSTR key, UINT* result, UINT defaultValue);
    virtual int GetLongValue(LPCSTR key, long* result, long defaultValue);
    virtual int GetDWordValue(LPCSTR key, DWORD* result, DWORD defaultValue);
    virtual int GetBoolValue(LPCSTR key, BOOL* result, BOOL defaultValue);
    // *data gets a buffer of new[]-allocated bytes that the caller frees.
    virtual int GetBinaryValue(LPCSTR key, BYTE** data, UINT* size);
    virtual int SaveToStrategy(TkPTNStrategy* strategy);
    virtual int LoadFromStrategy(TkPTNStrategy* strategy);
    virtual int AddChildNode(TkPersistentTreeNode* child);

    TkPersistentTreeNode* FindChildNode(LPCSTR name) const;
    TkPersTreeNodeKeyValuePair* FindKeyValuePair(LPCSTR key) const;
    // From this node (head) up to the root (tail).
    void GetNodePath(CStringList& path) const;
    void GetChildNames(CStringList& names) const;
    const CString& GetNodeName() const { return m_name; }
    TkPersistentTreeNode* GetParentNode() const { return m_parent; }
    // The factory that makes (and owns) the children read by LoadFromStrategy.
    TkPTNFactory& GetFactory() { return m_factory; }

private:
    int SetSplitBinaryValue(LPCSTR key, const CString& text);
    // 0 when there is no split value, 1 when read, kPTNFailed when a piece is missing.
    int GetSplitBinaryValue(LPCSTR key, CString& text);
    void RemoveSplitBinaryValue(LPCSTR key);
    template <class T>
    int GetNumber(LPCSTR key, T* result, T defaultValue);

    CString m_name;
    TkPersistentTreeNode* m_parent;
    TkPTNFactory m_factory;
    CTypedPtrList<CPtrList, TkPersistentTreeNode*> m_children;
    CTypedPtrList<CPtrList, TkPersTreeNodeKeyValuePair*> m_pairs;
    BOOL m_initialized;
};

// Binary values as text: per byte 'A' + low nibble, then 'A' + high nibble.
CString TkEncodeBinaryText(const BYTE* data, UINT size);
void TkDecodeBinaryText(const CString& text, BYTE* data);
