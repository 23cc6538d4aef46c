#include "toolkit/bars/TkDialogBar.h"
#include "toolkit/bars/TkDockState.h"

#include <commctrl.h>

IMPLEMENT_DYNCREATE(TkDialogBar, TkControlBar)

BEGIN_MESSAGE_MAP(TkDialogBar, TkControlBar)
    ON_MESSAGE(WM_INITDIALOG, OnInitDialog)
END_MESSAGE_MAP()

TkDialogBar::TkDialogBar() : m_sizeDefault(0, 0), m_lpszTemplateName(NULL), m_pOccDialogInfo(NULL)
{
}

BOOL TkDialogBar::Create(CWnd* parent, UINT templateId, DWORD style, DWORD exStyle, UINT id)
{
    return Create(parent, MAKEINTRESOURCEA(templateId), style, exStyle, id);
}

// The dialog's own frame goes; the bar is shown or hidden as its style says,
// with all three sizes already those of the template.
BOOL TkDialogBar::Create(CWnd* parent, LPCSTR templateName, DWORD style, DWORD exStyle, UINT id)
{
    m_dwStyle = style & CBRS_ALL;
    m_dwExStyle = exStyle;
    m_lpszTemplateName = templateName;
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    if (parent == NULL || !CreateDlg(templateName, parent))
        return FALSE;
    SetDlgCtrlID(id);
    CRect rect;
    GetWindowRect(&rect);
    m_sizeDefault = rect.Size();
    ModifyStyle(WS_CAPTION, WS_CLIPSIBLINGS);
    if (m_pDockSite == NULL && parent->IsFrameWnd()) {
        m_pDockSite = static_cast<CFrameWnd*>(parent);
        m_pDockSite->AddControlBar(this);
    }
    if (m_dwExStyle & TKCBRS_PROPORTIONAL_CHILDREN)
        RecordChildRects();
    SetWindowPos(NULL, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE |
                                       ((style & WS_VISIBLE) ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    m_sizeHorz = m_sizeVert = m_sizeFloat = m_sizeDefault;
    return TRUE;
}

void TkDialogBar::OnUpdateCmdUI(CFrameWnd*, BOOL)
{
}

void TkDialogBar::GetBarInfoEx(TkControlBarInfo* info)
{
    info->m_nResourceID = IS_INTRESOURCE(m_lpszTemplateName) ? (UINT)(UINT_PTR)m_lpszTemplateName : 0;
    TkControlBar::GetBarInfoEx(info);
}

BOOL TkDialogBar::SetOccDialogInfo(void* info)
{
    m_pOccDialogInfo = info;
    return TRUE;
}

LRESULT TkDialogBar::OnInitDialog(WPARAM, LPARAM)
{
    Default();
    return TRUE;
}
