#include "toolkit/frames/TkWorksheet.h"
#include "toolkit/frames/TkWorkbook.h"

IMPLEMENT_DYNCREATE(TkWorksheet, TkMDIChildWnd)

BEGIN_MESSAGE_MAP(TkWorksheet, TkMDIChildWnd)
    ON_WM_DESTROY()
    ON_WM_SHOWWINDOW()
END_MESSAGE_MAP()

TkWorksheet::TkWorksheet() : m_hIcon(NULL), m_nIndex(0), m_bPressed(FALSE)
{
}

TkWorksheet::~TkWorksheet()
{
    if (m_hIcon)
        ::DestroyIcon(m_hIcon);
}

TkWorkbook* TkWorksheet::GetWorkbook() const
{
    CMDIFrameWnd* frame = GetMDIFrame();
    return frame && frame->IsKindOf(RUNTIME_CLASS(TkWorkbook)) ? static_cast<TkWorkbook*>(frame) : NULL;
}

BOOL TkWorksheet::LoadFrame(UINT resourceId, DWORD style, CWnd* parentWnd, CCreateContext* context)
{
    if (!TkMDIChildWnd::LoadFrame(resourceId, style, parentWnd, context))
        return FALSE;
    TkWorkbook* workbook = GetWorkbook();
    if (workbook)
        workbook->AddSheet(this);
    m_hIcon = (HICON)::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(resourceId), IMAGE_ICON,
                                  TkWorkbook::kIconSize, TkWorkbook::kIconSize, 0);
    return TRUE;
}

void TkWorksheet::OnUpdateFrameTitle(BOOL addToTitle)
{
    TkMDIChildWnd::OnUpdateFrameTitle(addToTitle);
    TkWorkbook* workbook = GetWorkbook();
    if (workbook)
        workbook->InvalidateTab(this);
}

// A sheet that shows its menu in the main frame's menu bar sets no menu in
// the client; the client still tells the workbook that the menus changed.
void TkWorksheet::OnUpdateFrameMenu(BOOL active, CWnd* activateWnd, HMENU altMenu)
{
    TkMDIChildWnd::OnUpdateFrameMenu(active, activateWnd, altMenu);
    CMDIFrameWnd* main = GetMDIFrame();
    if (!m_hMenuShared && m_bUsesMenuBar && main)
        ::SendMessageA(main->m_hWndMDIClient, WM_TKWB_SETMENU, (WPARAM)-1, (LPARAM)-1);
}

void TkWorksheet::OnDestroy()
{
    TkWorkbook* workbook = GetWorkbook();
    if (workbook)
        workbook->RemoveSheet(this);
    TkMDIChildWnd::OnDestroy();
}

void TkWorksheet::OnShowWindow(BOOL, UINT)
{
    Default();
    TkWorkbook* workbook = GetWorkbook();
    if (workbook)
        workbook->InvalidateTab(this, TRUE);
}
