#include "toolkit/toolbars/TkCustomToolBar.h"

#include "toolkit/bars/TkReBar.h"
#include "toolkit/bars/TkControlBarManager.h"
#include "toolkit/toolbars/TkBmpMgr.h"
#include "toolkit/toolbars/TkCustomToolBarInfoEx.h"
#include "toolkit/toolbars/TkCustomToolCmdUI.h"
#include "toolkit/toolbars/TkDrawData.h"
#include "toolkit/colors/TkSysColors.h"
#include "toolkit/toolbars/TkToolBarManager.h"

#include <algorithm>

namespace {

// Bar style bits a tool bar keeps of the style it is created with.
const DWORD kKeptBarStyle = 0x40FFFF;
// Bar styles of a bar that stands (left or right border or alignment).
const DWORD kStandingStyle = CBRS_BORDER_LEFT | CBRS_BORDER_RIGHT | CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT;

}  // namespace

IMPLEMENT_DYNCREATE(TkCustomToolBar, TkControlBar)

BOOL TkCustomToolBar::s_bButtonAction = FALSE;
UINT TkCustomToolBar::s_nNoDelayHideMsg = RegisterWindowMessageA("WM_NODELAYHIDE");

TkCustomToolBar::TkCustomToolBar()
    : m_cxWidest(0), m_cxSeparator(8), m_dwDrawMode(0), m_dwBehaviour(0), m_pBmpMgr(new TkBmpMgr),
      m_nPressedIndex(-1), m_nHotIndex(-1), m_bCustomizing(FALSE), m_bHidePosted(FALSE),
      m_nToldVisible(-1), m_pOwnerWnd(NULL),
      m_pFont(CFont::FromHandle((HFONT)GetStockObject(DEFAULT_GUI_FONT))), m_pFirstMap(NULL),
      m_pSecondMap(NULL), m_nFlyById(0)
{
}

TkCustomToolBar::~TkCustomToolBar()
{
    RemoveAllButtons();
    m_pBmpMgr->Release();
}

BOOL TkCustomToolBar::Create(CWnd* parent, LPCSTR windowName, DWORD style, DWORD exStyle, UINT id,
                             CCreateContext*)
{
    return CreateToolBarEx(exStyle, parent, style | CBRS_HIDE_INPLACE, id, windowName);
}

BOOL TkCustomToolBar::CreateToolBarEx(DWORD exStyle, CWnd* parent, DWORD style, UINT id, LPCSTR title)
{
    DWORD windowStyle = style & ~CBRS_ALL;
    if (!TkControlBar::CreateEx(NULL, title, id, windowStyle | (style & kKeptBarStyle),
                                exStyle | TKTBS_CREATED, CRect(0, 0, 0, 0), parent))
        return FALSE;
    m_layout.m_bHorzPending = m_layout.m_bVertPending = m_layout.m_bFloatPending = TRUE;
    NotifyManager(kTkBarCreated);
    return TRUE;
}

void TkCustomToolBar::SetToolBarManager(TkToolBarManager* manager)
{
    m_pManager = manager;
}

TkToolBarManager* TkCustomToolBar::GetToolBarManager() const
{
    return dynamic_cast<TkToolBarManager*>(m_pManager);
}

void TkCustomToolBar::NotifyManager(LPARAM code)
{
    TkToolBarManager* manager = GetToolBarManager();
    if (manager != NULL)
        manager->NotifyBarEvent(GetDlgCtrlID(), code);
}

void TkCustomToolBar::SyncImageSize()
{
    CSize image = m_pBmpMgr->GetImageSize();
    if (m_layout.m_cxImage != image.cx || m_layout.m_cyImage != image.cy)
        m_layout.SetImageSize(image);
}

