#include "toolkit/frames/TkxFilters.h"

#include "toolkit/frames/TkDockableFrame.h"
#include "toolkit/frames/TkMDIChildWnd.h"
#include "toolkit/frames/TkMDIFrameWnd.h"
#include "toolkit/frames/TkMultiDocTemplate.h"

#include <algorithm>

namespace nsSysCommandEx
{
namespace
{
// Results of the filters.
const LRESULT kHandled = 1;
const LRESULT kCommandSent = 15;
const LRESULT kStopSiblings = 0x100;
// A sent command may have destroyed the window and its filter tree: no
// later filter may run.
const LRESULT kCommandSentLast = kCommandSent | kStopSiblings;
// The extra button: a scroll-arrow frame control, repeated after 400 ms.
const UINT kButtonType = DFC_SCROLL;
const UINT kButtonState = DFCS_SCROLLDOWN;
const int kButtonRepeat = 400;
// The caption double-click filter of an MDI child.
const UINT kChildDoubleClickFilter = 259;
const UINT kChildButtonFilter = 258;
const UINT kStateMenuFlags = TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY;

// The state menu: item text, state code, and how it is checked.
enum CheckRule
{
    checkCategory,
    checkState,
};
struct StateItem
{
    const char* text;
    int state;
    CheckRule rule;
};
const StateItem kMainItems[] = {
    {"&Docked", stateDocked, checkCategory},
    {"&Floating", stateFloating, checkState},
    {"&MDI Child", stateMDIChild, checkCategory},
};
const StateItem kDockedItems[] = {
    {"&Top", stateDockedTop, checkState},
    {"&Left", stateDockedLeft, checkState},
    {"&Bottom", stateDockedBottom, checkState},
    {"&Right", stateDockedRight, checkState},
};
const StateItem kChildItems[] = {
    {"Mi&nimized", stateMinimized, checkState},
    {"Ma&ximized", stateMaximized, checkState},
    {"&Restored", stateRestored, checkState},
};

// Dock sides of the template (0 top, 1 left, 2 bottom, 3 right, 4 floating)
// as states, and the sides' dock bars and bar styles.
const int kStateOfSide[] = {stateDockedTop, stateDockedLeft, stateDockedBottom,
                            stateDockedRight, stateFloating};
struct SideOfState
{
    int state;
    UINT dockBarId;
    DWORD barStyle;
};
const SideOfState kSides[] = {
    {stateDockedLeft, AFX_IDW_DOCKBAR_LEFT, CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT},
    {stateDockedTop, AFX_IDW_DOCKBAR_TOP, CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM},
    {stateDockedRight, AFX_IDW_DOCKBAR_RIGHT, CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT},
    {stateDockedBottom, AFX_IDW_DOCKBAR_BOTTOM, CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP},
};

const SideOfState* FindSide(int state)
{
    for (const SideOfState& side : kSides)
    {
        if (side.state == state)
            return &side;
    }
    return NULL;
}

CPoint PointOf(LPARAM lParam)
{
    return CPoint((short)LOWORD(lParam), (short)HIWORD(lParam));
}

CFrameWnd* FrameOf(HWND window)
{
    return dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(window));
}

// The maximised active child of an MDI frame, when it is a toolkit child.
TkMDIChildWnd* MaximisedToolkitChild(CWnd* owner)
{
    CMDIFrameWnd* frame = dynamic_cast<CMDIFrameWnd*>(owner);
    BOOL maximised = FALSE;
    CMDIChildWnd* child = frame ? frame->MDIGetActive(&maximised) : NULL;
    return maximised ? dynamic_cast<TkMDIChildWnd*>(child) : NULL;
}

BOOL ChildFilterEnabled(TkMDIChildWnd* child, UINT id)
{
    TkMsgFilter* filter =
        child && child->GetFilterRoot() ? child->GetFilterRoot()->FindOrCreate(id, NULL, -1) : NULL;
    return filter && filter->IsEnabled();
}

// Toggles window between MDI child and docked.
LRESULT SendToggle(HWND window)
{
    Record record = {};
    record.hWnd = window;
    record.command = kToggle;
    SendSysCommandEx(window, kExecute, record);
    return kCommandSentLast;
}

void AppendItems(HMENU menu, const StateItem* items, int count, int state, int category)
{
    for (int i = 0; i < count; i++)
    {
        BOOL checked = items[i].rule == checkCategory ? items[i].state == category
                                                      : items[i].state == state;
        ::AppendMenuA(menu, MF_STRING | (checked ? MF_CHECKED : 0), items[i].state,
                      items[i].text);
    }
}
}  // namespace

