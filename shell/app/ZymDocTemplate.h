// The document templates of the jukebox: every one makes the one document
// class, CZymDoc, which needs the main frame and the program's folder.
#pragma once

#include <afxwin.h>

class CMainFrame;
class CDocumentOperations;

class CZymDocTemplate : public CMultiDocTemplate
{
public:
    CZymDocTemplate(UINT resourceId, CRuntimeClass* frameClass, CRuntimeClass* viewClass);

    // The frame and operations the next documents are given.
    static void SetHost(CMainFrame* frame, CDocumentOperations* operations, const CString& programFolder);

    CDocument* CreateNewDocument() override;

private:
    static CMainFrame* s_frame;
    static CDocumentOperations* s_operations;
    static CString s_programFolder;
};
