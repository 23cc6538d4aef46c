// The tab view of every task: name, status and progress, read from copies of
// the task manager's records; the selected task can be cancelled from its
// context menu. The document's clock tick tells it to rebuild (hint 15) and
// to redraw the tasks that changed since its last refresh (hint 14).
#pragma once

#include "library/views/ListFormView.h"
#include "core/tasks/TaskMgr.h"
#include "core/tasks/TaskViewHost.h"

class CTaskView : public CListFormView
{
    DECLARE_DYNCREATE(CTaskView)
public:
    CTaskView();

    void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject) override;
    void OnCancelTask();
    int GetSelectedRow() const { return m_selectedRow; }

protected:
    void GetCellText(int row, int columnId, CString& text) override;
    void OnItemChanged(NMHDR* header, LRESULT* result);
    void OnStateRangeChanged(NMHDR* header, LRESULT* result);
    void OnRightClick(NMHDR* header, LRESULT* result);
    DECLARE_MESSAGE_MAP()

private:
    CTaskMgr* Tasks();
    void RebuildList();
    void RefreshChangedRows();

    CTimeStamp m_refreshTime;
    int m_selectedRow = -1;
};