UINT GetSysCommandExMessage()
{
    static const UINT message = ::RegisterWindowMessageA("Toolkit::WM_SYSCOMMANDEX");
    return message;
}

BOOL FilterSysCommandEx(TkMsgFilter* root, UINT message, WPARAM wParam, LPARAM lParam,
                        LRESULT* result)
{
    if (message != GetSysCommandExMessage())
        return FALSE;
    root->Filter(message, wParam, lParam, result);
    return TRUE;
}

LRESULT SendSysCommandEx(HWND window, WPARAM command, const Record& record)
{
    Record copy = record;
    return ::SendMessageA(window, GetSysCommandExMessage(), command, (LPARAM)&copy);
}

IMPLEMENT_DYNCREATE(TkxMsgFilter, TkMsgFilter)

// The tree may be rebuilt while a window changes state: the work runs on a
// copy of this filter.
LRESULT TkxMsgFilter::OnFilter(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message != GetSysCommandExMessage())
        return TkMsgFilter::OnFilter(message, wParam, lParam, result);
    Record* record = (Record*)lParam;
    if (!record || !::IsWindow(record->hWnd))
        return 0;
    if (!m_bCopy && Handles(wParam, record))
    {
        TkxMsgFilter* copy = static_cast<TkxMsgFilter*>(Clone());
        copy->m_bCopy = TRUE;
        LRESULT answer = copy->Filter(message, wParam, lParam, result);
        delete copy;
        return (answer & kHandled) ? answer | kStopSiblings : answer;
    }
    CMDIChildWnd* child = dynamic_cast<CMDIChildWnd*>(CWnd::FromHandlePermanent(record->hWnd));
    CWnd* repaint = (record->flags & kPositionGiven) && child && child->IsZoomed()
                        ? child->GetMDIFrame()
                        : NULL;
    HWND repaintWindow = repaint ? repaint->GetSafeHwnd() : NULL;
    LRESULT answer = 0;
    switch (wParam & 0xFFF0)
    {
    case kExecute:
        answer = OnExecute(record, result);
        break;
    case kQueryMenu:
        answer = OnQueryMenu(record, result);
        break;
    case kShowMenu:
        answer = OnShowMenu(record, result);
        break;
    }
    // The menu line of the frame shows the child's buttons.
    if (repaintWindow && ::IsWindow(repaintWindow))
        ::SendMessageA(repaintWindow, WM_NCPAINT, 0, 0);
    return answer;
}

BOOL TkxMsgFilter::Handles(WPARAM wParam, const Record*) const
{
    WPARAM command = wParam & 0xFFF0;
    return command == kExecute || command == kShowMenu;
}

LRESULT TkxMsgFilter::OnShowMenu(Record* record, LRESULT* result)
{
    HMENU menu = GetMenu(record);
    if (menu)
    {
        ExecuteChoice(TrackMenu(menu, record), record);
        ::DestroyMenu(menu);
    }
    *result = 0;
    return kCommandSent;
}

LRESULT TkxMsgFilter::OnQueryMenu(Record* record, LRESULT* result)
{
    record->hMenu = BuildMenu(record);
    *result = record->hMenu != NULL;
    return kCommandSent;
}

HMENU TkxMsgFilter::GetMenu(const Record* record)
{
    if (record->hMenu)
        return record->hMenu;
    Record query = *record;
    query.flags &= ~kPositionGiven;
    if (!::SendMessageA(record->hWnd, GetSysCommandExMessage(), kQueryMenu, (LPARAM)&query))
        return NULL;
    return query.hMenu;
}

UINT TkxMsgFilter::TrackMenu(HMENU menu, const Record* record)
{
    CPoint point((int)record->x, (int)record->y);
    if (record->x < 0)
    {
        CRect client;
        ::GetClientRect(record->hWnd, &client);
        point = client.CenterPoint();
        ::ClientToScreen(record->hWnd, &point);
    }
    return ::TrackPopupMenu(menu, kStateMenuFlags, point.x, point.y, 0, record->hWnd, NULL);
}

void TkxMsgFilter::ExecuteChoice(UINT command, const Record* record)
{
    if (!command)
        return;
    Record choice = *record;
    choice.command = command;
    choice.flags &= ~kPositionGiven;
    ::SendMessageA(record->hWnd, GetSysCommandExMessage(), kExecute, (LPARAM)&choice);
}

