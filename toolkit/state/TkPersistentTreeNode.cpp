#include "toolkit/state/TkPersistentTreeNode.h"
#include "toolkit/state/TkPTNStrategy.h"

#include <stdlib.h>
#include <string.h>

IMPLEMENT_DYNCREATE(TkPersistentTreeNode, CObject)

namespace {

// Longer texts are split into pieces of this many characters, so that every
// stored value fits the profile strategy's read buffer.
const int kPieceChars = 250;
const char kBinCountSuffix[] = "_BinCount";
const char kBinValueSuffix[] = "_BinVal";

CString PieceKey(LPCSTR key, int index)
{
    CString name;
    name.Format("%s%s%d", key, kBinValueSuffix, index);
    return name;
}

}  // namespace

CString TkEncodeBinaryText(const BYTE* data, UINT size)
{
    CString text;
    LPSTR out = text.GetBufferSetLength(size * 2);
    for (UINT i = 0; i < size; i++) {
        out[2 * i] = (char)('A' + (data[i] & 0x0F));
        out[2 * i + 1] = (char)('A' + (data[i] >> 4));
    }
    text.ReleaseBuffer(size * 2);
    return text;
}

void TkDecodeBinaryText(const CString& text, BYTE* data)
{
    for (int i = 0; i + 1 < text.GetLength(); i += 2)
        data[i / 2] = (BYTE)((BYTE)text[i + 1] * 16 + (BYTE)text[i] - 'Q');
}

TkPTNFactory::TkPTNFactory()
{
}

TkPTNFactory::~TkPTNFactory()
{
    while (!m_created.IsEmpty())
        delete static_cast<CObject*>(m_created.RemoveHead());
}

CObject* TkPTNFactory::CreateNode(CRuntimeClass* nodeClass)
{
    CObject* node = nodeClass != NULL ? nodeClass->CreateObject() : NULL;
    if (node != NULL)
        m_created.AddTail(node);
    return node;
}

TkPersistentTreeNode* TkPTNFactory::CreateChildNode(LPCSTR name, TkPersistentTreeNode* parent)
{
    TkPersistentTreeNode* node =
        static_cast<TkPersistentTreeNode*>(CreateNode(RUNTIME_CLASS(TkPersistentTreeNode)));
    if (node != NULL && node->Initialize(name, parent) != 0) {
        DestroyNode(node);
        return NULL;
    }
    return node;
}

int TkPTNFactory::DestroyNode(CObject* node)
{
    POSITION position = node != NULL ? m_created.Find(node) : NULL;
    if (position == NULL)
        return 0;
    m_created.RemoveAt(position);
    delete node;
    return 1;
}

TkPersistentTreeNode::TkPersistentTreeNode() : m_parent(NULL), m_initialized(FALSE)
{
}

TkPersistentTreeNode::~TkPersistentTreeNode()
{
    while (!m_pairs.IsEmpty())
        delete m_pairs.RemoveHead();
}

int TkPersistentTreeNode::Initialize(LPCSTR name, TkPersistentTreeNode* parent)
{
    int result = m_initialized ? kPTNAlreadyInitialized : 0;
    if (name == NULL || name[0] == '\0')
        result |= kPTNNoName;
    if (result != 0)
        return result;
    m_name = name;
    m_parent = parent;
    if (parent != NULL) {
        int added = parent->AddChildNode(this);
        if (added != 0) {
            m_name.Empty();
            m_parent = NULL;
            return (added & kPTNChildExists) ? kPTNChildExists : kPTNFailed;
        }
    }
    m_initialized = TRUE;
    return 0;
}

int TkPersistentTreeNode::SetIntValue(LPCSTR key, int value, BOOL overwrite)
{
    CString text;
    text.Format("%d", value);
    return SetStringValue(key, text, overwrite);
}

int TkPersistentTreeNode::SetStringValue(LPCSTR key, const CString& value, BOOL overwrite)
{
    int result = m_initialized ? 0 : kPTNNotInitialized;
    if (key == NULL || key[0] == '\0')
        result |= kPTNNoKey;
    TkPersTreeNodeKeyValuePair* pair = FindKeyValuePair(key);
    if (pair != NULL && !overwrite)
        result |= kPTNKeyExists;
    if (result != 0)
        return result;
    if (pair != NULL)
        pair->m_value = value;
    else
        m_pairs.AddTail(new TkPersTreeNodeKeyValuePair(key, value));
    return 0;
}