TkLayoutSite TkCustomToolBar::LayoutSite(DWORD mode) const
{
    CRect inside(0, 0, 0, 0);
    CalcInsideRect(inside, (mode & LM_HORZ) != 0);
    TkLayoutSite site;
    site.dwStyle = m_dwStyle;
    site.dwExStyle = m_dwExStyle;
    site.rectBorders.SetRect(inside.left, inside.top, -inside.right, -inside.bottom);
    site.bInReBar = FALSE;
    site.fStretch = 1.0f;
    return site;
}

CSize TkCustomToolBar::CalcFixedLayout(BOOL, BOOL horizontal)
{
    CSize size = m_layout.CalcFixedLayout(m_buttons, horizontal, LayoutSite(horizontal ? LM_HORZ : 0));
    UpdateHostBand(dynamic_cast<TkReBar*>(GetParent()), size);
    return size;
}

CSize TkCustomToolBar::CalcDynamicLayout(int length, DWORD mode)
{
    CSize size;
    if (m_layout.CalcDynamicLayout(m_buttons, length, mode, LayoutSite(mode), &size)) {
        UpdateHostBand(dynamic_cast<TkReBar*>(GetParent()), size);
        return size;
    }
    // The platform's answer is the docked size; a floating bar keeps its own,
    // also when it was never docked.
    if (!(mode & (LM_HORZDOCK | LM_VERTDOCK | LM_COMMIT)))
        return m_layout.CalcLayout(m_buttons, -1, mode, LayoutSite(mode));
    return CControlBar::CalcDynamicLayout(length, mode);
}

int TkCustomToolBar::IndexOfButton(const TkStdBtn* button) const
{
    for (int i = 0; i < GetCount(); i++) {
        if (GetButton(i) == button)
            return i;
    }
    return -1;
}

int TkCustomToolBar::GetButtonImage(UINT id, HBITMAP* bitmap) const
{
    int index = -1;
    if (!m_pBmpMgr->GetImage(id, bitmap, &index, FALSE)) {
        *bitmap = NULL;
        return -1;
    }
    return index;
}

void TkCustomToolBar::SetButtonMaps(const TkBtnMapEntry* first, const TkBtnMapEntry* second)
{
    m_pFirstMap = first;
    m_pSecondMap = second;
}

TkStdBtn* TkCustomToolBar::CreateButton(UINT id)
{
    SyncImageSize();
    const TkBtnMapEntry* first = m_pFirstMap;
    const TkBtnMapEntry* second = m_pSecondMap;
    // The manager's maps once it holds one; a menu bar that loaded its own
    // menus keeps its table until then.
    TkToolBarManager* manager = GetToolBarManager();
    if (manager != NULL && (manager->GetFirstButtonMap() != NULL || manager->GetSecondButtonMap() != NULL)) {
        first = manager->GetFirstButtonMap();
        second = manager->GetSecondButtonMap();
    }
    const TkBtnMapEntry* entry = NULL;
    TkStdBtn* button = TkCreateMappedButton(first, second, id, &entry);
    HBITMAP bitmap = NULL;
    int image = button->m_nKind == kTkBtnMenu ? 0 : GetButtonImage(id, &bitmap);
    button->m_nImage = std::max(image, 0);
    button->Init(this, entry != NULL ? &entry->data : NULL);
    button->SetMode(m_dwDrawMode);
    return button;
}

TkStdBtn* TkCustomToolBar::CreateSeparator()
{
    SyncImageSize();
    TkStdBtn* button = new TkStdBtn;
    button->SetStyle(TBBS_SEPARATOR);
    button->m_cx = m_cxSeparator;
    button->m_cy = m_layout.m_cyButton;
    button->Init(this, NULL);
    return button;
}

void TkCustomToolBar::RemoveAllButtons()
{
    for (int i = 0; i < GetCount(); i++)
        delete GetButton(i);
    m_buttons.RemoveAll();
    m_nPressedIndex = m_nHotIndex = -1;
}

void TkCustomToolBar::ResizeButtons()
{
    SyncImageSize();
    m_cxWidest = 0;
    for (int i = 0; i < GetCount(); i++)
        GetButton(i)->AdjustSize();
    // The remembered sizes were those of the old button size.
    m_layout.m_bHorzPending = m_layout.m_bVertPending = m_layout.m_bFloatPending = TRUE;
}