HMENU TkxMsgFilter::BuildStateMenu(const Record* record)
{
    CFrameWnd* frame = FrameOf(record->hWnd);
    TkMultiDocTemplate* docTemplate =
        static_cast<TkMultiDocTemplate*>(GetTemplate(record, RUNTIME_CLASS(TkMultiDocTemplate)));
    int state = frame ? GetState(frame, docTemplate) : stateNone;
    int category = Category(state);
    HMENU menu = ::CreatePopupMenu();
    HMENU docked = ::CreatePopupMenu();
    HMENU child = ::CreatePopupMenu();
    if (!menu || !docked || !child)
    {
        for (HMENU made : {menu, docked, child})
            if (made)
                ::DestroyMenu(made);
        return NULL;
    }
    AppendItems(menu, kMainItems, 3, state, category);
    ::AppendMenuA(menu, MF_SEPARATOR, 0, NULL);
    AppendItems(docked, kDockedItems, 4, state, category);
    ::AppendMenuA(menu, MF_POPUP, (UINT_PTR)docked, "D&ocked to");
    AppendItems(child, kChildItems, 3, state, category);
    ::AppendMenuA(menu, MF_POPUP, (UINT_PTR)child, "MD&I Child as");
    return menu;
}

HMENU TkxMsgFilter::BuildMenu(const Record* record)
{
    return BuildStateMenu(record);
}

int TkxMsgFilter::Category(int code) const
{
    if (code >= stateMDIChild && code <= stateRestored)
        return stateMDIChild;
    if (code >= stateDocked && code <= stateDockedBottom)
        return stateDocked;
    return code == stateFloating ? stateFloating : stateNone;
}

int TkxMsgFilter::DefaultTarget(CFrameWnd*, int state, const Record*) const
{
    return Category(state) == stateMDIChild ? stateDocked : stateMDIChild;
}

int TkxMsgFilter::GetState(CFrameWnd* frame, TkMultiDocTemplate* docTemplate) const
{
    if (frame->IsKindOf(RUNTIME_CLASS(CMDIChildWnd)))
        return frame->IsZoomed() ? stateMaximized
                                 : frame->IsIconic() ? stateMinimized : stateRestored;
    if (docTemplate && frame->IsKindOf(RUNTIME_CLASS(TkDockableFrame)))
    {
        int side = docTemplate->GetDockSide(frame);
        return side >= 0 && side <= 4 ? kStateOfSide[side] : stateNone;
    }
    return stateNone;
}

CDocTemplate* TkxMsgFilter::GetTemplate(const Record* record, CRuntimeClass* templateClass) const
{
    CFrameWnd* frame = FrameOf(record->hWnd);
    CDocument* doc = frame ? frame->GetActiveDocument() : NULL;
    CDocTemplate* docTemplate = doc ? doc->GetDocTemplate() : NULL;
    return docTemplate && docTemplate->IsKindOf(templateClass) ? docTemplate : NULL;
}

LRESULT TkxMsgFilter::OnExecute(Record* record, LRESULT* result)
{
    TkMultiDocTemplate* docTemplate =
        static_cast<TkMultiDocTemplate*>(GetTemplate(record, RUNTIME_CLASS(TkMultiDocTemplate)));
    CFrameWnd* frame = FrameOf(record->hWnd);
    if (!docTemplate || !frame)
        return 0;
    int state = GetState(frame, docTemplate);
    int target = (int)record->command;
    if (target == -1 || target == -2)
        target = DefaultTarget(frame, state, record);
    BOOL done = FALSE;
    switch (Category(target))
    {
    case stateMDIChild:
        done = MakeMdiChild(frame, state, target, docTemplate, record);
        break;
    case stateDocked:
        done = MakeDocked(frame, state, target, docTemplate, record);
        break;
    case stateFloating:
        done = MakeFloating(frame, state, target, docTemplate, record);
        break;
    }
    *result = done;
    return kCommandSent;
}

BOOL TkxMsgFilter::DockDefault(CFrameWnd* frame, TkMultiDocTemplate* docTemplate, Record*)
{
    return docTemplate->DockFrame(frame) != NULL;
}

