#include "toolkit/bars/TkControlBar.h"
#include "toolkit/bars/TkDockBar.h"
#include "toolkit/bars/TkDockContext.h"
#include "toolkit/bars/TkControlBarManager.h"
#include "toolkit/bars/TkDockState.h"
#include "toolkit/colors/TkSysColors.h"

#include <algorithm>
#include <string.h>

namespace {

const int kGripperParts[5] = {4, 3, 1, 3, 6};
const int kGripperSideMargin = 3;
// Ridges of the gripper: two raised lines, 3 pixels wide, 4 pixels apart.
const int kFirstRidge = 4;
const int kSecondRidge = 8;
const int kRidgeWidth = 3;
const int kButtonInset = 4;
const int kButtonTrim = 6;
const int kButtonSlack = 2;
// How many ids FindFreeBarId tries before it gives up.
const int kFreeIdTries = 1000;
const int kDefaultMargin = 10;

}  // namespace

TkGripperInfo::TkGripperInfo() : m_sideMargin(kGripperSideMargin)
{
    for (int i = 0; i < 5; i++) {
        m_horzParts[i] = kGripperParts[i];
        m_vertParts[i] = kGripperParts[i];
    }
    m_closeTip.LoadString(IDS_TK_HIDE_TIP);
    m_expandTip.LoadString(IDS_TK_EXPAND_TIP);
    m_contractTip.LoadString(IDS_TK_CONTRACT_TIP);
}

int TkGripperInfo::GetWidth() const
{
    int width = 0;
    for (int part : m_horzParts)
        width += part;
    return width;
}

int TkGripperInfo::GetHeight() const
{
    int height = 0;
    for (int part : m_vertParts)
        height += part;
    return height;
}

IMPLEMENT_DYNCREATE(TkControlBar, CControlBar)

BEGIN_MESSAGE_MAP(TkControlBar, CControlBar)
    ON_WM_SIZE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_CONTEXTMENU()
    ON_WM_ERASEBKGND()
    ON_WM_DESTROY()
    ON_COMMAND(ID_TKCB_HIDE, OnHide)
    ON_COMMAND(ID_TKCB_ALLOWDOCKING, OnAllowDocking)
    ON_COMMAND(ID_TKCB_FLOATINMAIN, OnFloatInMainWindow)
END_MESSAGE_MAP()

CSize TkControlBar::s_defaultSize(300, 180);
int TkControlBar::s_redrawOnLayout = 1;

int TkControlBar::GetRedrawOnLayout()
{
    return s_redrawOnLayout;
}

void TkControlBar::SetRedrawOnLayout(int redraw)
{
    s_redrawOnLayout = redraw;
}

TkControlBar::TkControlBar()
    : m_sizeHorz(0, 0), m_sizeVert(0, 0), m_sizeFloat(0, 0), m_dwSavedDockStyle(0),
      m_fProportion(1.0f), m_fSavedProportion(1.0f), m_dwExStyle(0),
      m_rectMargins(kDefaultMargin, kDefaultMargin, kDefaultMargin, kDefaultMargin),
      m_pManager(NULL), m_rectClose(0, 0, 0, 0), m_bClosePressed(FALSE), m_rectExpand(0, 0, 0, 0),
      m_bExpandPressed(FALSE), m_bExpandEnabled(TRUE), m_bExpandArrow(TRUE), m_bLastHorz(TRUE)
{
}

BOOL TkControlBar::Create(CWnd* parent, LPCSTR windowName, DWORD style, DWORD exStyle, UINT id,
                          CCreateContext* context)
{
    return CreateEx(NULL, windowName, id, style, exStyle, CRect(0, 0, 0, 0), parent, context);
}

BOOL TkControlBar::CreateEx(LPCSTR className, LPCSTR windowName, UINT id, DWORD style,
                            DWORD exStyle, const RECT& rect, CWnd* parent, CCreateContext*)
{
    m_dwStyle = style & CBRS_ALL;
    m_dwExStyle = exStyle;
    if (className == NULL) {
        if (!AfxRegisterControlBarClass())
            return FALSE;
        className = kControlBarClassName;
    }
    DWORD windowStyle = (style & ~CBRS_ALL) | WS_CHILD | WS_CLIPSIBLINGS;
    if (!CWnd::CreateEx(0, className, windowName, windowStyle, rect.left, rect.top,
                        rect.right - rect.left, rect.bottom - rect.top,
                        parent != NULL ? parent->m_hWnd : NULL, (HMENU)(UINT_PTR)id))
        return FALSE;
    if (m_dwExStyle & TKCBRS_PROPORTIONAL_CHILDREN)
        RecordChildRects();
    m_sizeHorz = m_sizeVert = m_sizeFloat = s_defaultSize;
    return TRUE;
}