int TkPersistentTreeNode::SetBoolValue(LPCSTR key, BOOL value, BOOL overwrite)
{
    return SetStringValue(key, value ? "True" : "False", overwrite);
}

// A value lives in one form only: a write in one form removes the other, so
// that a short value written over a long one reads back as written.
int TkPersistentTreeNode::SetBinaryValue(LPCSTR key, const BYTE* data, UINT size, BOOL overwrite)
{
    if (data == NULL)
        return kPTNNoData;
    CString text = TkEncodeBinaryText(data, size);
    if (text.GetLength() <= kPieceChars) {
        int result = SetStringValue(key, text, overwrite);
        if (result == 0)
            RemoveSplitBinaryValue(key);
        return result;
    }
    int result = SetSplitBinaryValue(key, text);
    if (result == 0 && FindKeyValuePair(key) != NULL)
        RemoveKey(key);
    return result;
}

int TkPersistentTreeNode::RemoveKey(LPCSTR key)
{
    int result = kPTNKeyNotFound;
    POSITION position = m_pairs.GetHeadPosition();
    while (position != NULL) {
        POSITION at = position;
        TkPersTreeNodeKeyValuePair* pair = m_pairs.GetNext(position);
        if (key != NULL && strcmp(pair->m_key, key) == 0) {
            m_pairs.RemoveAt(at);
            delete pair;
            result = 0;
        }
    }
    return result;
}

int TkPersistentTreeNode::GetStringValue(LPCSTR key, CString& result, LPCSTR defaultValue)
{
    result = defaultValue != NULL ? defaultValue : "";
    TkPersTreeNodeKeyValuePair* pair = FindKeyValuePair(key);
    if (pair == NULL)
        return kPTNKeyNotFound;
    result = pair->m_value;
    return 0;
}

// The target gets the default, then the text's leading decimal number.
template <class T>
int TkPersistentTreeNode::GetNumber(LPCSTR key, T* result, T defaultValue)
{
    if (result == NULL)
        return kPTNNoData;
    *result = defaultValue;
    CString text;
    int code = GetStringValue(key, text, "");
    if (code == 0)
        *result = (T)(int)strtol(text, NULL, 10);
    return code;
}

int TkPersistentTreeNode::GetIntValue(LPCSTR key, int* result, int defaultValue)
{
    return GetNumber(key, result, defaultValue);
}

int TkPersistentTreeNode::GetUIntValue(LPCSTR key, UINT* result, UINT defaultValue)
{
    return GetNumber(key, result, defaultValue);
}

int TkPersistentTreeNode::GetLongValue(LPCSTR key, long* result, long defaultValue)
{
    return GetNumber(key, result, defaultValue);
}

int TkPersistentTreeNode::GetDWordValue(LPCSTR key, DWORD* result, DWORD defaultValue)
{
    return GetNumber(key, result, defaultValue);
}

int TkPersistentTreeNode::GetBoolValue(LPCSTR key, BOOL* result, BOOL defaultValue)
{
    if (result == NULL)
        return kPTNNoData;
    *result = defaultValue;
    CString text;
    int code = GetStringValue(key, text, "");
    if (code == 0) {
        text.MakeUpper();
        *result = text == "TRUE";
    }
    return code;
}

int TkPersistentTreeNode::GetBinaryValue(LPCSTR key, BYTE** data, UINT* size)
{
    if (data == NULL)
        return kPTNNoData;
    *data = NULL;
    CString text;
    int split = GetSplitBinaryValue(key, text);
    if (split == kPTNFailed)
        return kPTNFailed;
    if (split == 0) {
        int code = GetStringValue(key, text, "");
        if (code != 0)
            return code;
    }
    if (text.IsEmpty())
        return kPTNFailed;
    UINT bytes = text.GetLength() / 2;
    *data = new BYTE[bytes > 0 ? bytes : 1];
    TkDecodeBinaryText(text, *data);
    if (size != NULL)
        *size = bytes;
    return 0;
}

int TkPersistentTreeNode::SetSplitBinaryValue(LPCSTR key, const CString& text)
{
    int pieces = (text.GetLength() + kPieceChars - 1) / kPieceChars;
    int result = SetIntValue(CString(key) + kBinCountSuffix, pieces, TRUE);
    if (result != 0)
        return result;
    for (int i = 0; i < pieces; i++)
        SetStringValue(PieceKey(key, i), text.Mid(i * kPieceChars, kPieceChars), TRUE);
    // Pieces of a longer value written before would otherwise linger.
    for (int i = pieces; FindKeyValuePair(PieceKey(key, i)) != NULL; i++)
        RemoveKey(PieceKey(key, i));
    return 0;
}