BOOL TkCustomToolBar::SetButtons(const UINT* ids, int count)
{
    ClearSelection(FALSE);
    RemoveAllButtons();
    for (int i = 0; i < count; i++)
        m_buttons.Add(ids[i] == 0 ? CreateSeparator() : CreateButton(ids[i]));
    m_layout.m_bHorzPending = m_layout.m_bVertPending = m_layout.m_bFloatPending = TRUE;
    return TRUE;
}

BOOL TkCustomToolBar::LoadToolBar(UINT resourceId)
{
    CSize image;
    CDWordArray all;
    LPCSTR resource = MAKEINTRESOURCEA(resourceId);
    if (!TkReadToolBarResource(resource, &image, all) ||
        !m_pBmpMgr->LoadToolBarResource(resource, NULL, TRUE))
        return FALSE;
    CArray<UINT, UINT> ids;
    for (int i = 0; i < all.GetSize(); i++)
        ids.Add(all[i]);
    return SetButtons(ids.GetData(), (int)ids.GetSize());
}

BOOL TkCustomToolBar::SetBitmapAndButtons(HBITMAP bitmap, const UINT* ids, int count)
{
    CArray<UINT, UINT> commands;
    for (int i = 0; i < count; i++) {
        if (ids[i] != 0)
            commands.Add(ids[i]);
    }
    if (bitmap == NULL ||
        !m_pBmpMgr->AddBitmap(bitmap, NULL, commands.GetData(), (int)commands.GetSize()))
        return FALSE;
    return SetButtons(ids, count);
}

void TkCustomToolBar::ReloadSysColorBitmaps()
{
    if (m_pBmpMgr)
        m_pBmpMgr->ReloadBitmaps(TRUE);
}

void TkCustomToolBar::SetBmpMgr(TkBmpMgr* manager)
{
    manager->AddRef();
    m_pBmpMgr->Release();
    m_pBmpMgr = manager;
}

CWnd* TkCustomToolBar::GetOwnerWindow() const
{
    CWnd* owner = m_pOwnerWnd != NULL ? m_pOwnerWnd : GetOwner();
    if (owner == NULL)
        owner = GetDockingFrame();
    return owner != NULL ? owner : GetParent();
}

void TkCustomToolBar::SetButtonStyle(int index, DWORD style)
{
    TkStdBtn* button = GetButton(index);
    if (button->GetStyle() == style)
        return;
    button->SetStyle(style);
    InvalidateButton(index);
}

void TkCustomToolBar::HideButton(int index, BOOL hide)
{
    DWORD style = GetButtonStyle(index);
    GetButton(index)->SetStyle(hide ? style | TBBS_HIDDEN : style & ~TBBS_HIDDEN);
}

void TkCustomToolBar::InvalidateButton(int index)
{
    if (index >= 0 && index < GetCount())
        GetButton(index)->Invalidate(FALSE);
}

int TkCustomToolBar::ButtonHitTest(int x, int y, CRect* rect) const
{
    return m_layout.ButtonHitTest(m_buttons, CPoint(x, y), rect);
}

void TkCustomToolBar::InformButtons(UINT id, const TkBtnStyleChange& change)
{
    TkToolBarManager* manager = GetToolBarManager();
    if (manager != NULL)
        manager->InformBtns(id, kTkInformStyle, &change);
    else
        InformBtns(id, kTkInformStyle, &change);
}

void TkCustomToolBar::InformBtns(UINT id, int kind, const void* data)
{
    for (int i = 0; i < GetCount(); i++) {
        if (GetButtonID(i) == id)
            GetButton(i)->InformBtn(kind, data);
    }
}

void TkCustomToolBar::RecalcParent()
{
    m_layout.m_bHorzPending = m_layout.m_bVertPending = m_layout.m_bFloatPending = TRUE;
    CFrameWnd* frame = GetParentFrame();
    if (frame != NULL)
        frame->RecalcLayout();
    Invalidate();
    UpdateWindow();
}

