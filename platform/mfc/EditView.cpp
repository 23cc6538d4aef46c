#include "platform/mfc/EditView.h"
#include "platform/mfc/StdControls.h"

IMPLEMENT_DYNCREATE(CEditView, CView)

BEGIN_MESSAGE_MAP(CEditView, CView)
    ON_WM_PAINT()
END_MESSAGE_MAP()

const DWORD CEditView::dwStyleDefault = WS_HSCROLL | WS_VSCROLL | ES_AUTOHSCROLL |
                                        ES_AUTOVSCROLL | ES_MULTILINE | ES_NOHIDESEL;

CEditView::CEditView()
{
}

CEdit& CEditView::GetEditCtrl() const
{
    // A CEdit adds no data to CWnd: the view's window is the control.
    return *(CEdit*)this;
}

void CEditView::OnDraw(CDC*)
{
}

BOOL CEditView::PreCreateWindow(CREATESTRUCTA& cs)
{
    cs.lpszClass = "EDIT";
    cs.style |= dwStyleDefault;
    return CView::PreCreateWindow(cs);
}

void CEditView::OnPaint()
{
    Default();
}