BOOL TkControlBar::HasGripper() const
{
    return (m_dwExStyle & TKCBRS_GRIPPER) && m_pDockBar != NULL && !IsFloating();
}

TkDockBar* TkControlBar::GetTkDockBar() const
{
    if (m_pDockBar != NULL && m_pDockBar->IsKindOf(RUNTIME_CLASS(TkDockBar)))
        return static_cast<TkDockBar*>(m_pDockBar);
    return NULL;
}

CSize TkControlBar::CalcFixedLayout(BOOL, BOOL horizontal)
{
    return horizontal ? m_sizeHorz : m_sizeVert;
}

CSize TkControlBar::CalcDynamicLayout(int length, DWORD mode)
{
    if (mode & LM_COMMIT) {
        if (mode & LM_STRETCH)
            length = (int)(length * m_fProportion);
        BOOL lengthY = (mode & LM_LENGTHY) != 0;
        if (!(mode & (LM_HORZDOCK | LM_VERTDOCK))) {
            if (lengthY) {
                m_sizeFloat.cy = length;
            } else {
                m_sizeFloat.cx = length;
                m_nMRUWidth = length;
            }
        } else if (mode & LM_VERTDOCK) {
            (lengthY ? m_sizeVert.cy : m_sizeVert.cx) = length;
        } else {
            (lengthY ? m_sizeHorz.cy : m_sizeHorz.cx) = length;
        }
    }
    if (!(mode & (LM_HORZDOCK | LM_VERTDOCK)))
        return m_sizeFloat;
    return CalcFixedLayout(mode & LM_STRETCH, mode & LM_HORZ);
}

INT_PTR TkControlBar::OnToolHitTest(CPoint point, TOOLINFOA* info) const
{
    if (!(m_dwStyle & CBRS_TOOLTIPS))
        return -1;
    INT_PTR hit = CControlBar::OnToolHitTest(point, info);
    if (hit != -1 || m_pDockBar == NULL || IsFloating())
        return hit;
    const CRect* rect = NULL;
    const CString* text = NULL;
    if ((m_dwExStyle & TKCBRS_CLOSEBUTTON) && m_rectClose.PtInRect(point)) {
        hit = ID_TKCB_CLOSETIP;
        rect = &m_rectClose;
        text = &m_gripper.m_closeTip;
    } else if ((m_dwExStyle & TKCBRS_EXPANDBUTTON) && m_rectExpand.PtInRect(point)) {
        hit = ID_TKCB_EXPANDTIP;
        rect = &m_rectExpand;
        text = m_bExpandArrow ? &m_gripper.m_expandTip : &m_gripper.m_contractTip;
    } else {
        return -1;
    }
    if (info != NULL) {
        info->hwnd = m_hWnd;
        info->uId = hit;
        info->rect = *rect;
        info->lpszText = strdup(*text);
    }
    return hit;
}

void TkControlBar::OnUpdateCmdUI(CFrameWnd*, BOOL)
{
}

void TkControlBar::GetInsideRect(CRect& rect)
{
    GetClientRect(&rect);
    if (HasGripper()) {
        BOOL horizontal = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
        int margin = m_gripper.m_sideMargin;
        if (horizontal)
            rect.DeflateRect(m_gripper.GetWidth(), margin, margin, margin);
        else
            rect.DeflateRect(margin, m_gripper.GetHeight(), margin, margin);
    } else if (m_dwExStyle & TKCBRS_MARGINS) {
        rect.DeflateRect(m_rectMargins.left, m_rectMargins.top, m_rectMargins.right,
                         m_rectMargins.bottom);
    }
}

CDockContext* TkControlBar::CreateDockContext()
{
    return new TkDockContext(this);
}

