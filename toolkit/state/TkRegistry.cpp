#include "toolkit/state/TkRegistry.h"

#include <vector>

IMPLEMENT_DYNAMIC(TkRegistry, CObject)

namespace {

const LONG kInvalidParameter = ERROR_INVALID_PARAMETER;
const DWORD kNameBufferChars = 2047;
const DWORD kValueNameChars = 2048;
const DWORD kStringValueBytes = 2048;

struct PredefinedKey
{
    HKEY key;
    LPCSTR name;
};

const PredefinedKey kPredefinedKeys[] = {
    {HKEY_CLASSES_ROOT, "HKEY_CLASSES_ROOT"},
    {HKEY_CURRENT_USER, "HKEY_CURRENT_USER"},
    {HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE"},
    {HKEY_USERS, "HKEY_USERS"},
    {HKEY_CURRENT_CONFIG, "HKEY_CURRENT_CONFIG"},
    {HKEY_DYN_DATA, "HKEY_DYN_DATA"},
};

BOOL IsPredefined(HKEY key)
{
    for (const PredefinedKey& entry : kPredefinedKeys)
        if (entry.key == key)
            return TRUE;
    return key == HKEY_PERFORMANCE_DATA;
}

CString LocalComputerName()
{
    char name[MAX_COMPUTERNAME_LENGTH + 1];
    DWORD size = sizeof(name);
    if (!::GetComputerNameA(name, &size))
        return CString();
    return CString(name);
}

}  // namespace

CString TkNormalizeKeyName(LPCSTR name, BOOL leading)
{
    CString result(name ? name : "");
    if (!result.IsEmpty() && result[result.GetLength() - 1] == '\\')
        result = result.Left(result.GetLength() - 1);
    if (leading && !result.IsEmpty() && result[0] == '\\')
        result = result.Mid(1);
    return result;
}

TkRegistry::TkRegistry()
{
    ResetState();
}

TkRegistry::~TkRegistry()
{
    if (m_key != NULL)
        Close();
    ResetState();
}

void TkRegistry::ResetState()
{
    m_lastError = ERROR_SUCCESS;
    m_key = NULL;
    m_root = NULL;
    m_longestSubkeyName = 0;
    m_longestClassName = 0;
    m_longestValueName = 0;
    m_longestValueData = 0;
    m_securityDescriptorSize = 0;
    m_lastWriteFileTime.dwLowDateTime = 0;
    m_lastWriteFileTime.dwHighDateTime = 0;
    m_className.Empty();
    m_computerName.Empty();
    m_keyName.Empty();
    m_rootName.Empty();
    m_subkeyCount = 0;
    m_valueCount = 0;
    m_lastWriteTime = CTime();
    m_remote = FALSE;
    m_closeRoot = TRUE;
}

BOOL TkRegistry::Result(LONG code)
{
    m_lastError = code;
    return code == ERROR_SUCCESS;
}

BOOL TkRegistry::CloseCurrentKey()
{
    if (m_key == NULL || m_key == m_root)
        return TRUE;
    LONG code = ::RegCloseKey(m_key);
    m_key = m_root;
    return Result(code);
}

BOOL TkRegistry::CreateKey(LPCSTR name, LPCSTR className, DWORD options, REGSAM access,
                           LPSECURITY_ATTRIBUTES security, DWORD* disposition)
{
    if (name == NULL)
        return Result(kInvalidParameter);
    CString keyName = TkNormalizeKeyName(name);
    CloseCurrentKey();
    HKEY key = NULL;
    DWORD created = 0;
    LONG code = ::RegCreateKeyExA(m_root, keyName, 0, const_cast<LPSTR>(className ? className : ""),
                                  options, access, security, &key, &created);
    if (code != ERROR_SUCCESS)
        return Result(code);
    m_key = key;
    if (disposition != NULL)
        *disposition = created;
    m_keyName = keyName;
    return Result(code);
}

BOOL TkRegistry::Close()
{
    LONG code = ERROR_SUCCESS;
    if (m_key != NULL && m_key != m_root)
        code = ::RegCloseKey(m_key);
    if (m_root != NULL && m_closeRoot) {
        LONG rootCode = ::RegCloseKey(m_root);
        if (code == ERROR_SUCCESS)
            code = rootCode;
    }
    ResetState();
    return Result(code);
}

BOOL TkRegistry::Connect(HKEY root, LPCSTR computerName, BOOL closeRoot)
{
    if (m_key != NULL)
        Close();
    BOOL oldCloseRoot = m_closeRoot;
    m_closeRoot = closeRoot;
    m_remote = computerName != NULL && computerName[0] != '\0';
    LONG code = ERROR_SUCCESS;
    if (root == HKEY_CLASSES_ROOT || root == HKEY_CURRENT_USER) {
        if (m_remote)
            code = ERROR_INVALID_HANDLE;
        else
            m_root = root;
    } else {
        HKEY connected = NULL;
        code = ::RegConnectRegistryA(m_remote ? computerName : NULL, root, &connected);
        if (code == ERROR_SUCCESS)
            m_root = connected;
    }
    if (code != ERROR_SUCCESS) {
        m_closeRoot = oldCloseRoot;
        return Result(code);
    }
    m_key = m_root;
    m_computerName = m_remote ? CString(computerName) : LocalComputerName();
    for (const PredefinedKey& entry : kPredefinedKeys)
        if (entry.key == root)
            m_rootName = entry.name;
    return Result(code);
}

BOOL TkRegistry::DeleteKey(LPCSTR name, BOOL recursive)
{
    if (name == NULL)
        return Result(kInvalidParameter);
    if (!recursive)
        return Result(::RegDeleteKeyA(m_key, name));
    if (name[0] == '\0' && IsPredefined(m_root))
        return Result(kInvalidParameter);
    // Names are relative to the current key, as RegDeleteKey takes them.
    CString path = TkNormalizeKeyName(name, TRUE);
    if (!m_keyName.IsEmpty())
        path = path.IsEmpty() ? m_keyName : m_keyName + "\\" + path;
    CString previous = m_keyName;
    BOOL ok = DeleteTree(path);
    LONG code = m_lastError;
    if (!previous.IsEmpty())
        Open(previous);
    return Result(ok ? ERROR_SUCCESS : code);
}

// Deletes path (relative to the root) with everything below it.
BOOL TkRegistry::DeleteTree(LPCSTR path)
{
    TkRegistry walker;
    if (!walker.Connect(m_root, m_remote ? (LPCSTR)m_computerName : NULL, FALSE))
        return Result(walker.GetLastError());
    if (!walker.Open(path))
        return Result(walker.GetLastError());
    CString child;
    while (walker.EnumerateKeys(0, child)) {
        CString childPath = CString(path) + "\\" + child;
        if (!DeleteTree(childPath))
            return FALSE;
        walker.Open(path);
    }
    walker.Close();
    CString full(path);
    int slash = full.ReverseFind('\\');
    CString parent = slash >= 0 ? full.Left(slash) : CString();
    CString leaf = slash >= 0 ? full.Mid(slash + 1) : full;
    HKEY parentKey = m_root;
    if (!parent.IsEmpty()) {
        LONG code = ::RegOpenKeyExA(m_root, parent, 0, KEY_ALL_ACCESS, &parentKey);
        if (code != ERROR_SUCCESS)
            return Result(code);
    }
    LONG code = ::RegDeleteKeyA(parentKey, leaf);
    if (parentKey != m_root)
        ::RegCloseKey(parentKey);
    return Result(code);
}

BOOL TkRegistry::DeleteValue(LPCSTR valueName)
{
    return Result(::RegDeleteValueA(m_key, valueName));
}

LONG TkRegistry::EnumKeyEx(DWORD index, LPSTR name, DWORD* nameSize, LPSTR className,
                           DWORD* classSize)
{
    m_lastError = ::RegEnumKeyExA(m_key, index, name, nameSize, NULL, className, classSize,
                                  &m_lastWriteFileTime);
    return m_lastError;
}

BOOL TkRegistry::EnumerateKeys(DWORD index, CString& name, CString& className)
{
    char nameBuffer[kNameBufferChars + 1];
    char classBuffer[kNameBufferChars + 1];
    DWORD nameSize = kNameBufferChars;
    DWORD classSize = kNameBufferChars;
    LONG code = EnumKeyEx(index, nameBuffer, &nameSize, classBuffer, &classSize);
    if (code != ERROR_SUCCESS && code != ERROR_MORE_DATA)
        return FALSE;
    name = CString(nameBuffer, nameSize);
    className = CString(classBuffer, classSize);
    return TRUE;
}

BOOL TkRegistry::EnumerateKeys(DWORD index, CString& name)
{
    char nameBuffer[kNameBufferChars + 1];
    DWORD nameSize = kNameBufferChars;
    LONG code = EnumKeyEx(index, nameBuffer, &nameSize, NULL, NULL);
    if (code != ERROR_SUCCESS && code != ERROR_MORE_DATA)
        return FALSE;
    name = CString(nameBuffer, nameSize);
    return TRUE;
}

BOOL TkRegistry::EnumerateValues(DWORD index, CString& name, DWORD& type, BYTE* data,
                                 DWORD& dataSize)
{
    return EnumerateValues(index, name, &type, data, &dataSize);
}

BOOL TkRegistry::EnumerateValues(DWORD index, CString& name, DWORD& type)
{
    return EnumerateValues(index, name, &type, NULL, NULL);
}

BOOL TkRegistry::EnumerateValues(DWORD index, CString& name, DWORD* type, BYTE* data,
                                 DWORD* dataSize)
{
    char nameBuffer[kValueNameChars + 1];
    DWORD nameSize = kValueNameChars;
    DWORD valueType = 0;
    m_lastError = ::RegEnumValueA(m_key, index, nameBuffer, &nameSize, NULL, &valueType, data,
                                  dataSize);
    if (m_lastError != ERROR_SUCCESS && m_lastError != ERROR_MORE_DATA)
        return FALSE;
    name = CString(nameBuffer, nameSize);
    if (type != NULL)
        *type = valueType;
    return TRUE;
}

BOOL TkRegistry::Flush()
{
    return Result(::RegFlushKey(m_key));
}

BOOL TkRegistry::QueryBinaryValue(LPCSTR name, CByteArray& data)
{
    std::vector<BYTE> buffer(m_longestValueData + 1);
    DWORD type = REG_BINARY;
    DWORD size = (DWORD)buffer.size();
    if (!QueryValue(name, &type, buffer.data(), &size))
        return FALSE;
    data.SetSize(size);
    for (DWORD i = 0; i < size; i++)
        data[i] = buffer[i];
    return TRUE;
}

BOOL TkRegistry::QueryDWordValue(LPCSTR name, DWORD* value)
{
    DWORD type = REG_DWORD;
    DWORD size = sizeof(DWORD);
    return QueryValue(name, &type, reinterpret_cast<BYTE*>(value), &size);
}

BOOL TkRegistry::GetKeySecurity(SECURITY_INFORMATION info, PSECURITY_DESCRIPTOR descriptor,
                                DWORD* size)
{
    if (descriptor == NULL)
        return Result(kInvalidParameter);
    return Result(::RegGetKeySecurity(m_key, info, descriptor, size));
}

BOOL TkRegistry::QueryStringValue(LPCSTR name, CString& value)
{
    char buffer[kStringValueBytes + 1];
    DWORD type = REG_SZ;
    DWORD size = kStringValueBytes;
    if (!QueryValue(name, &type, reinterpret_cast<BYTE*>(buffer), &size)) {
        value.Empty();
        return FALSE;
    }
    buffer[size < kStringValueBytes ? size : kStringValueBytes] = '\0';
    value = buffer;
    return TRUE;
}

BOOL TkRegistry::QueryMultiStringValue(LPCSTR name, CStringArray& values)
{
    std::vector<char> buffer(m_longestValueData + 2, '\0');
    DWORD type = REG_MULTI_SZ;
    DWORD size = (DWORD)buffer.size() - 1;
    if (!QueryValue(name, &type, reinterpret_cast<BYTE*>(buffer.data()), &size))
        return FALSE;
    values.RemoveAll();
    DWORD at = 0;
    while (size > 0 && at < size - 1) {
        CString text(&buffer[at]);
        values.Add(text);
        at += text.GetLength() + 1;
    }
    return TRUE;
}

BOOL TkRegistry::QueryValue(LPCSTR name, CString& value)
{
    if (name == NULL)
        return Result(kInvalidParameter);
    return QueryStringValue(name, value);
}

BOOL TkRegistry::QueryValue(LPCSTR name, CStringArray& values)
{
    if (name == NULL)
        return Result(kInvalidParameter);
    return QueryMultiStringValue(name, values);
}

BOOL TkRegistry::QueryValue(LPCSTR name, DWORD* value)
{
    if (name == NULL)
        return Result(kInvalidParameter);
    return QueryDWordValue(name, value);
}

BOOL TkRegistry::QueryValue(LPCSTR name, CByteArray& data)
{
    if (name == NULL)
        return Result(kInvalidParameter);
    return QueryBinaryValue(name, data);
}

BOOL TkRegistry::LoadKey(LPCSTR subkeyName, LPCSTR fileName)
{
    return Result(::RegLoadKeyA(m_root, subkeyName, fileName));
}

BOOL TkRegistry::NotifyChange(HANDLE event, DWORD filter, BOOL watchSubtree, BOOL async)
{
    return Result(::RegNotifyChangeKeyValue(m_key, watchSubtree, filter, event, async));
}

BOOL TkRegistry::Open(LPCSTR name, REGSAM access)
{
    if (m_root == NULL)
        m_root = HKEY_CLASSES_ROOT;
    CloseCurrentKey();
    CString keyName = TkNormalizeKeyName(name);
    HKEY key = NULL;
    LONG code = ::RegOpenKeyExA(m_root, keyName, 0, access, &key);
    if (code != ERROR_SUCCESS)
        return Result(code);
    m_key = key;
    m_keyName = keyName;
    QueryInfo();
    return Result(ERROR_SUCCESS);
}

BOOL TkRegistry::QueryInfo()
{
    char classBuffer[kNameBufferChars + 1];
    DWORD classSize = kNameBufferChars;
    LONG code = ::RegQueryInfoKeyA(m_key, classBuffer, &classSize, NULL, &m_subkeyCount,
                                   &m_longestSubkeyName, &m_longestClassName, &m_valueCount,
                                   &m_longestValueName, &m_longestValueData,
                                   &m_securityDescriptorSize, &m_lastWriteFileTime);
    if (code != ERROR_SUCCESS)
        return Result(code);
    m_className = CString(classBuffer, classSize);
    m_lastWriteTime = CTime(m_lastWriteFileTime);
    return Result(code);
}

BOOL TkRegistry::QueryValue(LPCSTR name, DWORD* type, BYTE* data, DWORD* dataSize)
{
    DWORD valueType = 0;
    LONG code = ::RegQueryValueExA(m_key, name, NULL, &valueType, data, dataSize);
    if (code == ERROR_SUCCESS && type != NULL)
        *type = valueType;
    return Result(code);
}

BOOL TkRegistry::ReplaceKey(LPCSTR subkey, LPCSTR newFile, LPCSTR oldFile)
{
    if (subkey == NULL || newFile == NULL || oldFile == NULL)
        return Result(kInvalidParameter);
    return Result(::RegReplaceKeyA(m_key, subkey, newFile, oldFile));
}

BOOL TkRegistry::RestoreKey(LPCSTR file, DWORD flags)
{
    return Result(::RegRestoreKeyA(m_key, file, flags));
}

BOOL TkRegistry::SaveKey(LPCSTR file, LPSECURITY_ATTRIBUTES security)
{
    return Result(::RegSaveKeyA(m_key, file, security));
}

BOOL TkRegistry::SetBinaryValue(LPCSTR name, const CByteArray& data)
{
    std::vector<BYTE> bytes(data.GetSize());
    for (int i = 0; i < data.GetSize(); i++)
        bytes[i] = data[i];
    return SetValue(name, REG_BINARY, bytes.empty() ? (const BYTE*)"" : bytes.data(),
                    (DWORD)bytes.size());
}

BOOL TkRegistry::SetDWordValue(LPCSTR name, DWORD value)
{
    return SetValue(name, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
}

BOOL TkRegistry::SetKeySecurity(SECURITY_INFORMATION* info, PSECURITY_DESCRIPTOR descriptor)
{
    if (info == NULL)
        return Result(kInvalidParameter);
    return Result(::RegSetKeySecurity(m_key, *info, descriptor));
}

BOOL TkRegistry::SetStringValue(LPCSTR name, const CString& value)
{
    return SetValue(name, REG_SZ, reinterpret_cast<const BYTE*>((LPCSTR)value),
                    value.GetLength() + 1);
}

BOOL TkRegistry::SetMultiStringValue(LPCSTR name, const CStringArray& values)
{
    std::vector<char> bytes;
    for (int i = 0; i < values.GetSize(); i++) {
        LPCSTR text = values[i];
        bytes.insert(bytes.end(), text, text + values[i].GetLength() + 1);
    }
    bytes.push_back('\0');
    return SetValue(name, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(bytes.data()),
                    (DWORD)bytes.size());
}

BOOL TkRegistry::SetValue(LPCSTR name, DWORD type, const BYTE* data, DWORD size)
{
    if (name == NULL || data == NULL)
        return Result(kInvalidParameter);
    return Result(::RegSetValueExA(m_key, name, 0, type, data, size));
}

BOOL TkRegistry::SetValue(LPCSTR name, const CString& value)
{
    if (name == NULL)
        return Result(kInvalidParameter);
    return SetStringValue(name, value);
}

BOOL TkRegistry::SetValue(LPCSTR name, const CStringArray& values)
{
    if (name == NULL)
        return Result(kInvalidParameter);
    return SetMultiStringValue(name, values);
}

BOOL TkRegistry::SetValue(LPCSTR name, DWORD value)
{
    if (name == NULL)
        return Result(kInvalidParameter);
    return SetDWordValue(name, value);
}

BOOL TkRegistry::SetValue(LPCSTR name, const CByteArray& data)
{
    if (name == NULL)
        return Result(kInvalidParameter);
    return SetBinaryValue(name, data);
}

BOOL TkRegistry::UnLoadKey(LPCSTR subkeyName)
{
    return Result(::RegUnLoadKeyA(m_key, subkeyName));
}
