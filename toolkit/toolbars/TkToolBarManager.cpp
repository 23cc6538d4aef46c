// The manager's options, their persistence, config mode, listeners and the
// objects it shares with its bars. Making and finding bars is in
// TkToolBarManagerBars.cpp.
#include "toolkit/toolbars/TkToolBarManager.h"

#include "toolkit/state/TkPersistentTreeNode.h"
#include "toolkit/toolbars/TkBmpMgr.h"
#include "toolkit/toolbars/TkCustomToolBar.h"
#include "toolkit/toolbars/TkDrawData.h"
#include "toolkit/toolbars/TkToolBarsDlg.h"

namespace {

const char kTreeNodeName[] = "ToolBarMgr";
const char kProfileSection[] = "%s-ToolBarManager";
const char kToolTips[] = "ToolTips";
const char kCoolLook[] = "CoolLook";
const char kLargeButtons[] = "LargeButtons";

}  // namespace

IMPLEMENT_DYNAMIC(TkToolBarManager, TkControlBarManager)

UINT TkToolBarManager::s_nBarNotifyMsg = RegisterWindowMessageA("WM_BARNOTIFY");

TkToolBarManager::TkToolBarManager(CFrameWnd* frame, CWnd* owner)
    : TkControlBarManager(frame), m_pBarClass(RUNTIME_CLASS(TkCustomToolBar)), m_pOwner(owner),
      m_pCustomizeDialog(NULL), m_pSelectedBar(NULL), m_bConfigMode(FALSE), m_bBarsCustomizing(FALSE), m_bToolTips(TRUE),
      m_bFlyBy(TRUE), m_bCoolLook(FALSE), m_bLargeButtons(FALSE), m_pFirstMap(NULL),
      m_pSecondMap(NULL), m_pLastCommand(new TkLastCommandRecord), m_pBmpMgr(new TkBmpMgr),
      m_pDrawData(new TkDrawData)
{
}

TkToolBarManager::~TkToolBarManager()
{
    m_pBmpMgr->Release();
    m_pLastCommand->Release();
    delete[] m_pSecondMap;
}

DWORD TkToolBarManager::GetBarStyle() const
{
    return kTkManagedBarStyle | (m_bFlyBy ? CBRS_FLYBY : 0) | (m_bToolTips ? CBRS_TOOLTIPS : 0);
}

void TkToolBarManager::GetCustomBars(CArray<TkCustomToolBar*, TkCustomToolBar*>& bars)
{
    CFrameWnd* frame = GetFrameWnd();
    if (frame == NULL)
        return;
    for (POSITION position = frame->m_listControlBars.GetHeadPosition(); position != NULL;) {
        CControlBar* bar = static_cast<CControlBar*>(frame->m_listControlBars.GetNext(position));
        if (bar->IsKindOf(RUNTIME_CLASS(TkCustomToolBar)))
            bars.Add(static_cast<TkCustomToolBar*>(bar));
    }
}

void TkToolBarManager::RecalcFrameLater()
{
    if (GetFrameWnd() != NULL)
        GetFrameWnd()->DelayRecalcLayout();
}

// Options.

void TkToolBarManager::RestyleBars(DWORD remove, DWORD add, BOOL exStyle, BOOL redraw)
{
    CArray<TkCustomToolBar*, TkCustomToolBar*> bars;
    GetCustomBars(bars);
    for (int i = 0; i < bars.GetSize(); i++) {
        TkCustomToolBar* bar = bars[i];
        if (exStyle)
            bar->ModifyExBarStyle(remove, add, redraw);
        else
            bar->SetBarStyle((bar->GetBarStyle() & ~remove) | add);
    }
}

void TkToolBarManager::EnableToolTips(BOOL on)
{
    if (!on == !m_bToolTips)
        return;
    m_bToolTips = on;
    RestyleBars(on ? 0 : CBRS_TOOLTIPS, on ? CBRS_TOOLTIPS : 0, FALSE, FALSE);
}

void TkToolBarManager::EnableCoolLook(BOOL on, DWORD bits)
{
    if (!on == !m_bCoolLook)
        return;
    m_bCoolLook = on;
    RestyleBars(on ? 0 : bits, on ? bits : 0, TRUE, (bits & TKTBS_COOLLOOK) != 0);
    RecalcFrameLater();
}

void TkToolBarManager::EnableLargeBtns(BOOL on)
{
    if (!on == !m_bLargeButtons)
        return;
    m_bLargeButtons = on;
    ApplyButtonSize();
}