void TkCustomToolBar::ShiftIndexes(int index, int delta)
{
    if (m_nHotIndex >= index)
        m_nHotIndex += delta;
    if (HoldsSelection() && m_nPressedIndex >= index)
        m_nPressedIndex += delta;
}

void TkCustomToolBar::InsertButton(int index, UINT id, BOOL separator, BOOL noRecalc)
{
    index = std::max(0, std::min(index, GetCount()));
    TkStdBtn* button = separator ? CreateSeparator() : CreateButton(id);
    m_buttons.InsertAt(index, button);
    m_layout.m_nFloatWidth += button->m_cx;
    // Sizes cached for the old buttons are stale even when the caller lays out later.
    m_layout.m_bHorzPending = m_layout.m_bVertPending = m_layout.m_bFloatPending = TRUE;
    ShiftIndexes(index, 1);
    UpdateButton(index);
    if (!noRecalc)
        RecalcParent();
}

// After the button at index went: a separator left last, or the second of
// two that now meet, or one left first goes too.
void TkCustomToolBar::RemoveSeparatorsAround(int index, int* removed)
{
    int count = GetCount();
    int extra = -1;
    if (index > 0 && index == count && GetButton(count - 1)->IsSeparator())
        extra = count - 1;
    else if (index > 0 && index < count && GetButton(index - 1)->IsSeparator() &&
             GetButton(index)->IsSeparator())
        extra = index;
    else if (index == 0 && count > 0 && GetButton(0)->IsSeparator())
        extra = 0;
    if (extra < 0)
        return;
    delete GetButton(extra);
    m_buttons.RemoveAt(extra);
    (*removed)++;
}

BOOL TkCustomToolBar::RemoveButton(int index, BOOL noRecalc)
{
    if (index < 0 || index >= GetCount())
        return GetCount() > 0;
    delete GetButton(index);
    m_buttons.RemoveAt(index);
    int removed = 1;
    RemoveSeparatorsAround(index, &removed);
    if (HoldsSelection() && m_nPressedIndex == index) {
        GetToolBarManager()->SetSelectedBar(NULL);
        m_nPressedIndex = -1;
        NotifyManager(kTkBarSelectionChanged);
    }
    if (m_nHotIndex == index) {
        m_nHotIndex = -1;
        KillTimer(kTkHotTrackTimer);
    }
    ShiftIndexes(index + 1, -removed);
    m_layout.m_bHorzPending = m_layout.m_bVertPending = m_layout.m_bFloatPending = TRUE;
    if (noRecalc)
        return GetCount() > 0;
    UINT id = GetDlgCtrlID();
    if (GetCount() == 0 && id >= kTkFirstUserBarId && id <= kTkLastUserBarId) {
        DestroyWindow();
        return FALSE;
    }
    RecalcParent();
    return GetCount() > 0;
}

TkDrawData* TkCustomToolBar::GetDrawData()
{
    if (m_pDrawData)
        return m_pDrawData.get();
    TkToolBarManager* manager = GetToolBarManager();
    if (manager != NULL && manager->GetDrawData() != NULL)
        return manager->GetDrawData();
    m_pDrawData.reset(new TkDrawData);
    return m_pDrawData.get();
}

void TkCustomToolBar::DoPaint(CDC* dc)
{
    TkControlBar::DoPaint(dc);
    TkDrawData* drawData = NULL;
    try {
        drawData = GetDrawData();
    } catch (CResourceException* e) {
        e->Delete();
        return;
    }
    SyncImageSize();
    int cy = m_layout.m_cyButton;
    for (int i = 0; i < GetCount(); i++)
        cy = std::max(cy, GetButton(i)->m_cy);
    if (!drawData->PrepareBitmaps(dc, std::max(m_cxWidest, 1), cy))
        return;
    drawData->m_sizeImage = CSize(m_layout.m_cxImage, m_layout.m_cyImage);
    drawData->m_bCoolLook = IsCoolLook();
    drawData->m_bCustomizing = m_bCustomizing;
    drawData->m_dwExStyle = m_dwExStyle;
    for (int i = 0; i < GetCount(); i++) {
        if (!GetButton(i)->IsHidden())
            GetButton(i)->Render(dc, drawData);
    }
    drawData->FreeBitmaps();
}