BOOL TkxMsgFilter::DockAt(CFrameWnd* frame, UINT dockBarId, const Record*,
                          TkMultiDocTemplate* docTemplate)
{
    return docTemplate->DockFrame(frame, dockBarId, NULL, NULL) != NULL;
}

BOOL TkxMsgFilter::RedockFloating(CFrameWnd* frame, int, Record*)
{
    CControlBar* bar = dynamic_cast<CControlBar*>(frame->GetParent());
    CFrameWnd* main = bar ? bar->GetDockingFrame() : NULL;
    if (!main)
        return FALSE;
    UINT dockBarId = bar->m_pDockContext ? bar->m_pDockContext->m_uMRUDockID : 0;
    main->DockControlBar(bar, dockBarId ? dockBarId : AFX_IDW_DOCKBAR_BOTTOM);
    main->RecalcLayout();
    return TRUE;
}

BOOL TkxMsgFilter::MakeDocked(CFrameWnd* frame, int state, int target,
                              TkMultiDocTemplate* docTemplate, Record* record)
{
    if (!frame->GetActiveView())
        return FALSE;
    const SideOfState* side = FindSide(target);
    if (!side)
    {
        if (Category(state) == stateMDIChild)
            return DockDefault(frame, docTemplate, record);
        if (state == stateFloating)
            return RedockFloating(frame, state, record);
        return Category(state) == stateDocked;
    }
    CControlBar* bar = dynamic_cast<CControlBar*>(frame->GetParent());
    TkMDIFrameWnd* main = bar ? dynamic_cast<TkMDIFrameWnd*>(bar->GetDockingFrame()) : NULL;
    if (main)
    {
        bar->SetBarStyle((bar->GetBarStyle() & ~(CBRS_ALIGN_ANY | CBRS_BORDER_ANY)) |
                         side->barStyle);
        main->DockControlBar(bar, side->dockBarId);
        main->RecalcLayout();
        return TRUE;
    }
    return Category(state) == stateMDIChild && DockAt(frame, side->dockBarId, record, docTemplate);
}

// The main window's updates stay locked while a view becomes a child; the
// lock is released on every path.
BOOL TkxMsgFilter::MakeMdiChild(CFrameWnd* frame, int state, int target,
                                TkMultiDocTemplate* docTemplate, Record* record)
{
    BOOL isChild = Category(state) == stateMDIChild;
    CWnd* main = AfxGetMainWnd();
    BOOL locked = !isChild && main && ::LockWindowUpdate(main->GetSafeHwnd());
    CMDIChildWnd* child = isChild ? static_cast<CMDIChildWnd*>(frame)
                                  : dynamic_cast<CMDIChildWnd*>(docTemplate->UndockFrame(frame));
    if (child)
    {
        CMDIFrameWnd* mdi = child->GetMDIFrame();
        if (target == stateMinimized)
            child->ShowWindow(SW_MINIMIZE);
        else if (target == stateMaximized && mdi)
            mdi->MDIMaximize(child);
        else if (target == stateRestored && mdi)
            mdi->MDIRestore(child);
        if (record->flags & (kPositionGiven | kSizeGiven))
        {
            CRect rect;
            child->GetWindowRect(&rect);
            child->GetParent()->ScreenToClient(&rect);
            if (record->flags & kPositionGiven)
                rect.OffsetRect((int)record->x - rect.left, (int)record->y - rect.top);
            if (record->flags & kSizeGiven)
                rect.BottomRight() = rect.TopLeft() + CSize((int)record->cx, (int)record->cy);
            child->MoveWindow(&rect);
        }
        if (child->IsZoomed() && mdi && mdi->m_hWndMDIClient)
        {
            CRect client;
            ::GetClientRect(mdi->m_hWndMDIClient, &client);
            ::SendMessageA(mdi->m_hWndMDIClient, WM_SIZE, SIZE_RESTORED, 0);
            ::SendMessageA(mdi->m_hWndMDIClient, WM_SIZE, SIZE_RESTORED,
                           MAKELPARAM(client.Width(), client.Height()));
        }
    }
    if (locked)
        ::LockWindowUpdate(NULL);
    return child != NULL;
}

