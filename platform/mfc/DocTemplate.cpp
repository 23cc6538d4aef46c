#include "platform/mfc/DocTemplate.h"
#include "platform/mfc/Document.h"
#include "platform/mfc/FrameWnd.h"
#include "platform/mfc/View.h"
#include "platform/mfc/WinApp.h"

namespace
{
// The title of a new document when the template names no document kind.
const char kUntitled[] = "Untitled";
}

IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)
IMPLEMENT_DYNAMIC(CSingleDocTemplate, CDocTemplate)
IMPLEMENT_DYNAMIC(CMultiDocTemplate, CDocTemplate)

CDocTemplate::CDocTemplate(UINT resourceId, CRuntimeClass* docClass, CRuntimeClass* frameClass,
                           CRuntimeClass* viewClass)
    : m_nIDResource(resourceId), m_pDocClass(docClass), m_pFrameClass(frameClass),
      m_pViewClass(viewClass)
{
}

CDocTemplate::~CDocTemplate()
{
}

void CDocTemplate::LoadTemplate()
{
    if (m_strDocStrings.IsEmpty())
        m_strDocStrings.LoadString(m_nIDResource);
}

BOOL CDocTemplate::GetDocString(CString& text, DocStringIndex index) const
{
    text.Empty();
    int start = 0;
    for (int part = 0; part < index; part++)
    {
        start = m_strDocStrings.Find('\n', start);
        if (start < 0)
            return FALSE;
        start++;
    }
    int end = m_strDocStrings.Find('\n', start);
    if (end < 0)
        end = m_strDocStrings.GetLength();
    text = m_strDocStrings.Mid(start, end - start);
    return TRUE;
}

CString CDocTemplate::GetFileFilter() const
{
    CString name, extension;
    if (!GetDocString(name, filterName) || !GetDocString(extension, filterExt) ||
        name.IsEmpty() || extension.IsEmpty())
        return CString();
    return name + "|*" + extension + "||";
}

void CDocTemplate::AddDocument(CDocument* doc)
{
    doc->m_pDocTemplate = this;
}

void CDocTemplate::RemoveDocument(CDocument* doc)
{
    doc->m_pDocTemplate = NULL;
}

CDocument* CDocTemplate::CreateNewDocument()
{
    if (!m_pDocClass)
        return NULL;
    CDocument* doc = static_cast<CDocument*>(m_pDocClass->CreateObject());
    if (doc)
        AddDocument(doc);
    return doc;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* doc, CFrameWnd* other)
{
    CCreateContext context;
    context.m_pCurrentFrame = other;
    context.m_pCurrentDoc = doc;
    context.m_pNewViewClass = m_pViewClass;
    context.m_pNewDocTemplate = this;
    CFrameWnd* frame = static_cast<CFrameWnd*>(m_pFrameClass->CreateObject());
    if (!frame)
        return NULL;
    // A view that fails to join must not take the new document with it.
    BOOL autoDelete = doc ? doc->m_bAutoDelete : FALSE;
    if (doc)
        doc->m_bAutoDelete = FALSE;
    // A frame whose window fails has deleted itself through PostNcDestroy.
    BOOL loaded =
        frame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, NULL, &context);
    if (doc)
        doc->m_bAutoDelete = autoDelete;
    return loaded ? frame : NULL;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* frame, CDocument* doc, BOOL makeVisible)
{
    frame->InitialUpdateFrame(doc, makeVisible);
}

CDocument* CDocTemplate::OpenInFrame(CDocument* doc, CFrameWnd* frame, LPCSTR pathName,
                                     BOOL makeVisible)
{
    if (!pathName)
    {
        SetDefaultTitle(doc);
        if (!doc->OnNewDocument())
        {
            frame->DestroyWindow();
            return NULL;
        }
    }
    else
    {
        if (!doc->OnOpenDocument(pathName))
        {
            frame->DestroyWindow();
            return NULL;
        }
        doc->SetPathName(pathName);
    }
    InitialUpdateFrame(frame, doc, makeVisible);
    return doc;
}

BOOL CDocTemplate::SaveAllModified()
{
    POSITION position = GetFirstDocPosition();
    while (position)
    {
        if (!GetNextDoc(position)->SaveModified())
            return FALSE;
    }
    return TRUE;
}