void TkToolBarManager::ApplyButtonSize()
{
    m_pBmpMgr->SetSmallMode(!m_bLargeButtons);
    CArray<TkCustomToolBar*, TkCustomToolBar*> bars;
    GetCustomBars(bars);
    for (int i = 0; i < bars.GetSize(); i++) {
        bars[i]->ResizeButtons();
        // Floating, a bar's parent frame is its mini frame.
        if (bars[i]->IsFloating() && bars[i]->GetParentFrame() != NULL)
            bars[i]->GetParentFrame()->RecalcLayout();
    }
    if (bars.GetSize() > 0)
        RecalcFrameLater();
}

void TkToolBarManager::ApplyOptions(BOOL toolTips, BOOL coolLook, BOOL largeButtons)
{
    EnableToolTips(toolTips);
    EnableCoolLook(coolLook, kTkCoolLookBits);
    EnableLargeBtns(largeButtons);
}

// Persistence.

BOOL TkToolBarManager::LoadStateFromTree(TkPersistentTreeNode* node)
{
    BOOL loaded = TkControlBarManager::LoadStateFromTree(node);
    if (!loaded)
        return FALSE;
    TkPersistentTreeNode* own = node->FindChildNode(kTreeNodeName);
    if (own != NULL) {
        int toolTips = 0, coolLook = 0, largeButtons = 0;
        own->GetIntValue(kToolTips, &toolTips, m_bToolTips);
        own->GetIntValue(kCoolLook, &coolLook, m_bCoolLook);
        own->GetIntValue(kLargeButtons, &largeButtons, m_bLargeButtons);
        ApplyOptions(toolTips, coolLook, largeButtons);
    } else {
        // Stored only: the bars bound below take them from the manager.
        m_bLargeButtons = FALSE;
        m_bToolTips = TRUE;
        m_bCoolLook = TRUE;
    }
    BindToolBars();
    return loaded;
}

void TkToolBarManager::LoadStateFromProfile(LPCSTR profileName)
{
    TkControlBarManager::LoadStateFromProfile(profileName);
    CString section;
    section.Format(kProfileSection, profileName);
    CWinApp* app = AfxGetApp();
    ApplyOptions(app->GetProfileInt(section, kToolTips, m_bToolTips),
                 app->GetProfileInt(section, kCoolLook, m_bCoolLook),
                 app->GetProfileInt(section, kLargeButtons, m_bLargeButtons));
    BindToolBars();
}

BOOL TkToolBarManager::SaveStateToTree(TkPTNFactory* factory, TkPersistentTreeNode* node)
{
    if (!TkControlBarManager::SaveStateToTree(factory, node))
        return FALSE;
    TkPersistentTreeNode* own = node->FindChildNode(kTreeNodeName);
    if (own == NULL)
        own = factory->CreateChildNode(kTreeNodeName, node);
    if (own == NULL)
        return FALSE;
    return own->SetIntValue(kToolTips, m_bToolTips, TRUE) == 0 &&
           own->SetIntValue(kCoolLook, m_bCoolLook, TRUE) == 0 &&
           own->SetIntValue(kLargeButtons, m_bLargeButtons, TRUE) == 0;
}

void TkToolBarManager::SaveStateToProfile(LPCSTR profileName)
{
    TkControlBarManager::SaveStateToProfile(profileName);
    CString section;
    section.Format(kProfileSection, profileName);
    CWinApp* app = AfxGetApp();
    app->WriteProfileInt(section, kToolTips, m_bToolTips);
    app->WriteProfileInt(section, kCoolLook, m_bCoolLook);
    app->WriteProfileInt(section, kLargeButtons, m_bLargeButtons);
}

// Config mode: while the customise dialog is up, the frame takes the
// dialog's clicks on its bars but nothing else of it answers.

void TkToolBarManager::EnterConfigMode()
{
    CFrameWnd* frame = GetFrameWnd();
    if (m_bConfigMode || frame == NULL)
        return;
    m_bConfigMode = TRUE;
    frame->EnableWindow(TRUE);
    for (HWND child = ::GetWindow(frame->m_hWnd, GW_CHILD); child != NULL;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        CWnd* wnd = CWnd::FromHandlePermanent(child);
        if (wnd != NULL && wnd->IsKindOf(RUNTIME_CLASS(CDockBar)))
            continue;
        if (::IsWindowEnabled(child)) {
            ::EnableWindow(child, FALSE);
            m_disabledWindows.AddTail(child);
        }
    }
}