// A split value with a missing piece is damaged: reading it as if the piece
// were empty would hand back shifted bytes.
int TkPersistentTreeNode::GetSplitBinaryValue(LPCSTR key, CString& text)
{
    int pieces = 0;
    if (GetIntValue(CString(key) + kBinCountSuffix, &pieces, 0) != 0)
        return 0;
    text.Empty();
    for (int i = 0; i < pieces; i++) {
        TkPersTreeNodeKeyValuePair* pair = FindKeyValuePair(PieceKey(key, i));
        if (pair == NULL)
            return kPTNFailed;
        text += pair->m_value;
    }
    return 1;
}

void TkPersistentTreeNode::RemoveSplitBinaryValue(LPCSTR key)
{
    if (RemoveKey(CString(key) + kBinCountSuffix) != 0)
        return;
    for (int i = 0; FindKeyValuePair(PieceKey(key, i)) != NULL; i++)
        RemoveKey(PieceKey(key, i));
}

int TkPersistentTreeNode::SaveToStrategy(TkPTNStrategy* strategy)
{
    if (!m_initialized || strategy == NULL)
        return 0;
    CStringList path;
    CStringList childNames;
    GetNodePath(path);
    GetChildNames(childNames);
    strategy->ClearNode(path);
    for (POSITION position = m_pairs.GetHeadPosition(); position != NULL;) {
        TkPersTreeNodeKeyValuePair* pair = m_pairs.GetNext(position);
        strategy->WriteValue(path, pair->m_key, pair->m_value);
    }
    strategy->WriteChildList(path, childNames);
    int result = 1;
    for (POSITION position = m_children.GetHeadPosition(); position != NULL;)
        result &= m_children.GetNext(position)->SaveToStrategy(strategy) ? 1 : 0;
    return result;
}

int TkPersistentTreeNode::LoadFromStrategy(TkPTNStrategy* strategy)
{
    if (!m_initialized || strategy == NULL)
        return 0;
    CStringList path;
    CStringList childNames;
    CStringList keys;
    CStringList values;
    GetNodePath(path);
    if (!strategy->ReadNode(path, childNames, keys, values))
        return 0;
    POSITION value = values.GetHeadPosition();
    for (POSITION key = keys.GetHeadPosition(); key != NULL && value != NULL;)
        SetStringValue(keys.GetNext(key), values.GetNext(value), TRUE);
    for (POSITION name = childNames.GetHeadPosition(); name != NULL;) {
        TkPersistentTreeNode* child = m_factory.CreateChildNode(childNames.GetNext(name), this);
        if (child != NULL)
            child->LoadFromStrategy(strategy);
    }
    return 1;
}

int TkPersistentTreeNode::AddChildNode(TkPersistentTreeNode* child)
{
    if (!m_initialized)
        return kPTNNotInitialized;
    if (child == NULL)
        return kPTNNoName;
    if (FindChildNode(child->GetNodeName()) != NULL)
        return kPTNChildExists;
    m_children.AddTail(child);
    return 0;
}

TkPersistentTreeNode* TkPersistentTreeNode::FindChildNode(LPCSTR name) const
{
    if (name == NULL || name[0] == '\0')
        return NULL;
    for (POSITION position = m_children.GetHeadPosition(); position != NULL;) {
        TkPersistentTreeNode* child = m_children.GetNext(position);
        if (strcmp(child->GetNodeName(), name) == 0)
            return child;
    }
    return NULL;
}

TkPersistentTreeNode::TkPersTreeNodeKeyValuePair*
TkPersistentTreeNode::FindKeyValuePair(LPCSTR key) const
{
    if (key == NULL || key[0] == '\0')
        return NULL;
    for (POSITION position = m_pairs.GetHeadPosition(); position != NULL;) {
        TkPersTreeNodeKeyValuePair* pair = m_pairs.GetNext(position);
        if (strcmp(pair->m_key, key) == 0)
            return pair;
    }
    return NULL;
}

void TkPersistentTreeNode::GetNodePath(CStringList& path) const
{
    path.RemoveAll();
    for (const TkPersistentTreeNode* node = this; node != NULL; node = node->m_parent)
        path.AddTail(node->m_name);
}

void TkPersistentTreeNode::GetChildNames(CStringList& names) const
{
    names.RemoveAll();
    for (POSITION position = m_children.GetHeadPosition(); position != NULL;)
        names.AddTail(m_children.GetNext(position)->GetNodeName());
}