void CDocTemplate::CloseAllDocuments(BOOL)
{
    POSITION position = GetFirstDocPosition();
    while (position)
        GetNextDoc(position)->OnCloseDocument();
}

CSingleDocTemplate::CSingleDocTemplate(UINT resourceId, CRuntimeClass* docClass,
                                       CRuntimeClass* frameClass, CRuntimeClass* viewClass)
    : CDocTemplate(resourceId, docClass, frameClass, viewClass), m_pOnlyDoc(NULL)
{
    LoadTemplate();
}

CSingleDocTemplate::~CSingleDocTemplate()
{
    if (m_pOnlyDoc)
        m_pOnlyDoc->OnCloseDocument();
}

POSITION CSingleDocTemplate::GetFirstDocPosition() const
{
    return m_pOnlyDoc ? (POSITION)1 : NULL;
}

CDocument* CSingleDocTemplate::GetNextDoc(POSITION& position) const
{
    position = NULL;
    return m_pOnlyDoc;
}

void CSingleDocTemplate::AddDocument(CDocument* doc)
{
    CDocTemplate::AddDocument(doc);
    m_pOnlyDoc = doc;
}

void CSingleDocTemplate::RemoveDocument(CDocument* doc)
{
    CDocTemplate::RemoveDocument(doc);
    if (m_pOnlyDoc == doc)
        m_pOnlyDoc = NULL;
}

CDocument* CSingleDocTemplate::OpenDocumentFile(LPCSTR pathName, BOOL makeVisible)
{
    CDocument* doc = m_pOnlyDoc;
    if (doc)
    {
        // The one document takes the new contents in its own frame.
        if (!doc->SaveModified())
            return NULL;
        CView* view = NULL;
        POSITION position = doc->GetFirstViewPosition();
        if (position)
            view = doc->GetNextView(position);
        CFrameWnd* frame = view ? view->GetParentFrame() : NULL;
        BOOL loaded = pathName ? doc->OnOpenDocument(pathName) : doc->OnNewDocument();
        if (!loaded)
            return NULL;
        if (pathName)
            doc->SetPathName(pathName);
        else
            SetDefaultTitle(doc);
        if (frame)
            InitialUpdateFrame(frame, doc, makeVisible);
        return doc;
    }

    doc = CreateNewDocument();
    if (!doc)
        return NULL;
    CFrameWnd* frame = CreateNewFrame(doc, NULL);
    if (!frame)
    {
        delete doc;
        return NULL;
    }
    CWinApp* app = AfxGetApp();
    if (app && !app->m_pMainWnd)
        app->m_pMainWnd = frame;
    return OpenInFrame(doc, frame, pathName, makeVisible);
}

void CSingleDocTemplate::SetDefaultTitle(CDocument* doc)
{
    CString title;
    if (!GetDocString(title, docName) || title.IsEmpty())
        title = kUntitled;
    doc->SetTitle(title);
}

CMultiDocTemplate::CMultiDocTemplate(UINT resourceId, CRuntimeClass* docClass,
                                     CRuntimeClass* frameClass, CRuntimeClass* viewClass)
    : CDocTemplate(resourceId, docClass, frameClass, viewClass), m_hMenuShared(NULL),
      m_hAccelTable(NULL), m_nUntitledCount(0)
{
    LoadTemplate();
}

CMultiDocTemplate::~CMultiDocTemplate()
{
    CloseAllDocuments(TRUE);
    if (m_hMenuShared)
        ::DestroyMenu(m_hMenuShared);
    if (m_hAccelTable)
        ::DestroyAcceleratorTable(m_hAccelTable);
}

void CMultiDocTemplate::LoadTemplate()
{
    CDocTemplate::LoadTemplate();
    HINSTANCE resources = AfxGetResourceHandle();
    LPCSTR name = MAKEINTRESOURCEA(m_nIDResource);
    if (!m_hMenuShared && ::FindResourceA(resources, name, (LPCSTR)RT_MENU))
        m_hMenuShared = ::LoadMenuA(resources, name);
    if (!m_hAccelTable && ::FindResourceA(resources, name, (LPCSTR)RT_ACCELERATOR))
        m_hAccelTable = ::LoadAcceleratorsA(resources, name);
}

