// The main frame's clock and switchboard: the 100 ms timer, the messages it
// hands to the document, the docked windows' view commands, printing and
// the crash reporter's window.
#include "shell/app/MainFrame.h"

#include "core/doc/ZymDoc.h"
#include "shell/app/ZymResources.h"

#include "shell/app/DialogCommands.h"
#include "core/doc/DocCommandTargets.h"
#include "core/doc/DocResource.h"

#include "core/crashlink/CrashLink.h"
#include "shell/dialogs/PrintSelDlg.h"
#include "shell/dialogs/TipDlg.h"

namespace
{
const UINT WM_APPLY_OPTIONS = WM_USER + 5;
const UINT WM_LOCATE_TAVLINS = WM_USER + 8;
const UINT WM_REFRESH_PLAYERS = WM_USER + 9;

// The view command of each docked window, in the frame's order.
const UINT kDockWindowCommands[CMainFrame::kDockWindowCount] = {
    ID_VIEW_MUSIC_INFO, ID_VIEW_LIBRARY, ID_VIEW_PLAYERS, ID_VIEW_TAVLIN_DATA,
};

// What the views print for each choice of the print-selection dialog.
struct PrintCommands
{
    int selection;
    UINT print;
    UINT preview;
};
const PrintCommands kPrintCommands[] = {
    { 1, 32824, 32825 }, // the library
    { 2, 32826, 32827 }, // the search results
    { 3, 32828, 32829 }, // the play list
};

int DockWindowOfCommand(UINT id)
{
    for (int window = 0; window < CMainFrame::kDockWindowCount; ++window)
        if (kDockWindowCommands[window] == id)
            return window;
    return -1;
}
}

BEGIN_MESSAGE_MAP(CMainFrame, TkWorkbook)
    ON_WM_CREATE()
    ON_WM_CLOSE()
    ON_WM_DESTROY()
    ON_WM_TIMER()
    ON_MESSAGE(WM_APPLY_OPTIONS, OnApplyOptions)
    ON_MESSAGE(WM_LOCATE_TAVLINS, OnLocateTavlins)
    ON_MESSAGE(WM_REFRESH_PLAYERS, OnRefreshPlayers)
    ON_MESSAGE(WM_APPCOMMAND, OnAppCommand)
    ON_COMMAND_RANGE(ID_VIEW_MUSIC_INFO, ID_VIEW_MUSIC_INFO, OnToggleDockWindow)
    ON_COMMAND_RANGE(ID_VIEW_LIBRARY, ID_VIEW_LIBRARY, OnToggleDockWindow)
    ON_COMMAND_RANGE(ID_VIEW_PLAYERS, ID_VIEW_PLAYERS, OnToggleDockWindow)
    ON_COMMAND_RANGE(ID_VIEW_TAVLIN_DATA, ID_VIEW_TAVLIN_DATA, OnToggleDockWindow)
    ON_UPDATE_COMMAND_UI(ID_VIEW_MUSIC_INFO, OnUpdateDockWindow)
    ON_UPDATE_COMMAND_UI(ID_VIEW_LIBRARY, OnUpdateDockWindow)
    ON_UPDATE_COMMAND_UI(ID_VIEW_PLAYERS, OnUpdateDockWindow)
    ON_UPDATE_COMMAND_UI(ID_VIEW_TAVLIN_DATA, OnUpdateDockWindow)
    ON_COMMAND(ID_FILE_PRINT_SELECTED, OnPrintSelected)
    ON_COMMAND(ID_FILE_PRINT_CMD, OnPrintSelected)
    ON_COMMAND(ID_FILE_PRINT_DIRECT_CMD, OnPrintSelected)
    ON_COMMAND(ID_FILE_PRINT_PREVIEW_SELECTED, OnPrintPreviewSelected)
    ON_COMMAND(ID_FILE_PRINT_PREVIEW_CMD, OnPrintPreviewSelected)
    ON_COMMAND(ID_SHOW_CRASH_REPORTER, OnShowCrashReporter)
    ON_COMMAND(ID_VIEW_OPTIONS, OnViewOptions)
    ON_COMMAND(ID_TIP_OF_THE_DAY, ShowTip)
    ON_COMMAND(ID_VIEW_TOOLBARS, OnViewToolBars)
    ON_COMMAND(ID_CUSTOMIZE, OnCustomize)
    ON_COMMAND(ID_SEARCH_FOR_DISCS, OnSearchForDiscs)
    ON_COMMAND(ID_TRANSFER_TEXT, OnTransferText)
    ON_COMMAND(ID_PLAYLIST_SCHEDULER, OnScheduler)
