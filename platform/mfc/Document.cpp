#include "platform/mfc/Document.h"
#include "platform/mfc/Archive.h"
#include "platform/mfc/CommonDialogs.h"
#include "platform/mfc/DocTemplate.h"
#include "platform/mfc/FrameWnd.h"
#include "platform/mfc/View.h"
#include "platform/mfc/WinApp.h"
#include "platform/runtime/FileReplacement.h"

namespace
{
// The file's name without its folder, the title of a document opened from it.
CString FileTitle(LPCSTR pathName)
{
    LPCSTR name = pathName;
    for (LPCSTR p = pathName; *p; p++)
    {
        if (*p == '\\' || *p == '/' || *p == ':')
            name = p + 1;
    }
    return CString(name);
}
}

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)

BEGIN_MESSAGE_MAP(CDocument, CCmdTarget)
    ON_COMMAND(ID_FILE_SAVE, OnFileSave)
    ON_COMMAND(ID_FILE_SAVE_AS, OnFileSaveAs)
END_MESSAGE_MAP()

CDocument::CDocument() : m_bAutoDelete(TRUE), m_pDocTemplate(NULL), m_bModified(FALSE)
{
}

CDocument::~CDocument()
{
    // Views that outlive their document must not reach back into it.
    POSITION position = GetFirstViewPosition();
    while (position)
        GetNextView(position)->m_pDocument = NULL;
    if (m_pDocTemplate)
        m_pDocTemplate->RemoveDocument(this);
}

const CString& CDocument::GetTitle() const
{
    return m_strTitle;
}

void CDocument::SetTitle(LPCSTR title)
{
    m_strTitle = title;
    POSITION position = GetFirstViewPosition();
    while (position)
    {
        CFrameWnd* frame = GetNextView(position)->GetParentFrame();
        if (frame)
            frame->OnUpdateFrameTitle(TRUE);
    }
}

const CString& CDocument::GetPathName() const
{
    return m_strPathName;
}

void CDocument::SetPathName(LPCSTR pathName, BOOL)
{
    m_strPathName = pathName;
    SetTitle(FileTitle(pathName));
}

CDocTemplate* CDocument::GetDocTemplate() const
{
    return m_pDocTemplate;
}

BOOL CDocument::IsModified()
{
    return m_bModified;
}

void CDocument::SetModifiedFlag(BOOL modified)
{
    m_bModified = modified;
}

POSITION CDocument::GetFirstViewPosition() const
{
    return m_viewList.GetHeadPosition();
}

CView* CDocument::GetNextView(POSITION& position) const
{
    return static_cast<CView*>(m_viewList.GetNext(position));
}

void CDocument::AddView(CView* view)
{
    m_viewList.AddTail(view);
    view->m_pDocument = this;
    OnChangedViewList();
}

void CDocument::RemoveView(CView* view)
{
    POSITION position = m_viewList.Find(view);
    if (!position)
        return;
    m_viewList.RemoveAt(position);
    view->m_pDocument = NULL;
    OnChangedViewList();
}

void CDocument::OnChangedViewList()
{
    if (m_viewList.IsEmpty() && m_bAutoDelete)
    {
        OnCloseDocument();
        return;
    }
    // Frames number themselves when several show this document.
    POSITION position = GetFirstViewPosition();
    while (position)
    {
        CFrameWnd* frame = GetNextView(position)->GetParentFrame();
        if (frame)
            frame->OnUpdateFrameTitle(TRUE);
    }
}

void CDocument::UpdateAllViews(CView* sender, LPARAM hint, CObject* hintObject)
{
    POSITION position = GetFirstViewPosition();
    while (position)
    {
        CView* view = GetNextView(position);
        if (view != sender)
            view->OnUpdate(sender, hint, hintObject);
    }
}

void CDocument::DeleteContents()
{
}

