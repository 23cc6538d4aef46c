#include "platform/mfc/View.h"
#include "platform/mfc/Document.h"
#include "platform/mfc/FrameWnd.h"
#include "platform/mfc/WindowDc.h"

IMPLEMENT_DYNAMIC(CView, CWnd)

BEGIN_MESSAGE_MAP(CView, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_PAINT()
    ON_MESSAGE(WM_MOUSEACTIVATE, OnMouseActivateMessage)
    ON_MESSAGE(WM_INITIALUPDATE, OnInitialUpdateMessage)
END_MESSAGE_MAP()

CView::CView() : m_pDocument(NULL)
{
}

CView::~CView()
{
    if (m_pDocument)
        m_pDocument->RemoveView(this);
}

CDocument* CView::GetDocument() const
{
    return m_pDocument;
}

BOOL CView::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo)
{
    if (CWnd::OnCmdMsg(id, code, extra, handlerInfo))
        return TRUE;
    return m_pDocument && m_pDocument->OnCmdMsg(id, code, extra, handlerInfo);
}

void CView::OnInitialUpdate()
{
    OnUpdate(NULL, 0, NULL);
}

void CView::OnPrepareDC(CDC*)
{
}

void CView::OnActivateView(BOOL activate, CView* activateView, CView*)
{
    // The active view of the active frame takes the keyboard.
    if (activate && activateView == this)
    {
        CWnd* top = GetTopLevelParent();
        if (top && top->m_hWnd == ::GetForegroundWindow())
            SetFocus();
    }
}

void CView::OnActivateFrame(UINT, CFrameWnd*)
{
}

void CView::OnUpdate(CView*, LPARAM, CObject*)
{
    Invalidate(TRUE);
}

BOOL CView::PreCreateWindow(CREATESTRUCTA& cs)
{
    cs.style |= WS_CLIPSIBLINGS;
    return CWnd::PreCreateWindow(cs);
}

// Views live on the heap and go with their window.
void CView::PostNcDestroy()
{
    delete this;
}

int CView::OnCreate(LPCREATESTRUCTA cs)
{
    if (CWnd::OnCreate(cs) == -1)
        return -1;
    CCreateContext* context = static_cast<CCreateContext*>(cs->lpCreateParams);
    if (context && context->m_pCurrentDoc)
        context->m_pCurrentDoc->AddView(this);
    return 0;
}

void CView::OnDestroy()
{
    CFrameWnd* frame = GetParentFrame();
    if (frame && frame->GetActiveView() == this)
        frame->SetActiveView(NULL, FALSE);
    CWnd::OnDestroy();
}

void CView::OnPaint()
{
    CPaintDC dc(this);
    OnPrepareDC(&dc);
    OnDraw(&dc);
}

// A click into the view makes it the active view of its frame.
LRESULT CView::OnMouseActivateMessage(WPARAM, LPARAM)
{
    LRESULT result = Default();
    if (result == MA_NOACTIVATE || result == MA_NOACTIVATEANDEAT)
        return result;
    CFrameWnd* frame = GetParentFrame();
    if (frame)
        frame->SetActiveView(this);
    return result;
}

LRESULT CView::OnInitialUpdateMessage(WPARAM, LPARAM)
{
    OnInitialUpdate();
    return 0;
}

DROPEFFECT CView::OnDragEnter(COleDataObject*, DWORD, CPoint)
{
    return DROPEFFECT_NONE;
}

DROPEFFECT CView::OnDragOver(COleDataObject*, DWORD, CPoint)
{
    return DROPEFFECT_NONE;
}

void CView::OnDragLeave()
{
}

BOOL CView::OnDrop(COleDataObject*, DROPEFFECT, CPoint)
{
    return FALSE;
}

void CView::OnBeginPrinting(CDC*, CPrintInfo*)
{
}

void CView::OnPrint(CDC* dc, CPrintInfo*)
{
    OnPrepareDC(dc);
    OnDraw(dc);
}

void CView::OnEndPrinting(CDC*, CPrintInfo*)
{
}