void TkControlBar::EnableDocking(DWORD dockStyle)
{
    m_dwDockStyle = dockStyle;
    if (m_pDockContext == NULL)
        m_pDockContext = CreateDockContext();
}

void TkControlBar::SetExBarStyle(DWORD exStyle, BOOL redraw)
{
    if (IsFloating()) {
        CFrameWnd* frame = GetParentFrame();
        if (frame != NULL) {
            if (exStyle & TKCBRS_FIXEDSIZE)
                frame->ModifyStyle(0, MFS_4THICKFRAME);
            else
                frame->ModifyStyle(MFS_4THICKFRAME, WS_THICKFRAME | MFS_THICKFRAME);
        }
    }
    BOOL wasProportional = (m_dwExStyle & TKCBRS_PROPORTIONAL_CHILDREN) != 0;
    BOOL isProportional = (exStyle & TKCBRS_PROPORTIONAL_CHILDREN) != 0;
    if (!(wasProportional && isProportional)) {
        if (isProportional && m_hWnd != NULL) {
            RecordChildRects();
        } else {
            m_childRects.clear();
        }
    }
    if (exStyle != m_dwExStyle && redraw && m_hWnd != NULL)
        ::SetWindowPos(m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE);
    m_dwExStyle = exStyle;
}

void TkControlBar::ModifyExBarStyle(DWORD remove, DWORD add, BOOL redraw)
{
    SetExBarStyle((m_dwExStyle & ~remove) | add, redraw);
}

void TkControlBar::RecordChildRects()
{
    m_childRects.clear();
    ChildRect client = {NULL, CRect()};
    GetClientRect(&client.rect);
    m_childRects.push_back(client);
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child != NULL;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        ChildRect record = {child, CRect()};
        ::GetWindowRect(child, &record.rect);
        ScreenToClient(&record.rect);
        m_childRects.push_back(record);
    }
}

void TkControlBar::CalcInsideRect(CRect& rect, BOOL horizontal) const
{
    CalcInsideRect(rect, horizontal, TRUE);
}

void TkControlBar::CalcInsideRect(CRect& rect, BOOL horizontal, BOOL gripperAllowed) const
{
    if (!(m_dwExStyle & TKCBRS_TOOLKITBORDERS)) {
        CControlBar::CalcInsideRect(rect, horizontal);
        return;
    }
    DeflateBorderedSides(rect, 1);
    BOOL gripper = HasGripper();
    if (horizontal) {
        rect.left += gripper ? m_gripper.GetWidth() : m_cxLeftBorder;
        rect.top += m_cyTopBorder;
        rect.right -= m_cxRightBorder;
        rect.bottom -= m_cyBottomBorder;
    } else {
        rect.left += m_cyTopBorder;
        rect.top += gripper && gripperAllowed ? m_gripper.GetHeight() : m_cxLeftBorder;
        rect.right -= m_cyBottomBorder;
        rect.bottom -= m_cxRightBorder;
    }
}

void TkControlBar::BeforeDock()
{
    OnBeforeDock();
}

void TkControlBar::OnBeforeDock()
{
}

void TkControlBar::AfterDock()
{
}

void TkControlBar::BeforeFloat()
{
    OnBeforeFloat();
}

void TkControlBar::OnBeforeFloat()
{
}

void TkControlBar::AfterFloat()
{
}

void TkControlBar::BeforeFloatAsMDIChild()
{
    OnBeforeFloatAsMDIChild();
}

void TkControlBar::OnBeforeFloatAsMDIChild()
{
}

void TkControlBar::AfterFloatAsMDIChild()
{
}

void TkControlBar::GetExtraBarInfo(TkControlBarInfo*)
{
}

void TkControlBar::SetExtraBarInfo(TkControlBarInfo*, CFrameWnd*)
{
}

void TkControlBar::AddContextMenuItems(CMenu*)
{
}

void TkControlBar::ReloadSysColorBitmaps()
{
}

BOOL TkControlBar::CanHide()
{
    return TRUE;
}

BOOL TkControlBar::CanExpand()
{
    return TRUE;
}

void TkControlBar::AddGripperSize(CSize& size, BOOL horizontal) const
{
    if (horizontal)
        size.cx += m_gripper.GetWidth();
    else
        size.cy += m_gripper.GetHeight();
}