void TkCustomToolBar::DrawBorders(CDC* dc, CRect& rect)
{
    if ((m_dwStyle & CBRS_BORDER_ANY) && IsCoolLook()) {
        DrawCoolBorders(dc, rect);
    } else if (m_dwStyle & CBRS_BORDER_ANY) {
        rect.right--;
        rect.bottom--;
    }
    TkControlBar::DrawBorders(dc, rect);
}

void TkCustomToolBar::DrawCoolBorders(CDC* dc, const CRect& rect) const
{
    COLORREF light =
        (m_dwStyle & CBRS_BORDER_3D) ? tkSysColors.m_clrBtnHilite : tkSysColors.m_clrBtnShadow;
    COLORREF shadow = tkSysColors.m_clrBtnShadow;
    if (m_dwStyle & CBRS_BORDER_LEFT)
        dc->FillSolidRect(rect.left, rect.top, 1, rect.Height(), light);
    if (m_dwStyle & CBRS_BORDER_TOP)
        dc->FillSolidRect(rect.left, rect.top, rect.Width(), 1, light);
    if (m_dwStyle & CBRS_BORDER_RIGHT)
        dc->FillSolidRect(rect.right - 1, rect.top, 1, rect.Height(), shadow);
    if (m_dwStyle & CBRS_BORDER_BOTTOM)
        dc->FillSolidRect(rect.left, rect.bottom - 1, rect.Width(), 1, shadow);
    // Standing alone, the bar is set off from what lies above it.
    if (m_pDockBar == NULL) {
        dc->FillSolidRect(rect.left, rect.top, rect.Width(), 1, shadow);
        dc->FillSolidRect(rect.left, rect.top + 1, rect.Width(), 1, tkSysColors.m_clrBtnHilite);
    }
}

