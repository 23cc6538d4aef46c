#include "platform/mfc/CommonDialogs.h"
#include "platform/mfc/Dc.h"
#include "platform/mfc/WinApp.h"

#include <shlobj.h>
#include <string.h>

IMPLEMENT_DYNAMIC(CCommonDialog, CDialog)
IMPLEMENT_DYNAMIC(CFileDialog, CCommonDialog)
IMPLEMENT_DYNAMIC(CColorDialog, CCommonDialog)
IMPLEMENT_DYNAMIC(CFontDialog, CCommonDialog)
IMPLEMENT_DYNAMIC(CFolderDialog, CCommonDialog)

COLORREF CColorDialog::c_CustColors[16] = {
    RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
    RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
    RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
    RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
};

namespace
{
// Points at the characters after the last backslash (or colon) of path.
LPCSTR FileNamePart(LPCSTR path)
{
    LPCSTR name = path;
    for (LPCSTR p = path; *p; ++p)
    {
        if (*p == '\\' || *p == '/' || *p == ':')
            name = p + 1;
    }
    return name;
}
}

CCommonDialog::CCommonDialog(CWnd* parentWnd) : CDialog((UINT)0, parentWnd)
{
}

HWND CCommonDialog::OwnerHandle()
{
    return PreModal();
}

CFileDialog::CFileDialog(BOOL openFileDialog, LPCSTR defaultExt, LPCSTR fileName, DWORD flags,
                         LPCSTR filter, CWnd* parentWnd)
    : CCommonDialog(parentWnd), m_openFileDialog(openFileDialog)
{
    memset(&m_ofn, 0, sizeof(m_ofn));
    m_fileName[0] = 0;
    m_fileTitle[0] = 0;
    if (fileName)
        lstrcpynA(m_fileName, fileName, sizeof(m_fileName));
    m_ofn.lStructSize = sizeof(m_ofn);
    m_ofn.lpstrFile = m_fileName;
    m_ofn.nMaxFile = sizeof(m_fileName);
    m_ofn.lpstrFileTitle = m_fileTitle;
    m_ofn.nMaxFileTitle = sizeof(m_fileTitle);
    m_ofn.Flags = flags | OFN_EXPLORER;
    if (defaultExt)
    {
        m_defaultExt = defaultExt;
        m_ofn.lpstrDefExt = m_defaultExt;
    }
    if (filter)
    {
        // The dialog wants its parts ended by zeros, the list by two.
        m_filter = filter;
        int length = m_filter.GetLength();
        LPSTR text = m_filter.GetBuffer(length + 1);
        for (int i = 0; i < length; ++i)
        {
            if (text[i] == '|')
                text[i] = 0;
        }
        m_filter.ReleaseBuffer(length);
        m_ofn.lpstrFilter = m_filter;
    }
}

INT_PTR CFileDialog::DoModal()
{
    m_ofn.hwndOwner = OwnerHandle();
    BOOL chosen = m_openFileDialog ? GetOpenFileNameA(&m_ofn) : GetSaveFileNameA(&m_ofn);
    return chosen ? IDOK : IDCANCEL;
}

CString CFileDialog::GetPathName() const
{
    return m_ofn.lpstrFile;
}

CString CFileDialog::GetFileName() const
{
    return FileNamePart(m_ofn.lpstrFile);
}

CString CFileDialog::GetFileExt() const
{
    LPCSTR name = FileNamePart(m_ofn.lpstrFile);
    LPCSTR dot = strrchr(name, '.');
    return dot ? dot + 1 : "";
}

CString CFileDialog::GetFileTitle() const
{
    CString name = FileNamePart(m_ofn.lpstrFile);
    int dot = name.ReverseFind('.');
    return dot >= 0 ? name.Left(dot) : name;
}

CColorDialog::CColorDialog(COLORREF initial, DWORD flags, CWnd* parentWnd)
    : CCommonDialog(parentWnd)
{
    memset(&m_cc, 0, sizeof(m_cc));
    m_cc.lStructSize = sizeof(m_cc);
    m_cc.lpCustColors = c_CustColors;
    m_cc.Flags = flags;
    m_cc.rgbResult = initial;
    if (initial)
        m_cc.Flags |= CC_RGBINIT;
}

INT_PTR CColorDialog::DoModal()
{
    m_cc.hwndOwner = OwnerHandle();
    return ChooseColorA(&m_cc) ? IDOK : IDCANCEL;
}

COLORREF CColorDialog::GetColor() const
{
    return m_cc.rgbResult;
}

CFontDialog::CFontDialog(const LOGFONTA* initial, DWORD flags, CDC* printerDC,
                         CWnd* parentWnd)
    : CCommonDialog(parentWnd)
{
    memset(&m_cf, 0, sizeof(m_cf));
    memset(&m_lf, 0, sizeof(m_lf));
    m_cf.lStructSize = sizeof(m_cf);
    m_cf.lpLogFont = &m_lf;
    m_cf.Flags = flags;
    if (initial)
    {
        m_lf = *initial;
        m_cf.Flags |= CF_INITTOLOGFONTSTRUCT;
    }
    if (printerDC)
    {
        m_cf.hDC = printerDC->GetSafeHdc();
        m_cf.Flags |= CF_PRINTERFONTS;
    }
}

INT_PTR CFontDialog::DoModal()
{
    m_cf.hwndOwner = OwnerHandle();
    return ChooseFontA(&m_cf) ? IDOK : IDCANCEL;
}

void CFontDialog::GetCurrentFont(LPLOGFONTA logFont)
{
    *logFont = m_lf;
}

CString CFontDialog::GetFaceName() const
{
    return m_lf.lfFaceName;
}

int CFontDialog::GetSize() const
{
    return m_cf.iPointSize;
}

COLORREF CFontDialog::GetColor() const
{
    return m_cf.rgbColors;
}

int CFontDialog::GetWeight() const
{
    return m_lf.lfWeight;
}

BOOL CFontDialog::IsBold() const
{
    return m_lf.lfWeight >= FW_SEMIBOLD;
}

BOOL CFontDialog::IsItalic() const
{
    return m_lf.lfItalic != 0;
}

CFolderDialog::CFolderDialog(LPCSTR title, LPCSTR initialFolder, CWnd* parentWnd)
    : CCommonDialog(parentWnd), m_title(title), m_folder(initialFolder)
{
}

int CALLBACK CFolderDialog::SelectInitialFolder(HWND hWnd, UINT message, LPARAM, LPARAM data)
{
    LPCSTR folder = (LPCSTR)data;
    if (message == BFFM_INITIALIZED && folder && *folder)
        ::SendMessageA(hWnd, BFFM_SETSELECTIONA, TRUE, (LPARAM)folder);
    return 0;
}

INT_PTR CFolderDialog::DoModal()
{
    char display[MAX_PATH];
    BROWSEINFOA info = {};
    info.hwndOwner = OwnerHandle();
    info.pszDisplayName = display;
    info.lpszTitle = m_title;
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    info.lpfn = SelectInitialFolder;
    info.lParam = (LPARAM)(LPCSTR)m_folder;
    LPITEMIDLIST chosen = SHBrowseForFolderA(&info);
    if (!chosen)
        return IDCANCEL;
    char path[MAX_PATH];
    BOOL isFolder = SHGetPathFromIDListA(chosen, path);
    CoTaskMemFree(chosen);
    if (!isFolder)
        return IDCANCEL;
    m_folder = path;
    return IDOK;
}

CString CFolderDialog::GetFolderPath() const
{
    return m_folder;
}