// Border lines in the toolkit's colours: shadow and highlight while the bar
// lies in a row of fixed bars, button face otherwise.
void TkControlBar::DrawBorders(CDC* dc, CRect& rect)
{
    DWORD style = m_dwStyle;
    if (!(style & CBRS_BORDER_ANY))
        return;
    if (m_dwExStyle & TKCBRS_TOOLKITBORDERS) {
        DeflateBorderedSides(rect, 1);
        if (HasGripper())
            DrawGripper(dc, rect);
        return;
    }
    BOOL fixedRow = (m_dwExStyle & TKCBRS_FIXEDROW) != 0;
    COLORREF outer = fixedRow ? (tkSysColors.m_bWin4 ? tkSysColors.m_clrBtnShadow
                                                     : tkSysColors.m_clrWindowFrame)
                              : tkSysColors.m_clrBtnFace;
    COLORREF inner = fixedRow ? tkSysColors.m_clrBtnHilite : tkSysColors.m_clrBtnFace;
    CRect line = rect;
    if (style & CBRS_BORDER_3D) {
        line.right--;
        line.bottom--;
    }
    DrawBorderLines(dc, line, outer, outer);
    // The 3-D border's second line lies one pixel inside the first.
    if (style & CBRS_BORDER_3D)
        DrawBorderLines(dc, CRect(line.left + 1, line.top + 1, rect.right, rect.bottom), inner, inner);
    DeflateBorderedSides(rect, tkSysColors.m_cxBorder);
}

void TkControlBar::DoPaint(CDC* dc)
{
    CRect rect;
    GetClientRect(&rect);
    DrawBorders(dc, rect);
    if (HasGripper() && !(m_dwExStyle & TKCBRS_TOOLKITBORDERS)) {
        CRect client;
        GetClientRect(&client);
        DrawGripper(dc, client);
    }
}

// Close and expand buttons are squares at the start of the gripper; the
// ridges take what is left.
void TkControlBar::DrawGripper(CDC* dc, CRect rect)
{
    if (!HasGripper())
        return;
    BOOL horizontal = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
    CRect gripper = rect;
    gripper.DeflateRect(1, 1);
    if (horizontal) {
        gripper.right = gripper.left + m_gripper.GetWidth();
        gripper.top += kGripperSideMargin;
        gripper.bottom -= kGripperSideMargin;
    } else {
        gripper.bottom = gripper.top + m_gripper.GetHeight();
        gripper.left += kGripperSideMargin;
        gripper.right -= kGripperSideMargin;
    }
    m_rectClose.SetRectEmpty();
    m_rectExpand.SetRectEmpty();
    if (m_dwExStyle & TKCBRS_CLOSEBUTTON)
        DrawCloseButton(dc, gripper, horizontal);
    if (m_dwExStyle & TKCBRS_EXPANDBUTTON)
        DrawExpandButton(dc, gripper, horizontal);
    COLORREF hilite = tkSysColors.m_clrBtnHilite;
    COLORREF shadow = tkSysColors.m_clrBtnShadow;
    if (horizontal) {
        int height = gripper.Height();
        dc->Draw3dRect(gripper.left + kFirstRidge, gripper.top, kRidgeWidth, height, hilite, shadow);
        dc->Draw3dRect(gripper.left + kSecondRidge, gripper.top, kRidgeWidth, height, hilite, shadow);
    } else {
        int width = gripper.Width();
        dc->Draw3dRect(gripper.left, gripper.top + kFirstRidge, width, kRidgeWidth, hilite, shadow);
        dc->Draw3dRect(gripper.left, gripper.top + kSecondRidge, width, kRidgeWidth, hilite, shadow);
    }
}

void TkControlBar::PlaceButton(CRect& button, CRect& gripper, BOOL horizontal)
{
    if (horizontal) {
        int left = std::max<int>(0, gripper.left + kButtonInset - kButtonSlack);
        int right = std::min<int>(gripper.right, gripper.right - kButtonTrim + kButtonSlack);
        button.SetRect(left, gripper.top, right, gripper.top + (right - left));
        gripper.top = button.bottom + kButtonSlack;
    } else {
        int top = std::max<int>(0, gripper.top + kButtonInset - kButtonSlack);
        int bottom = std::min<int>(gripper.bottom, gripper.bottom - kButtonTrim + kButtonSlack);
        button.SetRect(gripper.right - (bottom - top), top, gripper.right, bottom);
        gripper.right = button.left - kButtonSlack;
    }
}

