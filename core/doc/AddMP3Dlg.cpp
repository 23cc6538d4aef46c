#include "core/doc/AddMP3Dlg.h"

#include "core/doc/DocAudioFiles.h"
#include "core/doc/LibraryDocument.h"
#include "core/doc/ZymOptions.h"
#include "core/tasks/TaskMgr.h"
#include "library/playlist/PlayList.h"
#include "library/records/MusicLibrary.h"
#include "library/views/ViewsHost.h"
#include "library/web/CDDBClient.h"

#include <afxdlgs.h>

namespace {

const char kAudioFilter[] = "MPEG Audio Files {*.mpg;*.mp1;*.mp2;*.mp3}|*.mpg;*.mp1;*.mp2;*.mp3|All Files {*.*}|*.*||";

} // namespace

BEGIN_MESSAGE_MAP(CAddMP3Dlg, CDialog)
    ON_BN_CLICKED(IDC_ADD_MP3_BROWSE, OnBrowse)
END_MESSAGE_MAP()

CAddMP3Dlg::CAddMP3Dlg(CLibraryDocument& doc, CWnd* parent) : CDialog(IDD, parent), m_doc(doc) {}

void CAddMP3Dlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_ADD_MP3_FILE, m_fileName);
}

void CAddMP3Dlg::OnBrowse()
{
    CFileDialog dialog(TRUE, "mp3", nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_EXPLORER, kAudioFilter, this);
    dialog.m_ofn.lpstrInitialDir = m_initialFolder;
    if (dialog.DoModal() == IDOK)
        SetDlgItemText(IDC_ADD_MP3_FILE, dialog.GetPathName());
}

// The first entry's track is where the file goes: before the selected
// track, or at the start of a whole album.
void CAddMP3Dlg::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    CPlayList& selection = m_doc.GetSelectionList();
    if (selection.GetCount() > 0 && !m_fileName.IsEmpty())
    {
        CLibItem entry = selection.GetItem(0);
        CDocAudioFiles(m_doc).AddAudioFiles(entry, m_fileName, entry.GetTrack());
    }
    CDialog::OnOK();
}
