// CView: a window that shows a document. It joins its document when it is
// created (through the frame's CCreateContext) and leaves it when it goes;
// commands it does not take go on to the document.
#pragma once

#include "platform/mfc/Wnd.h"

class CDC;
class CDocument;
class CFrameWnd;
class COleDataObject;
class CPrintInfo;

typedef DWORD DROPEFFECT;

class CView : public CWnd
{
    DECLARE_DYNAMIC(CView)
public:
    CView();
    ~CView() override;

    CDocument* GetDocument() const;
    BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) override;

    // Once the frame and the document are ready; calls OnUpdate(NULL, 0, NULL).
    virtual void OnInitialUpdate();
    virtual void OnPrepareDC(CDC* dc);
    virtual void OnDraw(CDC* dc) = 0;
    // A view becoming active (activate) or inactive in its frame.
    virtual void OnActivateView(BOOL activate, CView* activateView, CView* deactiveView);
    // The frame became active or inactive (WA_ACTIVE, WA_INACTIVE, ...).
    virtual void OnActivateFrame(UINT state, CFrameWnd* frame);
    // The document changed; the default repaints the whole view.
    virtual void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject);

    // Drag and drop through a COleDropTarget registered for the view, with
    // points in client coordinates; the defaults take nothing.
    virtual DROPEFFECT OnDragEnter(COleDataObject* dataObject, DWORD keyState, CPoint point);
    virtual DROPEFFECT OnDragOver(COleDataObject* dataObject, DWORD keyState, CPoint point);
    virtual void OnDragLeave();
    virtual BOOL OnDrop(COleDataObject* dataObject, DROPEFFECT dropEffect, CPoint point);

    // Printing, page by page into the printer's DC; the default page is the
    // view's drawing.
    virtual void OnBeginPrinting(CDC* dc, CPrintInfo* info);
    virtual void OnPrint(CDC* dc, CPrintInfo* info);
    virtual void OnEndPrinting(CDC* dc, CPrintInfo* info);
    // Chooses the printer before a job or a preview; FALSE stops it. The
    // default asks DoPreparePrinting.
    virtual BOOL OnPreparePrinting(CPrintInfo* info);
    // The printer into info->m_hPrinterDC: the default printer for a preview
    // or a direct job, else the one the print dialog gives. Without a printer
    // it says so; FALSE then and when the dialog is cancelled.
    BOOL DoPreparePrinting(CPrintInfo* info);
    // The job's pages from OnBeginPrinting to OnEndPrinting as one document
    // on the printer; a failure of the printer is told and gives FALSE.
    BOOL PrintPages(CDC* printer, CPrintInfo* info);
    // The print and print-preview commands.
    void OnFilePrint();
    void OnFilePrintPreview();

protected:
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    void PostNcDestroy() override;

    int OnCreate(LPCREATESTRUCTA cs);
    void OnDestroy();
    void OnPaint();
    LRESULT OnMouseActivateMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnInitialUpdateMessage(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    CDocument* m_pDocument;

private:
    friend class CDocument;
};
