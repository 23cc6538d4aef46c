#include "toolkit/tabs/TkTabControlBase.h"

IMPLEMENT_DYNCREATE(TkTab, CObject)

TkTab::TkTab()
    : m_nWidth(0), m_nHeight(0), m_bSelected(FALSE), m_pPane(NULL), m_dwExtra1(0), m_dwExtra2(0)
{
}

IMPLEMENT_DYNAMIC(TkTabControlBase, CWnd)

BEGIN_MESSAGE_MAP(TkTabControlBase, CWnd)
    ON_WM_DESTROY()
    ON_WM_SETCURSOR()
END_MESSAGE_MAP()

TkTabControlBase::TkTabControlBase()
    : m_nActiveTab(0), m_bActive(FALSE), m_hCursor(NULL)
{
}

TkTabControlBase::~TkTabControlBase()
{
    DeleteAllTabs();
}

BOOL TkTabControlBase::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    LPCSTR windowClass = AfxRegisterWndClass(CS_DBLCLKS);
    if (!CWnd::Create(windowClass, NULL, style | WS_CHILD, rect, parent, id))
        return FALSE;
    if (!m_pTabs)
        m_pTabs.reset(new CObArray);
    m_hCursor = ::LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
    Initialize(style);
    return TRUE;
}

void TkTabControlBase::Initialize(DWORD)
{
}

TkTab* TkTabControlBase::CreateNewTab()
{
    return new TkTab;
}

void TkTabControlBase::RecalcLayout()
{
}

void TkTabControlBase::ScrollToTab(int)
{
}

void TkTabControlBase::DestroyGdiObjects()
{
}

TkTab* TkTabControlBase::InsertTab(int index, LPCSTR label, CWnd* pane, DWORD extra1,
                                   DWORD extra2)
{
    if (!m_pTabs || index < 0 || index > GetTabCount())
        return NULL;
    TkTab* tab = CreateNewTab();
    tab->m_strLabel = label ? label : "";
    tab->m_bSelected = FALSE;
    tab->m_pPane = pane;
    tab->m_dwExtra1 = extra1;
    tab->m_dwExtra2 = extra2;
    m_pTabs->InsertAt(index, tab);
    return tab;
}

TkTab* TkTabControlBase::AddTab(LPCSTR label, CWnd* pane, DWORD extra1, DWORD extra2)
{
    int index = GetTabCount();
    TkTab* tab = TkTabControlBase::InsertTab(index, label, pane, extra1, extra2);
    if (tab)
    {
        RecalcLayout();
        InvalidateTab(index);
    }
    return tab;
}

void TkTabControlBase::SetTabIcon(int, LPCSTR, int, int)
{
}

void TkTabControlBase::SetTabIcon(int, UINT, int, int)
{
}

void TkTabControlBase::SetTabIcon(int, HICON)
{
}

void TkTabControlBase::DeleteTab(int index)
{
    if (!IsIndex(index))
        return;
    InvalidateFrom(index);
    delete GetTab(index);
    m_pTabs->RemoveAt(index);
    int count = GetTabCount();
    // The active tab stays active when a tab before it goes.
    if (m_bActive && index < m_nActiveTab)
        m_nActiveTab--;
    else if (m_bActive)
    {
        if (count == 0)
            m_bActive = FALSE;
        else if (m_nActiveTab >= count)
        {
            m_bActive = FALSE;
            ActivateTab(count - 1);
        }
        else if (m_nActiveTab == index)
        {
            m_bActive = FALSE;
            ActivateTab(index);
        }
    }
    InvalidateFrom(index);
    RecalcLayout();
}

void TkTabControlBase::RenameTab(int index, LPCSTR label)
{
    if (!IsIndex(index))
        return;
    InvalidateFrom(index);
    GetTab(index)->m_strLabel = label ? label : "";
    RecalcLayout();
    InvalidateFrom(index);
}