END_MESSAGE_MAP()

void CMainFrame::OnSearchForDiscs()
{
    if (m_pDoc)
        CDialogCommands(*m_pDoc, this).OnSearchForDiscs();
}

void CMainFrame::OnTransferText()
{
    if (m_pDoc)
        CDialogCommands(*m_pDoc, this).OnTransferText();
}

void CMainFrame::OnScheduler()
{
    if (m_pDoc)
        CDialogCommands(*m_pDoc, this).OnScheduler();
}

void CMainFrame::OnTimer(UINT_PTR id)
{
    if (!m_bDockWindowsCreated)
    {
        CreateDockWindows();
        m_bDockWindowsCreated = TRUE;
    }
    else if (m_pDoc)
    {
        if (m_pDoc->GetOptions().m_page8.m_animateIcon)
            m_icon.NextFrame();
        // A tick that starts with the library loaded fills the lists and
        // restores the play list: the tip comes after such a tick.
        BOOL tipDue = m_bTipPending && !m_pDoc->IsLibraryLoading();
        m_pDoc->RunTick();
        if (tipDue)
            ShowPendingTip();
    }
    TkWorkbook::OnTimer(id);
}

CZymDoc* CMainFrame::GetActiveChildDocument()
{
    CMDIChildWnd* child = MDIGetActive();
    return child ? dynamic_cast<CZymDoc*>(child->GetActiveDocument()) : nullptr;
}

LRESULT CMainFrame::OnApplyOptions(WPARAM wParam, LPARAM lParam)
{
    CZymDoc* doc = GetActiveChildDocument();
    return doc ? doc->ApplyOptions(wParam, lParam) : 0;
}

LRESULT CMainFrame::OnLocateTavlins(WPARAM wParam, LPARAM lParam)
{
    CZymDoc* doc = GetActiveChildDocument();
    return doc ? doc->LocateTavlins(wParam, lParam) : 0;
}

LRESULT CMainFrame::OnRefreshPlayers(WPARAM wParam, LPARAM lParam)
{
    CZymDoc* doc = GetActiveChildDocument();
    return doc ? doc->RefreshPlayers(wParam, lParam) : 0;
}

// A media key the document does not take goes on to the system.
LRESULT CMainFrame::OnAppCommand(WPARAM wParam, LPARAM lParam)
{
    CZymDoc* doc = GetActiveChildDocument();
    LRESULT taken = doc ? doc->GetCommandTargets().transport.OnAppCommand(wParam, lParam) : 0;
    return taken ? taken : Default();
}

void CMainFrame::OnToggleDockWindow(UINT id)
{
    int window = DockWindowOfCommand(id);
    if (window >= 0 && m_nodes[window])
        m_docking.ToggleNode(m_nodes[window]);
}

void CMainFrame::OnUpdateDockWindow(CCmdUI* cmdUI)
{
    int window = DockWindowOfCommand(cmdUI->m_nID);
    TkLayoutNode* node = window >= 0 ? m_nodes[window] : nullptr;
    cmdUI->Enable(node != nullptr);
    cmdUI->SetCheck(node && m_docking.IsNodeShown(node, FALSE));
}

void CMainFrame::OnPrintSelected()
{
    PostPrintCommand(FALSE);
}

void CMainFrame::OnPrintPreviewSelected()
{
    PostPrintCommand(TRUE);
}

void CMainFrame::PostPrintCommand(BOOL preview)
{
    CPrintSelDlg dialog(this);
    dialog.DoModal();
    m_nPrintSelection = dialog.m_nChoice;
    if (!m_pDoc)
        return;
    for (const PrintCommands& commands : kPrintCommands)
    {
        if (commands.selection != m_nPrintSelection)
            continue;
        POSITION position = m_pDoc->GetFirstViewPosition();
        while (position)
        {
            CView* view = m_pDoc->GetNextView(position);
            view->PostMessage(WM_COMMAND, preview ? commands.preview : commands.print);
        }
    }
}

void CMainFrame::OnViewOptions()
{
    if (m_pDoc)
        m_pDoc->OnViewOptions();
}

void CMainFrame::ShowTip()
{
    CTipDlg tip(this);
    tip.DoModal();
}

void CMainFrame::OnShowCrashReporter()
{
    TheCrashLink().ShowReporter(TRUE);
}
