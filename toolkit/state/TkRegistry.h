// TkRegistry: one root key (a predefined key, local or of a remote machine)
// and one current key below it. Every operation keeps the registry function's
// code as the last error (87 for a missing argument) and returns a success
// flag; the enumerations count ERROR_MORE_DATA as success.
#pragma once

#include <afx.h>
#include <afxcoll.h>

class TkRegistry : public CObject
{
    DECLARE_DYNAMIC(TkRegistry)
public:
    TkRegistry();
    ~TkRegistry() override;

    virtual void ResetState();
    virtual BOOL CreateKey(LPCSTR name, LPCSTR className = NULL, DWORD options = 0,
                           REGSAM access = KEY_ALL_ACCESS,
                           LPSECURITY_ATTRIBUTES security = NULL, DWORD* disposition = NULL);
    virtual BOOL Close();
    virtual BOOL Connect(HKEY root, LPCSTR computerName = NULL, BOOL closeRoot = TRUE);
    virtual BOOL DeleteKey(LPCSTR name, BOOL recursive = FALSE);
    virtual BOOL DeleteValue(LPCSTR valueName);
    virtual LONG EnumKeyEx(DWORD index, LPSTR name, DWORD* nameSize, LPSTR className,
                           DWORD* classSize);
    virtual BOOL EnumerateKeys(DWORD index, CString& name, CString& className);
    virtual BOOL EnumerateKeys(DWORD index, CString& name);
    virtual BOOL EnumerateValues(DWORD index, CString& name, DWORD& type, BYTE* data,
                                 DWORD& dataSize);
    virtual BOOL EnumerateValues(DWORD index, CString& name, DWORD& type);
    virtual BOOL EnumerateValues(DWORD index, CString& name, DWORD* type, BYTE* data,
                                 DWORD* dataSize);
    virtual BOOL Flush();
    virtual BOOL QueryBinaryValue(LPCSTR name, CByteArray& data);
    virtual BOOL QueryDWordValue(LPCSTR name, DWORD* value);
    virtual BOOL GetKeySecurity(SECURITY_INFORMATION info, PSECURITY_DESCRIPTOR descriptor,
                                DWORD* size);
    virtual BOOL QueryStringValue(LPCSTR name, CString& value);
    virtual BOOL QueryMultiStringValue(LPCSTR name, CStringArray& values);
    virtual BOOL QueryValue(LPCSTR name, CString& value);
    virtual BOOL QueryValue(LPCSTR name, CStringArray& values);
    virtual BOOL QueryValue(LPCSTR name, DWORD* value);
    virtual BOOL QueryValue(LPCSTR name, CByteArray& data);
    virtual BOOL LoadKey(LPCSTR subkeyName, LPCSTR fileName);
    virtual BOOL NotifyChange(HANDLE event, DWORD filter, BOOL watchSubtree, BOOL async);
    virtual BOOL Open(LPCSTR name, REGSAM access = KEY_ALL_ACCESS);
    virtual BOOL QueryInfo();
    virtual BOOL QueryValue(LPCSTR name, DWORD* type, BYTE* data, DWORD* dataSize);
    virtual BOOL ReplaceKey(LPCSTR subkey, LPCSTR newFile, LPCSTR oldFile);
    virtual BOOL RestoreKey(LPCSTR file, DWORD flags);
    virtual BOOL SaveKey(LPCSTR file, LPSECURITY_ATTRIBUTES security);
    virtual BOOL SetBinaryValue(LPCSTR name, const CByteArray& data);
    virtual BOOL SetDWordValue(LPCSTR name, DWORD value);
    virtual BOOL SetKeySecurity(SECURITY_INFORMATION* info, PSECURITY_DESCRIPTOR descriptor);
    virtual BOOL SetStringValue(LPCSTR name, const CString& value);
    virtual BOOL SetMultiStringValue(LPCSTR name, const CStringArray& values);
    virtual BOOL SetValue(LPCSTR name, DWORD type, const BYTE* data, DWORD size);
    virtual BOOL SetValue(LPCSTR name, const CString& value);
    virtual BOOL SetValue(LPCSTR name, const CStringArray& values);
    virtual BOOL SetValue(LPCSTR name, DWORD value);
    virtual BOOL SetValue(LPCSTR name, const CByteArray& data);
    virtual BOOL UnLoadKey(LPCSTR subkeyName);

    LONG GetLastError() const { return m_lastError; }
    HKEY GetCurrentKey() const { return m_key; }
    const CString& GetRootName() const { return m_rootName; }
    const CString& GetKeyName() const { return m_keyName; }
    const CString& GetComputerName() const { return m_computerName; }
    DWORD GetSubkeyCount() const { return m_subkeyCount; }
    DWORD GetValueCount() const { return m_valueCount; }
    BOOL IsRemote() const { return m_remote; }

private:
    BOOL Result(LONG code);
    BOOL CloseCurrentKey();
    BOOL DeleteTree(LPCSTR name);

    LONG m_lastError;
    HKEY m_key;
    HKEY m_root;
    DWORD m_longestSubkeyName;
    DWORD m_longestClassName;
    DWORD m_longestValueName;
    DWORD m_longestValueData;
    DWORD m_securityDescriptorSize;
    FILETIME m_lastWriteFileTime;
    CString m_className;
    CString m_computerName;
    CString m_keyName;
    CString m_rootName;
    DWORD m_subkeyCount;
    DWORD m_valueCount;
    CTime m_lastWriteTime;
    BOOL m_remote;
    BOOL m_closeRoot;
};

// Key names lose one trailing backslash, and with leading also one leading one.
CString TkNormalizeKeyName(LPCSTR name, BOOL leading = FALSE);