void TkCustomToolBar::SizeToParent()
{
    CWnd* parent = GetParent();
    if (m_pDockBar != NULL || parent == NULL)
        return;
    CRect available, rect;
    parent->GetClientRect(&available);
    GetWindowRect(&rect);
    CSize size = (m_dwStyle & kStandingStyle) ? CSize(rect.Width(), available.Height())
                                              : CSize(available.Width(), rect.Height());
    SetWindowPos(NULL, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TkCustomToolBar::UpdateHostBand(TkReBar* rebar, CSize size)
{
    if (rebar == NULL || !(m_dwExStyle & TKCBRS_EX_STRETCH))
        return;
    for (int band = 0; band < rebar->GetBandCount(); band++) {
        if (rebar->GetBandChild(band) != m_hWnd)
            continue;
        REBARBANDINFOA info = {};
        info.cbSize = sizeof(info);
        info.fMask = RBBIM_CHILDSIZE;
        rebar->SendMessage(RB_GETBANDINFOA, band, (LPARAM)&info);
        info.cyMinChild = size.cy;
        if (size.cx > 0)
            info.cxMinChild = size.cx;
        rebar->SendMessage(RB_SETBANDINFOA, band, (LPARAM)&info);
    }
}

INT_PTR TkCustomToolBar::OnToolHitTest(CPoint point, TOOLINFOA* info) const
{
    INT_PTR hit = TkControlBar::OnToolHitTest(point, info);
    if (hit != -1)
        return hit;
    int index = ButtonHitTest(point.x, point.y, NULL);
    return index < 0 ? -1 : GetButton(index)->OnToolHitTest(point, info);
}

void TkCustomToolBar::OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler)
{
    for (int i = 0; i < GetCount(); i++)
        UpdateButtonFrom(target, i, disableIfNoHandler);
}

void TkCustomToolBar::UpdateButtonFrom(CCmdTarget* target, int index, BOOL disableIfNoHandler)
{
    TkStdBtn* button = GetButton(index);
    if (button->IsSeparator())
        return;
    TkCustomToolCmdUI state(this);
    state.m_pOther = this;
    state.m_nIndexMax = GetCount();
    state.m_nID = button->m_nID;
    state.m_nIndex = index;
    state.DoUpdate(target, button->HasStyle(TKBS_ALWAYS_ENABLED) ? FALSE : disableIfNoHandler);
}

void TkCustomToolBar::UpdateButton(int index)
{
    CWnd* owner = GetOwnerWindow();
    CFrameWnd* frame = dynamic_cast<CFrameWnd*>(owner);
    if (frame == NULL && owner != NULL)
        frame = owner->GetParentFrame();
    if (frame != NULL)
        UpdateButtonFrom(frame, index, frame->m_bAutoMenuEnable);
}

void TkCustomToolBar::OpenMenuButton(TkStdBtn* button, DWORD_PTR value1, DWORD_PTR value2)
{
    UpdateHotTracking(FALSE);
    button->SendNotification(-2120, value1, value2);
}

void TkCustomToolBar::OnBarStyleChange(DWORD oldStyle, DWORD newStyle)
{
    TkControlBar::OnBarStyleChange(oldStyle, newStyle);
    for (int i = 0; i < GetCount(); i++)
        GetButton(i)->BarStyleChanged(newStyle);
}

void TkCustomToolBar::GetExtraBarInfo(TkControlBarInfo* info)
{
    // A record being saved has no extra part yet; the manager makes it.
    if (info->m_pExtraInfo == NULL && m_pManager != NULL)
        info->m_pExtraInfo = m_pManager->CreateControlBarInfoEx(info);
    TkCustomToolBarInfoEx* own = dynamic_cast<TkCustomToolBarInfoEx*>(info->m_pExtraInfo);
    if (own != NULL)
        GetBarInfoEx(own);
}

void TkCustomToolBar::SetExtraBarInfo(TkControlBarInfo* info, CFrameWnd*)
{
    const TkCustomToolBarInfoEx* own = dynamic_cast<TkCustomToolBarInfoEx*>(info->m_pExtraInfo);
    if (own != NULL)
        SetBarInfoEx(own);
}

void TkCustomToolBar::GetBarInfoEx(TkCustomToolBarInfoEx* info)
{
    GetWindowText(info->m_strTitle);
    info->m_arrButtons.DeleteAll();
    for (int i = 0; i < GetCount(); i++) {
        BYTE size = 0;
        const BYTE* data = NULL;
        GetButton(i)->GetBtnData(&size, &data);
        info->m_arrButtons.AddInfo(GetButtonID(i), data, data != NULL ? size : 0);
    }
}

void TkCustomToolBar::SetBarInfoEx(const TkCustomToolBarInfoEx* info)
{
    CArray<UINT, UINT> ids;
    for (int i = 0; i < info->m_arrButtons.GetSize(); i++)
        ids.Add(info->m_arrButtons.GetInfo(i)->m_nID);
    SetButtons(ids.GetData(), (int)ids.GetSize());
    // Records and buttons pair up in order by id; buttons a bar adds of its
    // own (a menu bar's caption buttons) are passed over.
    int button = 0;
    for (int i = 0; i < info->m_arrButtons.GetSize(); i++) {
        const TkBtnInfo* saved = info->m_arrButtons.GetInfo(i);
        while (button < GetCount() && GetButtonID(button) != saved->m_nID)
            button++;
        if (button == GetCount())
            break;
        if (saved->m_nDataSize > 0)
            GetButton(button)->SetBtnData(saved->m_nDataSize, saved->m_pData);
        button++;
    }
    if (!info->m_strTitle.IsEmpty())
        SetWindowText(info->m_strTitle);
}