void TkTabControlBase::ActivateTab(int index)
{
    if (!IsIndex(index))
        return;
    TkTabSelection selection = {(int)GetDlgCtrlID(), index, -1, GetTab(index)->m_pPane, NULL};
    if (m_bActive)
    {
        if (m_nActiveTab == index)
            return;
        TkTab* previous = GetTab(m_nActiveTab);
        if (previous)
        {
            selection.nOldIndex = m_nActiveTab;
            selection.pOldPane = previous->m_pPane;
            previous->m_bSelected = FALSE;
            InvalidateTab(m_nActiveTab);
        }
    }
    m_nActiveTab = index;
    m_bActive = TRUE;
    GetTab(index)->m_bSelected = TRUE;
    ScrollToTab(index);
    InvalidateTab(index);
    OnTabNotify(index);
    CWnd* parent = GetParent();
    if (parent)
        parent->SendMessage(WM_TKTAB_ACTIVATE, index, (LPARAM)&selection);
}

void TkTabControlBase::FocusActivePane()
{
    CWnd* parent = GetParent();
    if (parent)
        parent->SendMessage(WM_TKTAB_FOCUSPANE, m_nActiveTab);
}

void TkTabControlBase::SelectTab(int index)
{
    if (!IsIndex(index))
        return;
    GetTab(index)->m_bSelected = TRUE;
    InvalidateTab(index);
    CWnd* parent = GetParent();
    if (parent)
        parent->SendMessage(WM_TKTAB_ACTIVATE, m_nActiveTab, 0);
}

void TkTabControlBase::ClearSelection()
{
    for (int index = 0; index < GetTabCount(); index++)
    {
        TkTab* tab = GetTab(index);
        if (tab->m_bSelected)
        {
            InvalidateTab(index);
            tab->m_bSelected = FALSE;
        }
    }
    m_bActive = FALSE;
    CWnd* parent = GetParent();
    if (parent)
        parent->SendMessage(WM_TKTAB_CLEARSELECTION);
}

void TkTabControlBase::OnTabNotify(int)
{
}

void TkTabControlBase::InvalidateTab(int)
{
}

int TkTabControlBase::GetTabCount() const
{
    return m_pTabs ? (int)m_pTabs->GetSize() : 0;
}

TkTab* TkTabControlBase::GetTab(int index) const
{
    return IsIndex(index) ? static_cast<TkTab*>(m_pTabs->GetAt(index)) : NULL;
}

BOOL TkTabControlBase::GetTabInfo(int index, CString& label, BOOL& selected, CWnd*& pane,
                                  DWORD& extra1, DWORD& extra2) const
{
    TkTab* tab = GetTab(index);
    if (!tab)
        return FALSE;
    label = tab->m_strLabel;
    selected = tab->m_bSelected;
    pane = tab->m_pPane;
    extra1 = tab->m_dwExtra1;
    extra2 = tab->m_dwExtra2;
    return TRUE;
}

BOOL TkTabControlBase::FindTab(const CWnd* pane, int& index) const
{
    for (int i = GetTabCount() - 1; i >= 0; i--)
    {
        if (GetTab(i)->m_pPane == pane)
        {
            index = i;
            return TRUE;
        }
    }
    return FALSE;
}

BOOL TkTabControlBase::IsTab(const CWnd* pane) const
{
    int index;
    return FindTab(pane, index);
}

BOOL TkTabControlBase::GetActiveTab(int& index) const
{
    index = m_nActiveTab;
    return m_bActive;
}

BOOL TkTabControlBase::IsIndex(int index) const
{
    return index >= 0 && index < GetTabCount();
}

void TkTabControlBase::InvalidateFrom(int first)
{
    for (int index = first; index < GetTabCount(); index++)
        InvalidateTab(index);
}

void TkTabControlBase::DeleteAllTabs()
{
    if (!m_pTabs)
        return;
    for (int index = 0; index < GetTabCount(); index++)
        delete GetTab(index);
    m_pTabs.reset();
    m_bActive = FALSE;
}

void TkTabControlBase::OnDestroy()
{
    DeleteAllTabs();
    CWnd::OnDestroy();
}

BOOL TkTabControlBase::OnSetCursor(CWnd*, UINT, UINT)
{
    ::SetCursor(m_hCursor);
    return TRUE;
}
