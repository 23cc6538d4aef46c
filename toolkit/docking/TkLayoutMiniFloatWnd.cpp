#include "toolkit/docking/TkLayoutMiniFloatWnd.h"
#include "toolkit/docking/TkLNFloatingHwndContainer.h"

BEGIN_MESSAGE_MAP(TkLayoutMiniFloatWnd, CMiniFrameWnd)
    ON_WM_DESTROY()
    ON_WM_CLOSE()
    ON_WM_ERASEBKGND()
    ON_WM_SYSCOMMAND()
END_MESSAGE_MAP()

TkLayoutMiniFloatWnd::TkLayoutMiniFloatWnd() : m_root(NULL), m_listener(NULL), m_hideOnClose(TRUE)
{
}

TkLayoutMiniFloatWnd::~TkLayoutMiniFloatWnd()
{
    delete m_listener;
}

// Close is taken out and appended again so that it stands last.
BOOL TkLayoutMiniFloatWnd::Create(CWnd* parent, TkLayoutNode* root, LPCSTR title,
                                  BOOL hideOnClose, BOOL withCloseItem)
{
    if (!root)
        return FALSE;
    m_root = root;
    m_hideOnClose = hideOnClose;
    if (!CMiniFrameWnd::CreateEx(0, NULL, title, kStyle, CRect(0, 0, 0, 0), parent, 0))
    {
        m_root = NULL;
        return FALSE;
    }
    if (HMENU menu = ::GetSystemMenu(m_hWnd, FALSE))
    {
        ::DeleteMenu(menu, SC_CLOSE, MF_BYCOMMAND);
        ::AppendMenuA(menu, MF_STRING, SC_CLOSE, "Close");
        if (!withCloseItem)
            ::DeleteMenu(menu, SC_CLOSE, MF_BYCOMMAND);
    }
    return TRUE;
}

BOOL TkLayoutMiniFloatWnd::PlaceAndAttach(const CRect& rect, TkLNDockingMgr* manager)
{
    if (!::SetWindowPos(m_hWnd, NULL, rect.left, rect.top, rect.Width(), rect.Height(),
                        SWP_NOZORDER | SWP_SHOWWINDOW))
        return FALSE;
    if (m_listener)
        return TRUE;
    m_listener = CreateDockingListener();
    if (!m_listener)
        return FALSE;
    m_listener->SetAutoRegisterContainer(FALSE);
    return m_listener->Initialize(m_root, this, manager, 0, FALSE, TRUE);
}

void TkLayoutMiniFloatWnd::DetachListener()
{
    if (m_listener)
        m_listener->Detach();
}

TkDockingListener* TkLayoutMiniFloatWnd::CreateDockingListener()
{
    return new TkDockingListener;
}

void TkLayoutMiniFloatWnd::OnDestroy()
{
    CMiniFrameWnd::OnDestroy();
    TkLNFloatingHwndContainer::ForgetSpare(this);
    delete m_listener;
    m_listener = NULL;
}

void TkLayoutMiniFloatWnd::OnClose()
{
    if (m_hideOnClose)
        ShowWindow(SW_HIDE);
    else
        CMiniFrameWnd::OnClose();
}

BOOL TkLayoutMiniFloatWnd::OnEraseBkgnd(CDC*)
{
    BOOL result = (BOOL)Default();
    if (m_root)
        m_root->RealizeNodes(0);
    return result;
}

// lParam 0: the command came from the keyboard.
void TkLayoutMiniFloatWnd::OnSysCommand(UINT id, LPARAM lParam)
{
    BOOL close = (id & 0xFFF0) == SC_CLOSE;
    if (GetStyle() & WS_POPUP)
    {
        BOOL altF4 = ::GetKeyState(VK_F4) < 0 && ::GetKeyState(VK_MENU) < 0;
        BOOL floating = !close || (altF4 && (GetStyle() & MFS_SYNCACTIVE));
        if (floating && HandleFloatingSysCommand(id, lParam))
            return;
    }
    CWnd* main = AfxGetMainWnd();
    if (close && lParam == 0 && main && main->GetSafeHwnd() != m_hWnd)
    {
        main->SendMessage(WM_SYSCOMMAND, id, lParam);
        return;
    }
    Default();
}
