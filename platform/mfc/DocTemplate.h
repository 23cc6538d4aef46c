// Document templates bind a document class to the frame and view classes
// that show it: CSingleDocTemplate keeps one document at a time (reused for
// each new or opened file), CMultiDocTemplate any number, each in frames of
// its own. CDocManager is the application's list of templates.
#pragma once

#include "platform/mfc/CmdTarget.h"
#include "platform/mfc/Collections.h"

class CDocument;
class CFrameWnd;

class CDocTemplate : public CCmdTarget
{
    DECLARE_DYNAMIC(CDocTemplate)
public:
    // The parts of the template's string resource, separated by newlines.
    enum DocStringIndex
    {
        windowTitle,
        docName,
        fileNewName,
        filterName,
        filterExt,
        regFileTypeId,
        regFileTypeName,
    };

    ~CDocTemplate() override;

    virtual void LoadTemplate();
    virtual BOOL GetDocString(CString& text, DocStringIndex index) const;
    // The file dialog filter of the template's file type ("Discs (*.dsc)|*.dsc||");
    // empty when the template names none.
    CString GetFileFilter() const;

    virtual POSITION GetFirstDocPosition() const = 0;
    virtual CDocument* GetNextDoc(POSITION& position) const = 0;
    virtual void AddDocument(CDocument* doc);
    virtual void RemoveDocument(CDocument* doc);

    virtual CDocument* CreateNewDocument();
    // A frame of the template's frame class with a view of its view class on doc.
    virtual CFrameWnd* CreateNewFrame(CDocument* doc, CFrameWnd* other);
    virtual void InitialUpdateFrame(CFrameWnd* frame, CDocument* doc, BOOL makeVisible = TRUE);
    // A new document for a NULL path; NULL when it failed.
    virtual CDocument* OpenDocumentFile(LPCSTR pathName, BOOL makeVisible = TRUE) = 0;
    virtual void SetDefaultTitle(CDocument* doc) = 0;
    virtual BOOL SaveAllModified();
    virtual void CloseAllDocuments(BOOL endSession);

    UINT m_nIDResource;
    CRuntimeClass* m_pDocClass;
    CRuntimeClass* m_pFrameClass;
    CRuntimeClass* m_pViewClass;
    CString m_strDocStrings;

protected:
    CDocTemplate(UINT resourceId, CRuntimeClass* docClass, CRuntimeClass* frameClass,
                 CRuntimeClass* viewClass);
    // The document of a new or opened file, made ready in frame; NULL (and the
    // frame gone) when it failed.
    CDocument* OpenInFrame(CDocument* doc, CFrameWnd* frame, LPCSTR pathName,
                           BOOL makeVisible);
};

class CSingleDocTemplate : public CDocTemplate
{
    DECLARE_DYNAMIC(CSingleDocTemplate)
public:
    CSingleDocTemplate(UINT resourceId, CRuntimeClass* docClass, CRuntimeClass* frameClass,
                       CRuntimeClass* viewClass);
    ~CSingleDocTemplate() override;

    POSITION GetFirstDocPosition() const override;
    CDocument* GetNextDoc(POSITION& position) const override;
    void AddDocument(CDocument* doc) override;
    void RemoveDocument(CDocument* doc) override;
    CDocument* OpenDocumentFile(LPCSTR pathName, BOOL makeVisible = TRUE) override;
    void SetDefaultTitle(CDocument* doc) override;

protected:
    CDocument* m_pOnlyDoc;
};

class CMultiDocTemplate : public CDocTemplate
{
    DECLARE_DYNAMIC(CMultiDocTemplate)
public:
    CMultiDocTemplate(UINT resourceId, CRuntimeClass* docClass, CRuntimeClass* frameClass,
                      CRuntimeClass* viewClass);
    ~CMultiDocTemplate() override;

    // Also loads the menu and accelerators its frames show.
    void LoadTemplate() override;
    POSITION GetFirstDocPosition() const override;
    CDocument* GetNextDoc(POSITION& position) const override;
    void AddDocument(CDocument* doc) override;
    void RemoveDocument(CDocument* doc) override;
    CDocument* OpenDocumentFile(LPCSTR pathName, BOOL makeVisible = TRUE) override;
    void SetDefaultTitle(CDocument* doc) override;

    HMENU m_hMenuShared;
    HACCEL m_hAccelTable;

protected:
    CPtrList m_docList;
    // Numbers the titles of new documents.
    UINT m_nUntitledCount;
};

class CDocManager
{
public:
    CDocManager();
    // Deletes the templates.
    virtual ~CDocManager();

    void AddDocTemplate(CDocTemplate* docTemplate);
    POSITION GetFirstDocTemplatePosition() const;
    CDocTemplate* GetNextDocTemplate(POSITION& position) const;
    int GetOpenDocumentCount() const;

    // A new document of the first template.
    virtual void OnFileNew();
    // The document already open on that path when there is one (its frame
    // comes forward), else the file opened by the first template.
    virtual CDocument* OpenDocumentFile(LPCSTR pathName);
    virtual BOOL SaveAllModified();
    virtual void CloseAllDocuments(BOOL endSession);

private:
    CPtrList m_templateList;
};