POSITION CMultiDocTemplate::GetFirstDocPosition() const
{
    return m_docList.GetHeadPosition();
}

CDocument* CMultiDocTemplate::GetNextDoc(POSITION& position) const
{
    return static_cast<CDocument*>(m_docList.GetNext(position));
}

void CMultiDocTemplate::AddDocument(CDocument* doc)
{
    CDocTemplate::AddDocument(doc);
    m_docList.AddTail(doc);
}

void CMultiDocTemplate::RemoveDocument(CDocument* doc)
{
    CDocTemplate::RemoveDocument(doc);
    POSITION position = m_docList.Find(doc);
    if (position)
        m_docList.RemoveAt(position);
}

CDocument* CMultiDocTemplate::OpenDocumentFile(LPCSTR pathName, BOOL makeVisible)
{
    CDocument* doc = CreateNewDocument();
    if (!doc)
        return NULL;
    CFrameWnd* frame = CreateNewFrame(doc, NULL);
    if (!frame)
    {
        delete doc;
        return NULL;
    }
    return OpenInFrame(doc, frame, pathName, makeVisible);
}

void CMultiDocTemplate::SetDefaultTitle(CDocument* doc)
{
    CString title;
    if (!GetDocString(title, docName) || title.IsEmpty())
        title = kUntitled;
    CString number;
    number.Format("%d", ++m_nUntitledCount);
    doc->SetTitle(title + number);
}

CDocManager::CDocManager()
{
}

CDocManager::~CDocManager()
{
    while (!m_templateList.IsEmpty())
        delete static_cast<CDocTemplate*>(m_templateList.RemoveHead());
}

void CDocManager::AddDocTemplate(CDocTemplate* docTemplate)
{
    docTemplate->LoadTemplate();
    m_templateList.AddTail(docTemplate);
}

POSITION CDocManager::GetFirstDocTemplatePosition() const
{
    return m_templateList.GetHeadPosition();
}

CDocTemplate* CDocManager::GetNextDocTemplate(POSITION& position) const
{
    return static_cast<CDocTemplate*>(m_templateList.GetNext(position));
}

int CDocManager::GetOpenDocumentCount() const
{
    int count = 0;
    POSITION position = GetFirstDocTemplatePosition();
    while (position)
    {
        CDocTemplate* docTemplate = GetNextDocTemplate(position);
        POSITION docPosition = docTemplate->GetFirstDocPosition();
        while (docPosition)
        {
            docTemplate->GetNextDoc(docPosition);
            count++;
        }
    }
    return count;
}

void CDocManager::OnFileNew()
{
    if (!m_templateList.IsEmpty())
        static_cast<CDocTemplate*>(m_templateList.GetHead())->OpenDocumentFile(NULL);
}

CDocument* CDocManager::OpenDocumentFile(LPCSTR pathName)
{
    // Only a named file can be open already.
    POSITION position = pathName && *pathName ? GetFirstDocTemplatePosition() : NULL;
    while (position)
    {
        CDocTemplate* docTemplate = GetNextDocTemplate(position);
        POSITION docPosition = docTemplate->GetFirstDocPosition();
        while (docPosition)
        {
            CDocument* doc = docTemplate->GetNextDoc(docPosition);
            if (doc->GetPathName().CompareNoCase(pathName) != 0)
                continue;
            POSITION viewPosition = doc->GetFirstViewPosition();
            CFrameWnd* frame =
                viewPosition ? doc->GetNextView(viewPosition)->GetParentFrame() : NULL;
            if (frame)
                frame->ActivateFrame();
            return doc;
        }
    }
    if (m_templateList.IsEmpty())
        return NULL;
    return static_cast<CDocTemplate*>(m_templateList.GetHead())->OpenDocumentFile(pathName);
}

BOOL CDocManager::SaveAllModified()
{
    POSITION position = GetFirstDocTemplatePosition();
    while (position)
    {
        if (!GetNextDocTemplate(position)->SaveAllModified())
            return FALSE;
    }
    return TRUE;
}

void CDocManager::CloseAllDocuments(BOOL endSession)
{
    POSITION position = GetFirstDocTemplatePosition();
    while (position)
        GetNextDocTemplate(position)->CloseAllDocuments(endSession);
}
