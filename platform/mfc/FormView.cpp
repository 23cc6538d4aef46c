#include "platform/mfc/FormView.h"
#include "platform/mfc/Document.h"
#include "platform/mfc/FrameWnd.h"

namespace
{
// What a dialog template may carry that a child window cannot.
const DWORD kPopupStyles = WS_POPUP | WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | WS_BORDER |
                           WS_DLGFRAME | DS_MODALFRAME;
const DWORD kPopupExStyles = WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE;
}

IMPLEMENT_DYNAMIC(CFormView, CScrollView)

BEGIN_MESSAGE_MAP(CFormView, CScrollView)
    ON_WM_CREATE()
END_MESSAGE_MAP()

CFormView::CFormView(UINT templateId)
    : m_lpszTemplateName(MAKEINTRESOURCEA(templateId)), m_pCreateContext(NULL)
{
}

CFormView::CFormView(LPCSTR templateName)
    : m_lpszTemplateName(templateName), m_pCreateContext(NULL)
{
}

BOOL CFormView::Create(LPCSTR, LPCSTR, DWORD style, const RECT& rect, CWnd* parentWnd, UINT id,
                       void* context)
{
    m_pCreateContext = static_cast<CCreateContext*>(context);
    BOOL created = CreateDlg(m_lpszTemplateName, parentWnd);
    m_pCreateContext = NULL;
    if (!created)
        return FALSE;
    // The form's full size is what scrolls.
    CRect form;
    GetWindowRect(form);
    SetScrollSizes(MM_TEXT, form.Size());

    ModifyStyle(kPopupStyles, WS_CHILD | (style & (WS_BORDER | WS_VISIBLE)));
    ModifyStyleEx(kPopupExStyles, 0);
    if (::GetParent(m_hWnd) != parentWnd->GetSafeHwnd())
        SetParent(parentWnd);
    SetDlgCtrlID(id);
    SetWindowPos(NULL, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    if (style & WS_VISIBLE)
        ShowWindow(SW_SHOWNOACTIVATE);
    return TRUE;
}

int CFormView::OnCreate(LPCREATESTRUCTA cs)
{
    if (CWnd::OnCreate(cs) == -1)
        return -1;
    if (m_pCreateContext && m_pCreateContext->m_pCurrentDoc)
        m_pCreateContext->m_pCurrentDoc->AddView(this);
    return 0;
}

void CFormView::OnInitialUpdate()
{
    UpdateData(FALSE);
    CScrollView::OnInitialUpdate();
}

// The frames take their accelerators before the dialog keys (tab, enter,
// arrows) can eat them.
BOOL CFormView::PreTranslateMessage(MSG* msg)
{
    if (msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST)
        return FALSE;
    for (CFrameWnd* frame = GetParentFrame(); frame; frame = frame->GetParentFrame())
    {
        if (frame->PreTranslateMessage(msg))
            return TRUE;
    }
    return ::IsDialogMessageA(m_hWnd, msg);
}

void CFormView::OnDraw(CDC*)
{
}
