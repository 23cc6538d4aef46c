// The common dialogs of comdlg32 and the shell's folder browser, thin: each
// fills its record, runs the dialog modally and reads the answer back.
#pragma once

#include "platform/mfc/Dialog.h"

#include <commdlg.h>

class CDC;

class CCommonDialog : public CDialog
{
    DECLARE_DYNAMIC(CCommonDialog)
public:
    explicit CCommonDialog(CWnd* parentWnd);

protected:
    // The owner the dialog runs over.
    HWND OwnerHandle();
};

class CFileDialog : public CCommonDialog
{
    DECLARE_DYNAMIC(CFileDialog)
public:
    // filter: pairs of description and patterns, each part ended by '|'
    // ("Play lists (*.pla)|*.pla||").
    CFileDialog(BOOL openFileDialog, LPCSTR defaultExt = NULL, LPCSTR fileName = NULL,
                DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCSTR filter = NULL,
                CWnd* parentWnd = NULL);

    INT_PTR DoModal() override;

    CString GetPathName() const;
    // The name with its extension, the extension alone, the name without it.
    CString GetFileName() const;
    CString GetFileExt() const;
    CString GetFileTitle() const;

    OPENFILENAMEA m_ofn;

private:
    BOOL m_openFileDialog;
    CString m_filter;
    CString m_defaultExt;
    char m_fileName[MAX_PATH * 4];
    char m_fileTitle[MAX_PATH];
};

class CColorDialog : public CCommonDialog
{
    DECLARE_DYNAMIC(CColorDialog)
public:
    explicit CColorDialog(COLORREF initial = 0, DWORD flags = 0, CWnd* parentWnd = NULL);

    INT_PTR DoModal() override;
    COLORREF GetColor() const;

    CHOOSECOLORA m_cc;
    // The sixteen custom colours, shared by every colour dialog of the program.
    static COLORREF c_CustColors[16];
};

class CFontDialog : public CCommonDialog
{
    DECLARE_DYNAMIC(CFontDialog)
public:
    explicit CFontDialog(const LOGFONTA* initial = NULL,
                         DWORD flags = CF_EFFECTS | CF_SCREENFONTS, CDC* printerDC = NULL,
                         CWnd* parentWnd = NULL);

    INT_PTR DoModal() override;
    void GetCurrentFont(LPLOGFONTA logFont);
    CString GetFaceName() const;
    // In tenths of a point.
    int GetSize() const;
    COLORREF GetColor() const;
    int GetWeight() const;
    BOOL IsBold() const;
    BOOL IsItalic() const;

    CHOOSEFONTA m_cf;
    LOGFONTA m_lf;
};

// Lets the user pick a folder (SHBrowseForFolder).
class CFolderDialog : public CCommonDialog
{
    DECLARE_DYNAMIC(CFolderDialog)
public:
    explicit CFolderDialog(LPCSTR title = NULL, LPCSTR initialFolder = NULL,
                           CWnd* parentWnd = NULL);

    INT_PTR DoModal() override;
    CString GetFolderPath() const;

private:
    static int CALLBACK SelectInitialFolder(HWND hWnd, UINT message, LPARAM, LPARAM data);

    CString m_title;
    CString m_folder;
};
