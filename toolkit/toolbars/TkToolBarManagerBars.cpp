// TkToolBarManager: the bars themselves: the built-in definitions, the bars
// made from them, from a saved layout or for the user, and finding bars.
#include "toolkit/toolbars/TkToolBarManager.h"

#include "toolkit/bars/TkDockSite.h"
#include "toolkit/toolbars/TkBmpMgr.h"
#include "toolkit/toolbars/TkCustomToolBar.h"
#include "toolkit/toolbars/TkCustomToolBarInfoEx.h"

namespace {

// User bars are looked for below this id; the menu bar holds the last one.
const UINT kUserBarIdLimit = 0xE900;
const DWORD kDockAnySide = CBRS_ALIGN_ANY;

}  // namespace

// Showing, floating and docking go through the toolkit frame's own docking
// where the frame has it.
void TkToolBarManager::ShowBar(CControlBar* bar, BOOL show)
{
    CFrameWnd* frame = GetFrameWnd();
    TkDockSite* site = TkDockSite::FromFrame(frame);
    if (site != NULL)
        site->ShowControlBar(bar, show, FALSE);
    else
        frame->ShowControlBar(bar, show, FALSE);
}

void TkToolBarManager::FloatBar(CControlBar* bar, CPoint point)
{
    CFrameWnd* frame = GetFrameWnd();
    TkDockSite* site = TkDockSite::FromFrame(frame);
    if (site != NULL)
        site->FloatControlBar(bar, point, CBRS_ALIGN_TOP);
    else
        frame->FloatControlBar(bar, point, CBRS_ALIGN_TOP);
}

void TkToolBarManager::DockBarAt(CControlBar* bar, UINT dockBarId, LPCRECT rect)
{
    CFrameWnd* frame = GetFrameWnd();
    TkDockSite* site = TkDockSite::FromFrame(frame);
    if (site != NULL)
        site->DockControlBar(bar, static_cast<CDockBar*>(frame->GetControlBar(dockBarId)), rect);
    else
        frame->DockControlBar(bar, dockBarId, rect);
}

void TkToolBarManager::DefineDefaultToolBar(UINT id, LPCSTR title, int count, const UINT* ids,
                                            DWORD alignment, UINT dockBarId, UINT besideId,
                                            BOOL docked, BOOL visible)
{
    std::unique_ptr<TkDefaultToolBarInfo> info(new TkDefaultToolBarInfo);
    info->nID = id;
    info->strTitle = title != NULL ? title : "";
    info->nCount = ids != NULL ? count : 0;
    info->pIds = ids;
    info->dwAlignment = alignment;
    info->nDockBarId = dockBarId;
    info->nBesideId = besideId;
    info->bDocked = docked;
    info->bVisible = visible;
    m_definitions.push_back(std::move(info));
}

BOOL TkToolBarManager::DefineDefaultToolBar(UINT id, LPCSTR title, UINT resourceId,
                                            DWORD alignment, UINT dockBarId, UINT besideId,
                                            BOOL docked, BOOL visible)
{
    CSize image;
    CDWordArray all;
    if (!TkReadToolBarResource(MAKEINTRESOURCEA(resourceId), &image, all))
        return FALSE;
    // The definition keeps its ids by pointer, so the manager keeps them.
    CArray<UINT, UINT>* ids = new CArray<UINT, UINT>;
    m_resourceIds.emplace_back(ids);
    for (int i = 0; i < all.GetSize(); i++)
        ids->Add(all[i]);
    DefineDefaultToolBar(id, title, (int)ids->GetSize(), ids->GetData(), alignment, dockBarId,
                         besideId, docked, visible);
    return TRUE;
}

const TkDefaultToolBarInfo* TkToolBarManager::FindDefinition(UINT id) const
{
    for (const auto& definition : m_definitions) {
        if (definition->nID == id)
            return definition.get();
    }
    return NULL;
}

BOOL TkToolBarManager::GetDefaultButtons(UINT id, const UINT** ids, int* count) const
{
    const TkDefaultToolBarInfo* info = FindDefinition(id);
    if (info == NULL || ids == NULL || count == NULL)
        return FALSE;
    *ids = info->pIds;
    *count = info->nCount;
    return TRUE;
}

