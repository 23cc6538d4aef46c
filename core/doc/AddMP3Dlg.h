// "Add mp3 to library": a file name or address, typed or browsed for, added
// to the album of the first selected entry when the user presses OK.
#pragma once

#include "core/doc/DocResource.h"

#include <afxwin.h>

class CLibraryDocument;

class CAddMP3Dlg : public CDialog
{
public:
    enum { IDD = IDD_ADD_MP3 };

    explicit CAddMP3Dlg(CLibraryDocument& doc, CWnd* parent = nullptr);

    // Where the browse dialog starts.
    CString m_initialFolder;
    CString m_fileName;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    void OnBrowse();
    DECLARE_MESSAGE_MAP()

private:
    CLibraryDocument& m_doc;
};
