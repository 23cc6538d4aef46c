#include "toolkit/state/TkPTNStrategy.h"
#include "toolkit/state/TkRegistry.h"

#include <string.h>
#include <vector>

namespace {

const char kChildKeyPrefix[] = "ptn_Child";
const char kSectionSeparator[] = ".";
const DWORD kKeyListLimit = 8192;
const DWORD kFirstKeyListBuffer = 512;
// Values longer than this come back cut; the tree splits long values to fit.
const DWORD kValueBuffer = 255;

// Joins the names from the root (tail) to the node (head).
CString JoinFromRoot(const CStringList& path, LPCSTR separator, BOOL trailing)
{
    CString result;
    for (POSITION position = path.GetTailPosition(); position != NULL;) {
        const CString& name = path.GetPrev(position);
        result += name;
        if (position != NULL || trailing)
            result += separator;
    }
    return result;
}

}  // namespace

TkPTNStrategyProfile::TkPTNStrategyProfile(LPCSTR fileName) : m_fileName(fileName)
{
}

CString TkPTNStrategyProfile::SectionName(const CStringList& path)
{
    return JoinFromRoot(path, kSectionSeparator, FALSE);
}

int TkPTNStrategyProfile::ClearNode(const CStringList& path)
{
    CString section = SectionName(path);
    if (section.IsEmpty())
        return 0;
    return ::WritePrivateProfileStringA(section, NULL, NULL, m_fileName);
}

int TkPTNStrategyProfile::WriteValue(const CStringList& path, LPCSTR key, LPCSTR value)
{
    CString section = SectionName(path);
    if (section.IsEmpty())
        return 0;
    return ::WritePrivateProfileStringA(section, key, value, m_fileName);
}

int TkPTNStrategyProfile::WriteChildList(const CStringList& path, const CStringList& names)
{
    CString section = SectionName(path);
    if (section.IsEmpty())
        return 0;
    int index = 1;
    int result = 1;
    for (POSITION position = names.GetHeadPosition(); position != NULL; index++) {
        CString key;
        key.Format("%s%d", kChildKeyPrefix, index);
        if (!::WritePrivateProfileStringA(section, key, names.GetNext(position), m_fileName))
            result = 0;
    }
    return result;
}

int TkPTNStrategyProfile::ReadNode(const CStringList& path, CStringList& childNames,
                                   CStringList& keys, CStringList& values)
{
    childNames.RemoveAll();
    keys.RemoveAll();
    values.RemoveAll();
    CString section = SectionName(path);
    CStringList sectionKeys;
    if (section.IsEmpty() || !GetSectionKeys(section, sectionKeys))
        return 0;
    for (POSITION position = sectionKeys.GetHeadPosition(); position != NULL;) {
        const CString& key = sectionKeys.GetNext(position);
        char value[kValueBuffer];
        ::GetPrivateProfileStringA(section, key, "", value, sizeof(value), m_fileName);
        if (strncmp(key, kChildKeyPrefix, strlen(kChildKeyPrefix)) == 0) {
            childNames.AddTail(value);
        } else {
            keys.AddTail(key);
            values.AddTail(value);
        }
    }
    return 1;
}

int TkPTNStrategyProfile::GetSectionKeys(LPCSTR section, CStringList& keys)
{
    keys.RemoveAll();
    if (section == NULL || section[0] == '\0')
        return 0;
    DWORD size = kFirstKeyListBuffer < kKeyListLimit ? kFirstKeyListBuffer : kKeyListLimit;
    std::vector<char> buffer;
    DWORD length = 0;
    for (;;) {
        buffer.assign(size, '\0');
        length = ::GetPrivateProfileStringA(section, NULL, "", buffer.data(), size, m_fileName);
        // size - 2 means the list was cut.
        if (length != size - 2 || size * 2 > kKeyListLimit)
            break;
        size *= 2;
    }
    if (length == 0)
        return 0;
    for (const char* name = buffer.data(); *name != '\0' && name < buffer.data() + length;
         name += strlen(name) + 1)
        keys.AddTail(name);
    return 1;
}

TkPTNStrategyRegistry::TkPTNStrategyRegistry(HKEY root, LPCSTR basePath)
    : m_basePath(basePath), m_root(root)
{
    if (m_basePath.IsEmpty() || m_basePath[m_basePath.GetLength() - 1] != '\\')
        m_basePath += "\\";
}

void TkPTNStrategyRegistry::BuildKeyPath(CString& result, const CStringList& path)
{
    result = m_basePath + JoinFromRoot(path, "\\", TRUE);
}

int TkPTNStrategyRegistry::ClearNode(const CStringList& path)
{
    CString keyPath;
    BuildKeyPath(keyPath, path);
    TkRegistry registry;
    if (!registry.Connect(m_root) || !registry.Open(keyPath, KEY_ALL_ACCESS))
        return 0;
    registry.Close();
    if (!registry.Connect(m_root))
        return 0;
    return registry.DeleteKey(keyPath, TRUE);
}

int TkPTNStrategyRegistry::WriteValue(const CStringList& path, LPCSTR key, LPCSTR value)
{
    CString keyPath;
    BuildKeyPath(keyPath, path);
    TkRegistry registry;
    return registry.Connect(m_root) && registry.CreateKey(keyPath, NULL, 0, KEY_ALL_ACCESS) &&
           registry.Open(keyPath, KEY_ALL_ACCESS) && registry.SetStringValue(key, value);
}

int TkPTNStrategyRegistry::WriteChildList(const CStringList&, const CStringList&)
{
    return 1;
}

int TkPTNStrategyRegistry::ReadNode(const CStringList& path, CStringList& childNames,
                                    CStringList& keys, CStringList& values)
{
    CString keyPath;
    BuildKeyPath(keyPath, path);
    TkRegistry registry;
    if (!registry.Connect(m_root) || !registry.Open(keyPath, KEY_ALL_ACCESS))
        return 0;
    childNames.RemoveAll();
    CString name;
    for (DWORD i = 0; registry.EnumerateKeys(i, name); i++)
        childNames.AddTail(name);
    DWORD type = 0;
    for (DWORD i = 0; registry.EnumerateValues(i, name, type); i++) {
        CString value;
        if (registry.QueryStringValue(name, value)) {
            keys.AddTail(name);
            values.AddTail(value);
        }
    }
    return 1;
}