// The frame is left disabled on purpose: the modal sheet that ends config
// mode enables its owner again when it closes.
void TkToolBarManager::ExitConfigMode()
{
    if (!m_bConfigMode)
        return;
    m_bConfigMode = FALSE;
    if (GetFrameWnd() != NULL)
        GetFrameWnd()->EnableWindow(FALSE);
    while (!m_disabledWindows.IsEmpty()) {
        HWND wnd = m_disabledWindows.RemoveHead();
        if (::IsWindow(wnd))
            ::EnableWindow(wnd, TRUE);
    }
}

void TkToolBarManager::SetToolBarsCustomizeMode(BOOL on)
{
    if (!on == !m_bBarsCustomizing)
        return;
    m_bBarsCustomizing = on;
    CArray<TkCustomToolBar*, TkCustomToolBar*> bars;
    GetCustomBars(bars);
    for (int i = 0; i < bars.GetSize(); i++)
        bars[i]->SetCustomizeMode(on);
}

void TkToolBarManager::BeginCustomize(CWnd* dialog)
{
    EnterConfigMode();
    SetToolBarsCustomizeMode(TRUE);
    SetCustomizeDialog(dialog);
}

void TkToolBarManager::EndCustomize()
{
    ExitConfigMode();
    SetToolBarsCustomizeMode(FALSE);
}

void TkToolBarManager::GetCustomizeDialogRect(CRect* rect) const
{
    rect->SetRectEmpty();
    if (m_pCustomizeDialog != NULL && m_pCustomizeDialog->GetSafeHwnd() != NULL)
        m_pCustomizeDialog->GetWindowRect(rect);
}

// Listeners and what is shared with the bars.

void TkToolBarManager::AddListener(CWnd* wnd)
{
    if (wnd != NULL && m_listeners.Find(wnd->m_hWnd) == NULL)
        m_listeners.AddTail(wnd->m_hWnd);
}

void TkToolBarManager::RemoveListener(CWnd* wnd)
{
    POSITION position = wnd != NULL ? m_listeners.Find(wnd->m_hWnd) : NULL;
    if (position != NULL)
        m_listeners.RemoveAt(position);
}

void TkToolBarManager::NotifyBarEvent(UINT barId, LPARAM code)
{
    // A copy: a listener may register or leave while it is told.
    CArray<HWND, HWND> listeners;
    for (POSITION position = m_listeners.GetHeadPosition(); position != NULL;)
        listeners.Add(m_listeners.GetNext(position));
    for (int i = 0; i < listeners.GetSize(); i++) {
        if (::IsWindow(listeners[i]))
            ::SendMessageA(listeners[i], s_nBarNotifyMsg, barId, code);
    }
}

void TkToolBarManager::InformBtns(UINT id, int kind, const void* data)
{
    CArray<TkCustomToolBar*, TkCustomToolBar*> bars;
    GetCustomBars(bars);
    for (int i = 0; i < bars.GetSize(); i++)
        bars[i]->InformBtns(id, kind, data);
}

TkLastCommandRecord* TkToolBarManager::GetLastCommandRecord()
{
    m_pLastCommand->AddRef();
    return m_pLastCommand;
}

BOOL TkToolBarManager::LoadToolBarResource(UINT resourceId, UINT largeBitmapId)
{
    return m_pBmpMgr->LoadToolBarResource(MAKEINTRESOURCEA(resourceId),
                                          largeBitmapId != 0 ? MAKEINTRESOURCEA(largeBitmapId) : NULL,
                                          TRUE);
}

BOOL TkToolBarManager::AddBitmapResource(UINT bitmapId, UINT largeId, const UINT* ids, int count)
{
    return m_pBmpMgr->AddBitmapResource(MAKEINTRESOURCEA(bitmapId),
                                        largeId != 0 ? MAKEINTRESOURCEA(largeId) : NULL, ids, count,
                                        TRUE);
}

BOOL TkToolBarManager::AddBitmap(HBITMAP bitmap, HBITMAP largeBitmap, const UINT* ids, int count)
{
    return m_pBmpMgr->AddBitmap(bitmap, largeBitmap, ids, count);
}

INT_PTR TkToolBarManager::ExecViewToolBarsDlg()
{
    TkToolBarsDlg dialog(this, GetFrameWnd());
    return dialog.DoModal();
}