BOOL TkxMsgFilter::MakeFloating(CFrameWnd* frame, int state, int, TkMultiDocTemplate* docTemplate,
                                Record* record)
{
    if (state == stateFloating)
        return TRUE;
    if (state == stateMinimized)
        frame->ShowWindow(SW_RESTORE);
    CRect rect;
    frame->GetWindowRect(&rect);
    if (!(record->flags & kPositionGiven))
    {
        record->x = rect.left;
        record->y = rect.top;
    }
    if (!(record->flags & kSizeGiven))
    {
        record->cx = rect.Width();
        record->cy = rect.Height();
    }
    CFrameWnd* docked = Category(state) == stateMDIChild ? docTemplate->DockFrame(frame) : frame;
    CControlBar* bar = docked ? dynamic_cast<CControlBar*>(docked->GetParent()) : NULL;
    CFrameWnd* main = bar ? bar->GetDockingFrame() : NULL;
    if (!main)
        return FALSE;
    // Docking again goes back to where the bar was.
    if (bar->m_pDockContext && bar->m_pDockBar)
    {
        bar->m_pDockContext->m_uMRUDockID = bar->m_pDockBar->GetDlgCtrlID();
        bar->GetWindowRect(&bar->m_pDockContext->m_rectMRUDockPos);
        bar->m_pDockBar->ScreenToClient(&bar->m_pDockContext->m_rectMRUDockPos);
    }
    main->FloatControlBar(bar, CPoint((int)record->x, (int)record->y), CBRS_ALIGN_TOP);
    return TRUE;
}

IMPLEMENT_DYNCREATE(TkxButtonMsgFilter, TkCaptionControlMsgFilter)

TkxButtonMsgFilter::TkxButtonMsgFilter()
{
    m_nType = kButtonType;
    m_nState = kButtonState;
    m_nRepeat = kButtonRepeat;
}

BOOL TkxButtonMsgFilter::IsShown(BOOL* inactive) const
{
    if (inactive)
        *inactive = FALSE;
    return TRUE;
}

HWND TkxButtonMsgFilter::CommandWindow() const
{
    return GetOwner() ? GetOwner()->GetSafeHwnd() : NULL;
}

LRESULT TkxButtonMsgFilter::OnFilter(UINT message, WPARAM wParam, LPARAM lParam,
                                     LRESULT* result)
{
    LRESULT answer = TkCaptionControlMsgFilter::OnFilter(message, wParam, lParam, result);
    BOOL press = message == WM_NCLBUTTONDOWN || message == WM_NCRBUTTONDOWN ||
                 message == WM_LBUTTONUP;
    return press && (answer & kHandled) ? answer | kStopSiblings : answer;
}

// A click toggles; a right press or a held button opens the state menu below
// the button.
void TkxButtonMsgFilter::Fire(int kind, int x, int y)
{
    HWND window = CommandWindow();
    if (!window || !GetOwner())
        return;
    Record record = {};
    record.hWnd = window;
    CRect button(m_rect);
    CRect owner;
    GetOwner()->GetWindowRect(&owner);
    button.OffsetRect(owner.TopLeft());
    record.buttonLeft = button.left;
    record.buttonTop = button.top;
    record.buttonRight = button.right;
    record.buttonBottom = button.bottom;
    if (kind == fireClick)
    {
        record.x = x;
        record.y = y;
        record.command = kToggle;
        SendSysCommandEx(window, kExecute, record);
        return;
    }
    record.x = button.left;
    record.y = button.bottom;
    if (kind == fireRepeat)
        record.flags |= kPositionGiven;
    SendSysCommandEx(window, kShowMenu, record);
}

void TkxButtonMsgFilter::Draw()
{
    CWnd* owner = GetOwner();
    if (!owner || !::IsWindow(owner->m_hWnd) || m_rect.IsRectEmpty())
        return;
    BOOL pushed = (m_nState & DFCS_PUSHED) != 0;
    CWindowDC dc(owner);
    CRect box(m_rect);
    dc.Draw3dRect(&box, ::GetSysColor(pushed ? COLOR_3DDKSHADOW : COLOR_3DHIGHLIGHT),
                  ::GetSysColor(pushed ? COLOR_3DHIGHLIGHT : COLOR_3DDKSHADOW));
    box.DeflateRect(1, 1);
    dc.Draw3dRect(&box, ::GetSysColor(pushed ? COLOR_3DSHADOW : COLOR_3DLIGHT),
                  ::GetSysColor(pushed ? COLOR_3DLIGHT : COLOR_3DSHADOW));
    box.DeflateRect(1, 1);
    dc.FillSolidRect(&box, ::GetSysColor(COLOR_3DFACE));
    // A small downward triangle, a third of the box wide.
    int half = std::max(1, box.Width() / 6);
    CPoint centre = box.CenterPoint() + (pushed ? CPoint(1, 1) : CPoint(0, 0));
    for (int row = 0; row <= half; row++)
    {
        int width = half - row;
        dc.FillSolidRect(centre.x - width, centre.y - half / 2 + row, 2 * width + 1, 1,
                         ::GetSysColor(COLOR_BTNTEXT));
    }
}