void TkToolBarManager::SetDefaultMenuBarButtons(int count, const UINT* ids)
{
    m_menuBarButtons.RemoveAll();
    for (int i = 0; ids != NULL && i < count; i++)
        m_menuBarButtons.Add(ids[i]);
}

DWORD TkToolBarManager::GetBarTypeID(CControlBar* bar)
{
    if (bar != NULL && bar->IsKindOf(RUNTIME_CLASS(TkCustomToolBar)))
        return IsMenuBar(bar) ? kTkMenuBarType : kTkCustomToolBarType;
    return TkControlBarManager::GetBarTypeID(bar);
}

TkControlBarInfoEx* TkToolBarManager::CreateControlBarInfoEx(TkControlBarInfo* info)
{
    if (info != NULL && (info->m_dwTypeID == kTkCustomToolBarType || info->m_dwTypeID == kTkMenuBarType))
        return new TkCustomToolBarInfoEx;
    return TkControlBarManager::CreateControlBarInfoEx(info);
}

TkCustomToolBar* TkToolBarManager::NewBar()
{
    CObject* object = m_pBarClass != NULL ? m_pBarClass->CreateObject() : NULL;
    if (object == NULL)
        return NULL;
    if (!object->IsKindOf(RUNTIME_CLASS(TkCustomToolBar))) {
        delete object;
        return NULL;
    }
    return static_cast<TkCustomToolBar*>(object);
}

BOOL TkToolBarManager::CreateBar(TkCustomToolBar* bar, LPCSTR title, UINT id)
{
    bar->SetToolBarManager(this);
    bar->SetBmpMgr(m_pBmpMgr);
    if (m_pOwner != NULL)
        bar->SetOwner(m_pOwner);
    if (!bar->Create(GetFrameWnd(), title, GetBarStyle(), GetBarExStyle(), id))
        return FALSE;
    bar->ResizeButtons();
    return TRUE;
}

TkCustomToolBar* TkToolBarManager::MakeBar(LPCSTR title, UINT id)
{
    TkCustomToolBar* bar = NewBar();
    if (bar == NULL)
        return NULL;
    if (!CreateBar(bar, title, id)) {
        delete bar;
        return NULL;
    }
    bar->m_bAutoDelete = TRUE;
    return bar;
}

CControlBar* TkToolBarManager::DynCreateControlBar(TkControlBarInfo* info)
{
    if (info == NULL || GetFrameWnd() == NULL)
        return NULL;
    if (info->m_dwTypeID == kTkMenuBarType)
        return CreateMenuBar(info->m_nBarID) ? GetFrameMenuBar() : NULL;
    if (info->m_dwTypeID != kTkCustomToolBarType)
        return TkControlBarManager::DynCreateControlBar(info);
    TkCustomToolBar* bar = MakeBar(NULL, info->m_nBarID);
    if (bar == NULL)
        return NULL;
    bar->EnableDocking(kDockAnySide);
    return bar;
}

TkCustomToolBar* TkToolBarManager::CreateUserToolBar(LPCSTR name)
{
    UINT id = FreeUserBarId();
    if (id == 0)
        return NULL;
    CString title = name != NULL ? name : "";
    if (title.IsEmpty()) {
        CString format;
        format.LoadString(IDS_TK_USER_BAR_TITLE);
        title.Format(format, (int)(id - (kTkFirstUserBarId - 1)));
    }
    TkCustomToolBar* bar = MakeBar(title, id);
    if (bar == NULL)
        return NULL;
    bar->SetCustomizeMode(m_bBarsCustomizing);
    bar->EnableDocking(kDockAnySide);
    return bar;
}

// The lowest user id no custom bar of the frame holds. Ids stop short of
// the menu bar's even on a frame without one: a bar there would not count
// as the user's.
UINT TkToolBarManager::FreeUserBarId()
{
    CArray<TkCustomToolBar*, TkCustomToolBar*> bars;
    GetCustomBars(bars);
    for (UINT id = kTkFirstUserBarId; id <= kTkLastUserBarId && id < kUserBarIdLimit; id++) {
        BOOL used = FALSE;
        for (int i = 0; i < bars.GetSize() && !used; i++)
            used = bars[i]->GetSafeHwnd() != NULL && bars[i]->GetDlgCtrlID() == (int)id;
        if (!used)
            return id;
    }
    return 0;
}

