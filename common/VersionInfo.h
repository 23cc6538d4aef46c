// Reader of a program file's version resource: its string values, its fixed
// record, the version texts the About boxes show and the packed version the crash
// link sends.
#pragma once

#include <afx.h>

#include <windows.h>

#include <vector>

class CVersionInfo
{
public:
    CVersionInfo() = default;
    ~CVersionInfo() { Close(); }
    CVersionInfo(const CVersionInfo&) = delete;
    CVersionInfo& operator=(const CVersionInfo&) = delete;

    // Loads the file's version block and its first translation; false and nothing
    // kept when either is missing.
    BOOL Open(LPCSTR path);
    void Close();

    // "\StringFileInfo\<translation>\<key>", with the stored translation when 0;
    // "" when nothing is loaded or the value is missing.
    CString QueryValue(LPCSTR key, DWORD translation = 0) const;
    CString GetFileVersion() const { return QueryValue("FileVersion"); }
    // The fixed record, or null when nothing is loaded.
    const VS_FIXEDFILEINFO* GetFixedInfo() const;
    // "1.23, Build 4" for 1.2.3.4; empty when nothing is loaded.
    CString GetFileVersionText() const;
    CString GetProductVersionText() const;
    // Major in bits 31-24, minor in 23-16, the fourth number in 15-0; 0 unloaded.
    DWORD GetPackedFileVersion() const;

private:
    std::vector<BYTE> m_block;
    DWORD m_translation = 0;
};