void TkControlBar::DrawCloseButton(CDC* dc, CRect& gripper, BOOL horizontal)
{
    PlaceButton(m_rectClose, gripper, horizontal);
    DrawCloseButtonUp(dc);
}

void TkControlBar::DrawCloseButtonPressed(CDC* dc)
{
    CRect rect = m_rectClose;
    ::DrawFrameControl(dc->m_hDC, &rect, DFC_CAPTION, DFCS_CAPTIONCLOSE | DFCS_PUSHED);
}

void TkControlBar::DrawCloseButtonUp(CDC* dc)
{
    CRect rect = m_rectClose;
    ::DrawFrameControl(dc->m_hDC, &rect, DFC_CAPTION, DFCS_CAPTIONCLOSE);
}

void TkControlBar::DrawExpandButton(CDC* dc, CRect& gripper, BOOL horizontal)
{
    UpdateExpandState(horizontal);
    PlaceButton(m_rectExpand, gripper, horizontal);
    DrawExpandButtonUp(dc);
}

namespace {

UINT ExpandGlyph(BOOL horizontal, BOOL arrow, BOOL enabled, BOOL pressed)
{
    UINT state = horizontal ? (arrow ? DFCS_SCROLLLEFT : DFCS_SCROLLRIGHT)
                            : (arrow ? DFCS_SCROLLUP : DFCS_SCROLLDOWN);
    if (!enabled)
        state |= DFCS_INACTIVE;
    else if (pressed)
        state |= DFCS_PUSHED;
    return state;
}

}  // namespace

void TkControlBar::DrawExpandButtonPressed(CDC* dc)
{
    CRect rect = m_rectExpand;
    rect.left--;
    rect.top--;
    ::DrawFrameControl(dc->m_hDC, &rect, DFC_SCROLL,
                       ExpandGlyph(m_bLastHorz, m_bExpandArrow, m_bExpandEnabled, TRUE));
}

void TkControlBar::DrawExpandButtonUp(CDC* dc)
{
    CRect rect = m_rectExpand;
    rect.left--;
    rect.top--;
    ::DrawFrameControl(dc->m_hDC, &rect, DFC_SCROLL,
                       ExpandGlyph(m_bLastHorz, m_bExpandArrow, m_bExpandEnabled, FALSE));
}

void TkControlBar::UpdateExpandState(BOOL horizontal)
{
    m_bLastHorz = horizontal;
    TkDockBar* dockBar = GetTkDockBar();
    m_bExpandArrow = dockBar == NULL || !dockBar->IsBarExpanded(this);
    m_bExpandEnabled = dockBar == NULL || !dockBar->IsOnlyBarInRow(this);
}

void TkControlBar::ChildArea(int cx, int cy, CPoint& offset, CSize& size) const
{
    offset = CPoint(0, 0);
    size = CSize(cx, cy);
    if (m_dwExStyle & TKCBRS_GRIPPER) {
        if (m_dwStyle & CBRS_ORIENT_HORZ) {
            offset = CPoint(m_gripper.GetWidth(), kGripperSideMargin);
            size = CSize(std::max(0, cx - m_gripper.GetWidth() - kGripperSideMargin),
                         cy - 2 * kGripperSideMargin);
        } else {
            offset = CPoint(kGripperSideMargin, m_gripper.GetHeight());
            size = CSize(cx - 2 * kGripperSideMargin,
                         std::max(0, cy - m_gripper.GetHeight() - kGripperSideMargin));
        }
    } else if (m_dwExStyle & TKCBRS_MARGINS) {
        offset = CPoint(m_rectMargins.left, m_rectMargins.top);
        size = CSize(std::max<LONG>(0, cx - m_rectMargins.left - m_rectMargins.right),
                     std::max<LONG>(0, cy - m_rectMargins.top - m_rectMargins.bottom));
    }
}

UINT TkControlBar::ChildMoveFlags() const
{
    return SWP_NOZORDER | SWP_NOACTIVATE | (s_redrawOnLayout ? SWP_NOREDRAW : 0);
}