TkCustomToolBar* TkToolBarManager::FindBarById(UINT id)
{
    CArray<TkCustomToolBar*, TkCustomToolBar*> bars;
    GetCustomBars(bars);
    for (int i = 0; i < bars.GetSize(); i++) {
        if (bars[i]->GetSafeHwnd() != NULL && bars[i]->GetDlgCtrlID() == (int)id)
            return bars[i];
    }
    return NULL;
}

TkCustomToolBar* TkToolBarManager::FindBarFromRect(const CRect& rect)
{
    CArray<TkCustomToolBar*, TkCustomToolBar*> bars;
    GetCustomBars(bars);
    for (int i = 0; i < bars.GetSize(); i++) {
        TkCustomToolBar* bar = bars[i];
        if (bar->GetSafeHwnd() == NULL || !bar->IsWindowVisible())
            continue;
        // A floating bar counts with its mini frame (the docking frame
        // would be the main window).
        CWnd* wnd = bar;
        if (bar->IsFloating() && bar->GetParentFrame() != NULL)
            wnd = bar->GetParentFrame();
        CRect window, common;
        wnd->GetWindowRect(&window);
        if (common.IntersectRect(&window, &rect))
            return bar;
    }
    return NULL;
}

void TkToolBarManager::BindToolBars()
{
    CArray<TkCustomToolBar*, TkCustomToolBar*> bars;
    GetCustomBars(bars);
    if (bars.GetSize() == 0) {
        CreateDefaultToolBars();
        return;
    }
    for (int i = 0; i < bars.GetSize(); i++) {
        bars[i]->SetToolBarManager(this);
        bars[i]->SetBmpMgr(m_pBmpMgr);
        if (bars[i]->GetSafeHwnd() != NULL)
            bars[i]->Invalidate();
    }
}

void TkToolBarManager::CreateDefaultToolBars()
{
    CFrameWnd* frame = GetFrameWnd();
    if (frame == NULL)
        return;
    CreateDefaultMenuBar();
    CArray<TkCustomToolBar*, TkCustomToolBar*> made;
    for (const auto& definition : m_definitions) {
        const TkDefaultToolBarInfo& info = *definition;
        TkCustomToolBar* bar = MakeBar(info.strTitle, info.nID);
        if (bar == NULL) {
            made.Add(NULL);
            continue;
        }
        bar->SetButtons(info.pIds, info.nCount);
        bar->EnableDocking(info.dwAlignment);
        DockDefaultBar(bar, info);
        made.Add(bar);
    }
    frame->RecalcLayout();
    for (int i = 0; i < made.GetSize(); i++) {
        if (made[i] == NULL)
            continue;
        if (!m_definitions[i]->bVisible)
            ShowBar(made[i], FALSE);
        if (!m_definitions[i]->bDocked && made[i]->m_pDockContext != NULL)
            made[i]->m_pDockContext->ToggleDocking();
    }
}

// Beside another bar: docked into that bar's rectangle moved by a pixel
// along its dock bar, so it lands right after it.
void TkToolBarManager::DockDefaultBar(TkCustomToolBar* bar, const TkDefaultToolBarInfo& info)
{
    CFrameWnd* frame = GetFrameWnd();
    TkCustomToolBar* beside = info.nBesideId != 0 ? FindBarById(info.nBesideId) : NULL;
    if (beside == NULL) {
        DockBarAt(bar, info.nDockBarId, NULL);
        return;
    }
    frame->RecalcLayout();
    CRect rect;
    beside->GetWindowRect(&rect);
    BOOL alongX = info.nDockBarId == AFX_IDW_DOCKBAR_TOP || info.nDockBarId == AFX_IDW_DOCKBAR_BOTTOM;
    rect.OffsetRect(alongX ? 1 : 0, alongX ? 0 : 1);
    DockBarAt(bar, info.nDockBarId, &rect);
}
