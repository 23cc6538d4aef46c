// OLE drag and drop: the data offered (COleDataSource, which runs the drag
// with a COleDropSource), the data received (COleDataObject), and the drop
// target of a window (COleDropTarget), which hands the drag to the window's
// view. AfxOleInit readies OLE on the calling thread.
#pragma once

#include "platform/mfc/Geometry.h"

#include <ole2.h>

typedef DWORD DROPEFFECT;

class CWnd;

BOOL AfxOleInit();

// Data received: an IDataObject offered by a drag or the clipboard.
class COleDataObject
{
public:
    COleDataObject() {}
    ~COleDataObject() { Release(); }
    COleDataObject(const COleDataObject&) = delete;
    COleDataObject& operator=(const COleDataObject&) = delete;

    void Attach(IDataObject* dataObject, BOOL autoRelease = TRUE);
    IDataObject* Detach();
    void Release();
    BOOL IsDataAvailable(CLIPFORMAT format, FORMATETC* formatEtc = NULL);
    // A global memory copy of the data, which the caller frees; NULL when the
    // format is not offered as global memory.
    HGLOBAL GetGlobalData(CLIPFORMAT format, FORMATETC* formatEtc = NULL);

private:
    IDataObject* m_dataObject = nullptr;
    BOOL m_autoRelease = FALSE;
};

// The drag's side of the mouse and keys: a drop when the left button is
// released, a cancel on Escape.
class COleDropSource
{
public:
    COleDropSource();
    virtual ~COleDropSource();
    COleDropSource(const COleDropSource&) = delete;
    COleDropSource& operator=(const COleDropSource&) = delete;

    virtual SCODE QueryContinueDrag(BOOL escapePressed, DWORD keyState);
    virtual SCODE GiveFeedback(DROPEFFECT dropEffect);
    IDropSource* GetInterface() { return m_interface; }

private:
    IDropSource* m_interface;
};

// Data offered: global memory blocks by clipboard format, kept until the
// source goes.
class COleDataSource
{
public:
    COleDataSource();
    virtual ~COleDataSource();
    COleDataSource(const COleDataSource&) = delete;
    COleDataSource& operator=(const COleDataSource&) = delete;

    // The source owns the block from now on.
    void CacheGlobalData(CLIPFORMAT format, HGLOBAL global);
    // Runs the drag until a drop or a cancel; the effect the target chose, or
    // DROPEFFECT_NONE.
    DROPEFFECT DoDragDrop(DWORD effects = DROPEFFECT_COPY | DROPEFFECT_MOVE, LPCRECT startRect = NULL,
                          COleDropSource* dropSource = NULL);
    IDataObject* GetInterface() { return m_interface; }

private:
    IDataObject* m_interface;
};

// Registers a window as a drop target; the drag's events go to the window's
// view (CView::OnDragEnter ...) with points in its client coordinates.
class COleDropTarget
{
public:
    COleDropTarget();
    virtual ~COleDropTarget();
    COleDropTarget(const COleDropTarget&) = delete;
    COleDropTarget& operator=(const COleDropTarget&) = delete;

    BOOL Register(CWnd* wnd);
    void Revoke();

    virtual DROPEFFECT OnDragEnter(CWnd* wnd, COleDataObject* dataObject, DWORD keyState, CPoint point);
    virtual DROPEFFECT OnDragOver(CWnd* wnd, COleDataObject* dataObject, DWORD keyState, CPoint point);
    virtual void OnDragLeave(CWnd* wnd);
    virtual BOOL OnDrop(CWnd* wnd, COleDataObject* dataObject, DROPEFFECT dropEffect, CPoint point);

private:
    friend class CDropTargetImpl;

    CWnd* m_pWnd = nullptr;
    IDropTarget* m_interface;
};