// Children recorded before the bar had a size (record 0 empty) have nothing
// to be scaled against: they keep their places.
void TkControlBar::LayoutChildren(int cx, int cy)
{
    CPoint offset;
    CSize size;
    ChildArea(cx, cy, offset, size);
    if (!m_childRects.empty() && (m_dwExStyle & TKCBRS_PROPORTIONAL_CHILDREN)) {
        const CRect& base = m_childRects[0].rect;
        if (base.Width() <= 0 || base.Height() <= 0)
            return;
        HDWP deferred = ::BeginDeferWindowPos((int)m_childRects.size());
        CPoint shift = (m_dwExStyle & TKCBRS_MARGINS) ? CPoint(m_rectMargins.left, m_rectMargins.top)
                                                       : CPoint(0, 0);
        CPoint gripperOffset = (m_dwExStyle & TKCBRS_GRIPPER) ? offset : CPoint(0, 0);
        for (size_t i = 1; i < m_childRects.size() && deferred != NULL; i++) {
            const ChildRect& record = m_childRects[i];
            if (!::IsWindow(record.window))
                continue;
            CRect place(record.rect.left * cx / base.Width(), record.rect.top * cy / base.Height(),
                        record.rect.right * cx / base.Width(), record.rect.bottom * cy / base.Height());
            place.OffsetRect(gripperOffset + shift);
            deferred = ::DeferWindowPos(deferred, record.window, NULL, place.left, place.top,
                                        place.Width(), place.Height(), ChildMoveFlags());
        }
        if (deferred != NULL)
            ::EndDeferWindowPos(deferred);
        if (IsFloating())
            Invalidate();
        return;
    }
    if (m_dwExStyle & TKCBRS_FILLCHILD) {
        // A floating bar shows no gripper.
        if (IsFloating() && (m_dwExStyle & TKCBRS_GRIPPER)) {
            offset = CPoint(0, 0);
            size = CSize(cx, cy);
        }
        HWND child = ::GetWindow(m_hWnd, GW_CHILD);
        if (child != NULL)
            ::SetWindowPos(child, NULL, offset.x, offset.y, size.cx, size.cy, ChildMoveFlags());
    }
}

void TkControlBar::OnSize(UINT type, int cx, int cy)
{
    if (type != SIZE_MINIMIZED && cx > 0 && cy > 0)
        LayoutChildren(cx, cy);
    Default();
}

void TkControlBar::ReleaseButtons()
{
    BOOL redraw = m_bClosePressed || m_bExpandPressed;
    m_bClosePressed = FALSE;
    m_bExpandPressed = FALSE;
    if (redraw)
        Invalidate();
}

void TkControlBar::OnLButtonDown(UINT flags, CPoint point)
{
    BOOL docked = m_pDockBar != NULL && !IsFloating();
    if (!docked && (m_rectClose.PtInRect(point) || m_rectExpand.PtInRect(point))) {
        m_bClosePressed = FALSE;
        m_bExpandPressed = FALSE;
        return;
    }
    if (docked && (m_dwExStyle & TKCBRS_CLOSEBUTTON) && m_rectClose.PtInRect(point)) {
        if (!m_bClosePressed && CanHide()) {
            m_bClosePressed = TRUE;
            CClientDC dc(this);
            DrawCloseButtonPressed(&dc);
            SetCapture();
        }
        return;
    }
    if (docked && (m_dwExStyle & TKCBRS_EXPANDBUTTON) && m_rectExpand.PtInRect(point)) {
        if (!m_bExpandPressed && m_bExpandEnabled && CanExpand()) {
            m_bExpandPressed = TRUE;
            CClientDC dc(this);
            DrawExpandButtonPressed(&dc);
            SetCapture();
        }
        return;
    }
    ReleaseButtons();
    CFrameWnd* frame = GetParentFrame();
    if (IsFloating() && frame != NULL && !frame->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd))) {
        Default();
        return;
    }
    CControlBar::OnLButtonDown(flags, point);
}

