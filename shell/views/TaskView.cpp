#include "shell/views/TaskView.h"
#include "shell/dialogs/TaskResources.h"

#include "library/views/ViewResources.h"

namespace {

enum TaskColumn
{
    kColHidden = 0,
    kColStatus = 1,
    kColTask = 2,
    kColProgress = 3,
};

const ListColumn kColumns[] = {
    {kColHidden, "", 0, kLxColFixedWidth, -1, ""},
    {kColTask, "Task", 80, 0, -1, "Task"},
    {kColStatus, "Status", 80, 0, -1, "Status"},
    {kColProgress, "Progress", 80, 0, -1, "Progress"},
};
const int kShownColumns[] = {kColHidden, kColTask, kColStatus, kColProgress};

// Clicks on the header do not open the task menu.
const int kMenuTop = 16;

} // namespace

IMPLEMENT_DYNCREATE(CTaskView, CListFormView)

BEGIN_MESSAGE_MAP(CTaskView, CListFormView)
    ON_COMMAND(ID_TASK_CANCEL, OnCancelTask)
    ON_NOTIFY(LVN_ITEMCHANGED, IDC_LIST, OnItemChanged)
    ON_NOTIFY(LVN_ODSTATECHANGED, IDC_LIST, OnStateRangeChanged)
    ON_NOTIFY(NM_RCLICK, IDC_LIST, OnRightClick)
END_MESSAGE_MAP()

CTaskView::CTaskView()
    : CListFormView("Tasks", "Task List", kColumns, sizeof kColumns / sizeof kColumns[0], kShownColumns,
                    sizeof kShownColumns / sizeof kShownColumns[0])
{
}

CTaskMgr* CTaskView::Tasks()
{
    CTaskViewHost* host = dynamic_cast<CTaskViewHost*>(GetDocument());
    return host ? &host->GetTaskMgr() : nullptr;
}

void CTaskView::GetCellText(int row, int columnId, CString& text)
{
    CTaskMgr* tasks = Tasks();
    if (!tasks)
        return;
    TaskRecord task = tasks->GetTaskAt(row);
    switch (columnId)
    {
    case kColTask:
        text = task.GetName();
        break;
    case kColStatus:
        text = task.GetStatus();
        break;
    case kColProgress:
        text = task.GetProgressText();
        break;
    }
}

void CTaskView::OnUpdate(CView* sender, LPARAM hint, CObject* hintObject)
{
    if (hint == kViewHintTasksRebuild)
        RebuildList();
    else if (hint == kViewHintTasksChanged)
        RefreshChangedRows();
    else
        CListFormView::OnUpdate(sender, hint, hintObject);
}

// The rows are the manager's tasks by index: the list only needs their count.
void CTaskView::RebuildList()
{
    CTaskMgr* tasks = Tasks();
    if (!tasks || !m_list.m_hWnd)
        return;
    m_list.SetRedraw(FALSE);
    m_list.SendMessage(LVM_SETITEMCOUNT, tasks->GetTaskCount(), 0);
    m_list.SetRedraw(TRUE);
    m_list.Invalidate();
    LayOutNow();
}

void CTaskView::RefreshChangedRows()
{
    CTaskMgr* tasks = Tasks();
    if (!tasks || !m_list.m_hWnd)
        return;
    int count = tasks->GetTaskCount();
    for (int row = 0; row < count; ++row)
    {
        if (m_refreshTime < tasks->GetTaskAt(row).GetChangeTime())
            m_list.RedrawItems(row, row);
    }
    m_refreshTime = tasks->Now();
}

void CTaskView::OnItemChanged(NMHDR* header, LRESULT* result)
{
    *result = 0;
    const NMLISTVIEW* change = reinterpret_cast<NMLISTVIEW*>(header);
    if ((change->uChanged & LVIF_STATE) && (change->uNewState & (LVIS_SELECTED | LVIS_FOCUSED)))
        m_selectedRow = change->iItem;
}

void CTaskView::OnStateRangeChanged(NMHDR* header, LRESULT* result)
{
    *result = 0;
    const NMLVODSTATECHANGE* change = reinterpret_cast<NMLVODSTATECHANGE*>(header);
    if (change->uNewState & (LVIS_SELECTED | LVIS_FOCUSED))
        m_selectedRow = change->iFrom;
}

void CTaskView::OnRightClick(NMHDR*, LRESULT* result)
{
    *result = 0;
    CPoint point;
    ::GetCursorPos(&point);
    CPoint client = point;
    m_list.ScreenToClient(&client);
    CMenu menu;
    if (client.y <= kMenuTop || m_list.HitTest(client) < 0 || !menu.LoadMenu(IDR_TASK_MENU))
        return;
    menu.GetSubMenu(0)->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, this);
}

// A copy carries the owner's cancel byte.
void CTaskView::OnCancelTask()
{
    CTaskMgr* tasks = Tasks();
    if (tasks && m_selectedRow >= 0)
        tasks->GetTaskAt(m_selectedRow).RequestCancel();
}