BOOL CDocument::OnNewDocument()
{
    DeleteContents();
    m_strPathName.Empty();
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnOpenDocument(LPCSTR pathName)
{
    CFile file;
    CFileException error;
    if (!file.Open(pathName, CFile::modeRead | CFile::shareDenyWrite, &error))
    {
        error.ReportError();
        return FALSE;
    }
    DeleteContents();
    try
    {
        CArchive archive(&file, CArchive::load | CArchive::bNoFlushOnDelete);
        Serialize(archive);
        archive.Close();
    }
    catch (CException* e)
    {
        file.Abort();
        DeleteContents();
        e->ReportError();
        e->Delete();
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

// The document goes to a new file beside the old one, which it replaces only
// once everything is written: a failed save leaves the old file whole.
BOOL CDocument::OnSaveDocument(LPCSTR pathName)
{
    CFileReplacement replacement(pathName);
    if (!replacement.Begin())
    {
        CFileException(CFileException::accessDenied, (LONG)GetLastError(), pathName)
            .ReportError();
        return FALSE;
    }
    CFile file;
    CFileException error;
    if (!file.Open(replacement.GetTempPath(), CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive,
                   &error))
    {
        error.ReportError();
        return FALSE;
    }
    try
    {
        CArchive archive(&file, CArchive::store | CArchive::bNoFlushOnDelete);
        Serialize(archive);
        archive.Close();
        file.Close();
    }
    catch (CException* e)
    {
        file.Abort();
        e->ReportError();
        e->Delete();
        return FALSE;
    }
    if (!replacement.Commit())
    {
        CFileException(CFileException::accessDenied, (LONG)GetLastError(), pathName).ReportError();
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::OnCloseDocument()
{
    // Destroying the frames removes the views; the document must outlive that.
    BOOL autoDelete = m_bAutoDelete;
    m_bAutoDelete = FALSE;
    while (!m_viewList.IsEmpty())
    {
        CView* view = static_cast<CView*>(m_viewList.GetHead());
        CFrameWnd* frame = view->GetParentFrame();
        if (frame)
            frame->DestroyWindow();
        else
            view->DestroyWindow();
        // A view that did not leave on its own is let go here.
        if (!m_viewList.IsEmpty() && m_viewList.GetHead() == view)
            RemoveView(view);
    }
    m_bAutoDelete = autoDelete;
    DeleteContents();
    if (m_bAutoDelete)
        delete this;
}

BOOL CDocument::SaveModified()
{
    if (!IsModified())
        return TRUE;
    CString name = m_strPathName.IsEmpty() ? m_strTitle : FileTitle(m_strPathName);
    CString prompt;
    prompt.Format("Save changes to %s?", name);
    switch (AfxMessageBox(prompt, MB_YESNOCANCEL | MB_ICONEXCLAMATION))
    {
    case IDCANCEL:
        return FALSE;
    case IDYES:
        return DoFileSave();
    default:
        return TRUE;
    }
}

BOOL CDocument::CanCloseFrame(CFrameWnd* frame)
{
    // Another frame on this document keeps it open.
    POSITION position = GetFirstViewPosition();
    while (position)
    {
        CFrameWnd* other = GetNextView(position)->GetParentFrame();
        if (other && other != frame)
            return TRUE;
    }
    return SaveModified();
}

CString CDocument::AskSaveName()
{
    CString filter, extension;
    if (m_pDocTemplate)
    {
        filter = m_pDocTemplate->GetFileFilter();
        m_pDocTemplate->GetDocString(extension, CDocTemplate::filterExt);
    }
    CString name = m_strPathName.IsEmpty() ? m_strTitle : m_strPathName;
    // The dialog wants the default extension without its dot.
    extension.TrimLeft('.');
    CFileDialog dialog(FALSE, extension.IsEmpty() ? NULL : (LPCSTR)extension, name,
                       OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                       filter.IsEmpty() ? NULL : (LPCSTR)filter, AfxGetMainWnd());
    if (dialog.DoModal() != IDOK)
        return CString();
    return dialog.GetPathName();
}

BOOL CDocument::DoSave(LPCSTR newName, BOOL replace)
{
    CString pathName = newName ? CString(newName) : AskSaveName();
    if (pathName.IsEmpty())
        return FALSE;
    if (!OnSaveDocument(pathName))
        return FALSE;
    if (replace)
        SetPathName(pathName);
    return TRUE;
}

BOOL CDocument::DoFileSave()
{
    return DoSave(m_strPathName.IsEmpty() ? NULL : (LPCSTR)m_strPathName);
}

void CDocument::OnFileSave()
{
    DoFileSave();
}

void CDocument::OnFileSaveAs()
{
    DoSave(NULL);
}

BOOL CDocument::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo)
{
    if (CCmdTarget::OnCmdMsg(id, code, extra, handlerInfo))
        return TRUE;
    return m_pDocTemplate && m_pDocTemplate->OnCmdMsg(id, code, extra, handlerInfo);
}
