#include "common/VersionInfo.h"

#include <cstdio>

namespace {

CString VersionText(DWORD mostSignificant, DWORD leastSignificant)
{
    CString text;
    text.Format("%u.%01u%01u, Build %u", HIWORD(mostSignificant), LOWORD(mostSignificant),
                HIWORD(leastSignificant), LOWORD(leastSignificant));
    return text;
}

} // namespace

BOOL CVersionInfo::Open(LPCSTR path)
{
    Close();
    DWORD unused = 0;
    DWORD size = GetFileVersionInfoSizeA(path, &unused);
    if (size == 0)
        return FALSE;
    std::vector<BYTE> block(size);
    if (!GetFileVersionInfoA(path, 0, size, block.data()))
        return FALSE;
    DWORD* translation = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block.data(), "\\VarFileInfo\\Translation",
                        reinterpret_cast<void**>(&translation), &length) ||
        length < sizeof(DWORD))
        return FALSE;
    m_translation = (LOWORD(*translation) << 16) | HIWORD(*translation);
    m_block.swap(block);
    return TRUE;
}

void CVersionInfo::Close()
{
    m_block.clear();
    m_translation = 0;
}

CString CVersionInfo::QueryValue(LPCSTR key, DWORD translation) const
{
    if (m_block.empty())
        return CString();
    char name[256];
    std::snprintf(name, sizeof name, "\\StringFileInfo\\%08lx\\%s",
                  static_cast<unsigned long>(translation ? translation : m_translation), key);
    char* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(const_cast<BYTE*>(m_block.data()), name, reinterpret_cast<void**>(&value),
                        &length) ||
        !value)
        return CString();
    return CString(value);
}

const VS_FIXEDFILEINFO* CVersionInfo::GetFixedInfo() const
{
    if (m_block.empty())
        return nullptr;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(const_cast<BYTE*>(m_block.data()), "\\", reinterpret_cast<void**>(&fixed),
                        &length) ||
        length < sizeof(VS_FIXEDFILEINFO))
        return nullptr;
    return fixed;
}

CString CVersionInfo::GetFileVersionText() const
{
    const VS_FIXEDFILEINFO* fixed = GetFixedInfo();
    return fixed ? VersionText(fixed->dwFileVersionMS, fixed->dwFileVersionLS) : CString();
}

CString CVersionInfo::GetProductVersionText() const
{
    const VS_FIXEDFILEINFO* fixed = GetFixedInfo();
    return fixed ? VersionText(fixed->dwProductVersionMS, fixed->dwProductVersionLS) : CString();
}

DWORD CVersionInfo::GetPackedFileVersion() const
{
    const VS_FIXEDFILEINFO* fixed = GetFixedInfo();
    if (!fixed)
        return 0;
    DWORD major = HIWORD(fixed->dwFileVersionMS) & 0xFF;
    DWORD minor = LOWORD(fixed->dwFileVersionMS) & 0xFF;
    return ((major << 8 | minor) << 16) | LOWORD(fixed->dwFileVersionLS);
}