void TkControlBar::OnLButtonUp(UINT, CPoint point)
{
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    if (m_bClosePressed && m_rectClose.PtInRect(point)) {
        m_bClosePressed = FALSE;
        Invalidate();
        SendMessage(WM_COMMAND, ID_TKCB_HIDE);
        return;
    }
    if (m_bExpandPressed && m_bExpandEnabled && m_rectExpand.PtInRect(point)) {
        m_bExpandPressed = FALSE;
        Invalidate();
        TkDockBar* dockBar = GetTkDockBar();
        if (dockBar != NULL)
            dockBar->ExpandBar(this, m_bExpandArrow ? TkDockBar::kExpand : TkDockBar::kContract);
        return;
    }
    ReleaseButtons();
    Default();
}

void TkControlBar::OnLButtonDblClk(UINT flags, CPoint point)
{
    if (m_rectClose.PtInRect(point) || m_rectExpand.PtInRect(point))
        return;
    CFrameWnd* frame = GetParentFrame();
    if (IsFloating() && frame != NULL && !frame->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd))) {
        Default();
        return;
    }
    CControlBar::OnLButtonDblClk(flags, point);
}

void TkControlBar::OnContextMenu(CWnd* window, CPoint point)
{
    if (!(m_dwExStyle & TKCBRS_CONTEXTMENU)) {
        Default();
        return;
    }
    CMenu menu;
    if (!menu.CreatePopupMenu())
        return;
    UINT check = (m_dwDockStyle & CBRS_ALIGN_ANY) ? MF_CHECKED : MF_UNCHECKED;
    menu.AppendMenu(MF_STRING | check, ID_TKCB_ALLOWDOCKING, "Allow Docking");
    menu.AppendMenu(MF_STRING, ID_TKCB_HIDE, "Hide");
    AddContextMenuItems(&menu);
    if (m_pDockContext != NULL && m_pDockContext->m_pDockSite != NULL)
        m_pDockContext->m_pDockSite->SendMessage(WM_TKADDCONTEXTMENUITEMS, (WPARAM)this,
                                                 (LPARAM)&menu);
    if (point.x == -1 && point.y == -1) {
        CWnd* asker = window != NULL ? window : this;
        CRect rect;
        asker->GetClientRect(&rect);
        point = CPoint(rect.right / 4, 10);
        asker->ClientToScreen(&point);
    }
    menu.TrackPopupMenu(TPM_RIGHTBUTTON, point.x, point.y, this);
    menu.DestroyMenu();
}

BOOL TkControlBar::OnEraseBkgnd(CDC* dc)
{
    if (m_dwExStyle & TKCBRS_MARGINS) {
        CRect client;
        GetClientRect(&client);
        CRect inside;
        GetInsideRect(inside);
        COLORREF face = tkSysColors.m_clrBtnFace;
        dc->FillSolidRect(client.left, client.top, client.Width(), inside.top - client.top, face);
        dc->FillSolidRect(client.left, inside.bottom, client.Width(), client.bottom - inside.bottom, face);
        dc->FillSolidRect(client.left, inside.top, inside.left - client.left, inside.Height(), face);
        dc->FillSolidRect(inside.right, inside.top, client.right - inside.right, inside.Height(), face);
    }
    return CControlBar::OnEraseBkgnd(dc);
}

void TkControlBar::OnDestroy()
{
    TkDockBar* dockBar = GetTkDockBar();
    if (!IsDockBar() && dockBar != NULL)
        dockBar->OnBarDestroyed(this);
    m_childRects.clear();
    CFrameWnd* frame = GetDockingFrame();
    CControlBar::OnDestroy();
    if (frame != NULL)
        frame->DelayRecalcLayout();
}

void TkControlBar::EraseNonClient()
{
    CWindowDC dc(this);
    CRect window;
    GetWindowRect(&window);
    CRect client;
    GetClientRect(&client);
    ClientToScreen(&client);
    client.OffsetRect(-window.left, -window.top);
    window.OffsetRect(-window.left, -window.top);
    dc.ExcludeClipRect(&client);
    DrawBorders(&dc, window);
    dc.IntersectClipRect(&window);
    SendMessage(WM_ERASEBKGND, (WPARAM)dc.m_hDC);
}

void TkControlBar::OnHide()
{
    CFrameWnd* frame = m_pDockSite != NULL ? m_pDockSite : GetDockingFrame();
    if (frame != NULL)
        frame->ShowControlBar(this, FALSE, FALSE);
}

