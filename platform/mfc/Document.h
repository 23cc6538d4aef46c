// CDocument: the data behind one or more views. It keeps its views, tells them
// of changes through UpdateAllViews, and loads and stores itself through
// Serialize. Commands it does not take go on to its document template.
#pragma once

#include "platform/mfc/CmdTarget.h"
#include "platform/mfc/Collections.h"

class CDocTemplate;
class CFrameWnd;
class CView;

class CDocument : public CCmdTarget
{
    DECLARE_DYNAMIC(CDocument)
public:
    CDocument();
    ~CDocument() override;

    const CString& GetTitle() const;
    // Also shown in the titles of the document's frames.
    virtual void SetTitle(LPCSTR title);
    const CString& GetPathName() const;
    // The title becomes the file's name.
    virtual void SetPathName(LPCSTR pathName, BOOL addToMRU = TRUE);
    CDocTemplate* GetDocTemplate() const;

    virtual BOOL IsModified();
    virtual void SetModifiedFlag(BOOL modified = TRUE);

    POSITION GetFirstViewPosition() const;
    CView* GetNextView(POSITION& position) const;
    void AddView(CView* view);
    void RemoveView(CView* view);
    // Calls OnUpdate of every view but sender.
    void UpdateAllViews(CView* sender, LPARAM hint = 0, CObject* hintObject = NULL);

    virtual void DeleteContents();
    virtual BOOL OnNewDocument();
    virtual BOOL OnOpenDocument(LPCSTR pathName);
    virtual BOOL OnSaveDocument(LPCSTR pathName);
    // Destroys the document's frames, then the document when it deletes itself.
    virtual void OnCloseDocument();
    // Asks whether to save a modified document; FALSE when the user cancels.
    virtual BOOL SaveModified();
    virtual BOOL CanCloseFrame(CFrameWnd* frame);
    // One of the document's frames is about to be destroyed while others stay.
    virtual void PreCloseFrame(CFrameWnd* /*frame*/) {}
    // Saves to newName; a NULL name is asked for with the Save As dialog.
    // With replace the document takes the new name. FALSE when it failed or
    // the user cancelled.
    virtual BOOL DoSave(LPCSTR newName, BOOL replace = TRUE);
    // Saves to the current path, or asks for one when there is none yet.
    virtual BOOL DoFileSave();
    // ID_FILE_SAVE and ID_FILE_SAVE_AS.
    void OnFileSave();
    void OnFileSaveAs();

    BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) override;

    // The document deletes itself when its last view goes.
    BOOL m_bAutoDelete;

protected:
    virtual void OnChangedViewList();

    CString m_strTitle;
    CString m_strPathName;
    CDocTemplate* m_pDocTemplate;
    CPtrList m_viewList;
    BOOL m_bModified;

    DECLARE_MESSAGE_MAP()

private:
    // The name the Save As dialog gives; empty when the user cancelled.
    CString AskSaveName();

    friend class CDocTemplate;
};
