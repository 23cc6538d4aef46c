#include "toolkit/toolbars/TkBtnGroup.h"

#include "toolkit/toolbars/TkBmpMgr.h"
#include "toolkit/toolbars/TkBtnMap.h"
#include "toolkit/toolbars/TkCustomizeToolBar.h"
#include "toolkit/toolbars/TkMenuListBox.h"
#include "toolkit/toolbars/TkTBMenuBtn.h"
#include "toolkit/toolbars/TkToolBarManager.h"

namespace {

// Child, visible, top alignment, dynamic size; tool tips and fly-by add their bits.
const DWORD kCategoryBarStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP | CBRS_SIZE_DYNAMIC;
// Child with a vertical scroll bar and a border, keeping strings, any height.
const DWORD kMenuListStyle = WS_CHILD | WS_VSCROLL | WS_BORDER | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT;

BOOL MakesMenuButton(const TkBtnMapEntry* entry)
{
    return entry != NULL && entry->pFactory == &TkTBMenuBtn::classTkTBMenuBtn;
}

}  // namespace

const TkBtnMapEntry* TkFindMenuBtnEntry(const TkToolBarManager* manager, UINT id)
{
    const TkBtnMapEntry* first = TkFindBtnMapEntry(manager->GetFirstButtonMap(), NULL, id);
    if (MakesMenuButton(first))
        return first;
    const TkBtnMapEntry* second = TkFindBtnMapEntry(NULL, manager->GetSecondButtonMap(), id);
    return MakesMenuButton(second) ? second : NULL;
}

TkBtnGroup::TkBtnGroup(LPCSTR title, int count, const UINT* ids)
    : m_pWnd(NULL), m_strTitle(title != NULL ? title : ""), m_nCount(ids != NULL ? count : 0),
      m_pIds(ids)
{
}

TkBtnGroup::~TkBtnGroup()
{
    if (m_pWnd == NULL)
        return;
    if (m_pWnd->GetSafeHwnd() != NULL)
        m_pWnd->DestroyWindow();
    delete m_pWnd;
}

void TkBtnGroup::FitToWidth(const CRect&)
{
}

void TkBtnGroup::Activate(BOOL)
{
}

BOOL TkTBBtnGroup::Create(CWnd* parent, TkToolBarManager* manager, UINT id)
{
    if (manager == NULL)
        return FALSE;
    TkCustomizeToolBar* bar = new TkCustomizeToolBar;
    m_pWnd = bar;
    bar->SetToolBarManager(manager);
    bar->SetBmpMgr(manager->GetBmpMgr());
    bar->SetOwner(manager->GetFrameWnd());
    DWORD style = kCategoryBarStyle | (manager->IsFlyByEnabled() ? CBRS_FLYBY : 0) |
                  (manager->IsToolTipsEnabled() ? CBRS_TOOLTIPS : 0);
    if (!bar->Create(parent, m_strTitle, style, manager->GetBarExStyle(), id))
        return FALSE;
    bar->ResizeButtons();
    bar->SetButtons(m_pIds, m_nCount);
    return bar->GetCount() > 0;
}

void TkTBBtnGroup::FitToWidth(const CRect& rect)
{
    if (m_pWnd != NULL)
        static_cast<TkCustomizeToolBar*>(m_pWnd)->FitToWidth(rect);
}

void TkTBBtnGroup::Activate(BOOL on)
{
    if (m_pWnd != NULL)
        static_cast<TkCustomizeToolBar*>(m_pWnd)->SetCustomizeMode(on);
}

BOOL TkMenuBtnGroup::Create(CWnd* parent, TkToolBarManager* manager, UINT id)
{
    TkMenuListBox* list = new TkMenuListBox(manager);
    m_pWnd = list;
    if (manager == NULL ||
        !list->CreateEx(WS_EX_CLIENTEDGE, "LISTBOX", NULL, kMenuListStyle, CRect(0, 0, 0, 0), parent, id))
        return FALSE;
    list->SetFont(parent->GetFont(), FALSE);
    for (int i = 0; i < m_nCount; i++) {
        const TkBtnMapEntry* entry = TkFindMenuBtnEntry(manager, m_pIds[i]);
        if (entry == NULL || entry->data.pszText == NULL || entry->data.pszText[0] == 0)
            continue;
        CString text = entry->data.pszText;
        int mnemonic = text.Find('&');
        if (mnemonic >= 0)
            text.Delete(mnemonic);
        int index = list->AddString(text);
        if (index >= 0)
            list->SetItemData(index, m_pIds[i]);
    }
    return TRUE;
}