void TkControlBar::OnAllowDocking()
{
    if (m_dwDockStyle & CBRS_ALIGN_ANY) {
        m_dwSavedDockStyle = m_dwDockStyle & CBRS_ALIGN_ANY;
        if (m_pDockBar != NULL && !IsFloating() && m_pDockContext != NULL)
            m_pDockContext->ToggleDocking();
        EnableDocking(0);
    } else {
        EnableDocking(m_dwSavedDockStyle);
    }
}

void TkControlBar::GetBarInfoEx(TkControlBarInfo* info)
{
    GetBarInfo(info);
    info->m_sizeHorz = m_sizeHorz;
    info->m_sizeVert = m_sizeVert;
    info->m_sizeFloat = m_sizeFloat;
    info->m_dwMRUDockingState = m_dwSavedDockStyle;
    info->m_dwDockingStyle = m_dwDockStyle;
    info->m_fProportion = m_fProportion;
    info->m_dwStyle = m_dwStyle;
    info->m_dwExStyle = m_dwExStyle;
    info->m_dwTypeID = m_pManager != NULL ? m_pManager->GetBarTypeID(this) : 0;
    TkDockContext* context = dynamic_cast<TkDockContext*>(m_pDockContext);
    info->m_bPrevFloating = context != NULL && context->m_bFloatedFromFloating;
    info->m_strClassName = GetRuntimeClass()->m_lpszClassName;
    GetWindowText(info->m_strWindowName);
    GetExtraBarInfo(info);
}

void TkControlBar::SetBarInfoEx(TkControlBarInfo* info, CFrameWnd* frame)
{
    m_nMRUWidth = info->m_nMRUWidth;
    m_sizeHorz = info->m_sizeHorz;
    m_sizeVert = info->m_sizeVert;
    m_sizeFloat = info->m_sizeFloat;
    m_dwSavedDockStyle = info->m_dwMRUDockingState;
    m_dwDockStyle = info->m_dwDockingStyle;
    m_fProportion = info->m_fProportion;
    SetBarStyle(info->m_dwStyle);
    SetDockContextInfo(info);
    if (info->m_bDocking && m_pDockContext != NULL) {
        TkDockContext* context = dynamic_cast<TkDockContext*>(m_pDockContext);
        if (context != NULL)
            context->m_bFloatedFromFloating = info->m_bPrevFloating;
    }
    if (info->m_pExtraInfo != NULL)
        SetExtraBarInfo(info, frame);
    ApplyPlacement(info);
}

BOOL TkControlBar::GetDockPosition(int& row, int& column, UINT& dockBarId, float& proportion)
{
    TkDockBar* dockBar = GetTkDockBar();
    int thickness = 0;
    if (dockBar == NULL || !dockBar->FindBarPosition(this, row, column, thickness))
        return FALSE;
    dockBarId = dockBar->GetDlgCtrlID() & 0xFFFF;
    proportion = m_fProportion;
    return TRUE;
}

TkControlBar* TkControlBar::FromBar(CControlBar* bar)
{
    return bar != NULL && bar->IsKindOf(RUNTIME_CLASS(TkControlBar)) ? static_cast<TkControlBar*>(bar)
                                                                      : NULL;
}

UINT TkControlBar::FindFreeBarId(const CPtrList& bars, UINT firstId)
{
    std::vector<UINT> used;
    for (POSITION position = bars.GetHeadPosition(); position != NULL;) {
        CControlBar* bar = static_cast<CControlBar*>(bars.GetNext(position));
        if (bar->m_hWnd != NULL)
            used.push_back(bar->GetDlgCtrlID());
    }
    for (int i = 0; i < kFreeIdTries; i++) {
        UINT id = firstId + i;
        if (std::find(used.begin(), used.end(), id) == used.end())
            return id;
    }
    return 0;
}

void TkControlBar::OnFloatInMainWindow()
{
    TkDockContext* context = dynamic_cast<TkDockContext*>(m_pDockContext);
    if (context != NULL)
        context->FloatInMainWindow();
}

BOOL TkControlBar::IsInMDIChild() const
{
    const CControlBar* bar = IsDockBar() ? static_cast<const CControlBar*>(this) : m_pDockBar;
    if (bar == NULL || !bar->IsKindOf(RUNTIME_CLASS(TkDockBar)))
        return FALSE;
    return static_cast<const TkDockBar*>(bar)->m_bMDIChild;
}