IMPLEMENT_DYNCREATE(TkxButtonMDIChildMsgFilter, TkxButtonMsgFilter)

BOOL TkxButtonMDIChildMsgFilter::IsShown(BOOL* inactive) const
{
    if (inactive)
        *inactive = FALSE;
    return GetOwner() && !GetOwner()->IsZoomed();
}

LRESULT TkxButtonMDIChildMsgFilter::OnFilter(UINT message, WPARAM wParam, LPARAM lParam,
                                             LRESULT* result)
{
    if (GetOwner() && GetOwner()->IsZoomed())
        return 0;
    return TkxButtonMsgFilter::OnFilter(message, wParam, lParam, result);
}

IMPLEMENT_DYNCREATE(TkxButtonMDIMaxChildMsgFilter, TkxButtonMsgFilter)

BOOL TkxButtonMDIMaxChildMsgFilter::IsShown(BOOL* inactive) const
{
    if (inactive)
        *inactive = FALSE;
    return ChildFilterEnabled(MaximisedToolkitChild(GetOwner()), kChildButtonFilter);
}

HWND TkxButtonMDIMaxChildMsgFilter::CommandWindow() const
{
    TkMDIChildWnd* child = MaximisedToolkitChild(GetOwner());
    return child ? child->GetSafeHwnd() : NULL;
}

// Presses on the menu line act as presses on a caption.
LRESULT TkxButtonMDIMaxChildMsgFilter::OnFilter(UINT message, WPARAM wParam, LPARAM lParam,
                                                LRESULT* result)
{
    if (!IsShown(NULL))
        return 0;
    BOOL nonClientPress = message == WM_NCLBUTTONDOWN || message == WM_NCRBUTTONDOWN;
    if (nonClientPress && wParam != HTMENU)
        return 0;
    return TkxButtonMsgFilter::OnFilter(message, nonClientPress ? HTCAPTION : wParam, lParam,
                                        result);
}

IMPLEMENT_DYNCREATE(TkxCaptionNCRDBLClkFilter, TkCaptionMsgFilter)

LRESULT TkxCaptionNCRDBLClkFilter::OnFilter(UINT message, WPARAM wParam, LPARAM lParam,
                                            LRESULT* result)
{
    if (message != WM_NCRBUTTONDBLCLK || wParam != HTCAPTION || !GetOwner())
        return TkCaptionMsgFilter::OnFilter(message, wParam, lParam, result);
    return SendToggle(GetOwner()->GetSafeHwnd());
}

IMPLEMENT_DYNCREATE(TkxNCRDBLClkMDIMaxChildMsgFilter, TkNcMsgFilter)

LRESULT TkxNCRDBLClkMDIMaxChildMsgFilter::OnFilter(UINT message, WPARAM wParam, LPARAM lParam,
                                                   LRESULT* result)
{
    TkMDIChildWnd* child = message == WM_NCRBUTTONDBLCLK ? MaximisedToolkitChild(GetOwner())
                                                         : NULL;
    if (!child || !ChildFilterEnabled(child, kChildDoubleClickFilter))
        return TkNcMsgFilter::OnFilter(message, wParam, lParam, result);
    if (wParam != HTMENU)
        return FilterChildren(message, wParam, lParam, result);
    return SendToggle(child->GetSafeHwnd());
}

IMPLEMENT_DYNCREATE(TkxContextMenuFilter, TkMsgFilter)

LRESULT TkxContextMenuFilter::OnFilter(UINT message, WPARAM wParam, LPARAM lParam,
                                       LRESULT* result)
{
    if (message != WM_NCRBUTTONUP || wParam != HTCAPTION || !GetOwner())
        return TkMsgFilter::OnFilter(message, wParam, lParam, result);
    Record record = {};
    record.hWnd = GetOwner()->GetSafeHwnd();
    CPoint point = PointOf(lParam);
    record.x = point.x;
    record.y = point.y;
    SendSysCommandEx(record.hWnd, kShowMenu, record);
    return kCommandSentLast;
}
}  // namespace nsSysCommandEx
