#include "shell/app/ZymDocTemplate.h"

#include "core/doc/ZymDoc.h"
#include "shell/app/MainFrame.h"
#include "shell/dialogs/TaskUIMgr.h"

#include <memory>

CMainFrame* CZymDocTemplate::s_frame = nullptr;
CDocumentOperations* CZymDocTemplate::s_operations = nullptr;
CString CZymDocTemplate::s_programFolder;

CZymDocTemplate::CZymDocTemplate(UINT resourceId, CRuntimeClass* frameClass, CRuntimeClass* viewClass)
    : CMultiDocTemplate(resourceId, nullptr, frameClass, viewClass)
{
}

void CZymDocTemplate::SetHost(CMainFrame* frame, CDocumentOperations* operations, const CString& programFolder)
{
    s_frame = frame;
    s_operations = operations;
    s_programFolder = programFolder;
}

CDocument* CZymDocTemplate::CreateNewDocument()
{
    if (!s_frame)
        return nullptr;
    CZymDoc* doc = new CZymDoc(*s_frame, s_programFolder);
    std::unique_ptr<CTaskUIMgr> dialogs(new CTaskUIMgr);
    dialogs->Attach(&doc->GetTaskMgr());
    doc->KeepTaskDialogs(std::move(dialogs));
    doc->SetOperations(s_operations);
    s_frame->SetDocument(doc);
    AddDocument(doc);
    return doc;
}
