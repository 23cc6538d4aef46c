#include "library/views/ListFormView.h"
#include "library/views/ViewResources.h"

#include <algorithm>

namespace {

const COLORREF kCellMask = 0xE5E5FF;
const COLORREF kHeaderMask = RGB(255, 0, 255);
const int kCellImageWidth = 16;
const int kHeaderImageWidth = 14;
const int kScrollZoneTop = 20;
const int kScrollZoneBottom = 5;
const int kScrollStep = 20;

} // namespace

IMPLEMENT_DYNAMIC(CListFormView, CBannerFormView)

BEGIN_MESSAGE_MAP(CListFormView, CBannerFormView)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CListFormView::CListFormView(const char* caption, const char* listName, const ListColumn* columns,
                             int columnCount, const int* shownIds, int shownCount, UINT templateId)
    : CBannerFormView(templateId, caption), m_listName(listName), m_columns(columns),
      m_columnCount(columnCount), m_shownIds(shownIds), m_shownCount(shownCount)
{
}

void CListFormView::OnInitialUpdate()
{
    m_list.SubclassDlgItem(IDC_LIST, this);
    m_list.AttachHeaderAndTip();
    if (KeepsRowData())
        m_list.KeepRowData();
    m_cellImages.Create(IDB_CELL_IMAGES, kCellImageWidth, 1, kCellMask);
    m_headerImages.Create(IDB_HEADER_IMAGES, kHeaderImageWidth, 1, kHeaderMask);
    m_list.SetCellImageList(&m_cellImages);
    m_list.SetHeaderImageList(&m_headerImages);
    m_list.EnableInPlaceEdit(false);
    m_list.m_pfnCellTextHandler = static_cast<LxCellTextHandler>(&CListFormView::CellText);
    DefineColumns();
    m_list.SetupColumns();
    ApplyListLook();
    CBannerFormView::OnInitialUpdate();
}

void CListFormView::DefineColumns()
{
    CLxColumnManager* manager = m_list.CreateColumnManager();
    for (int i = 0; i < m_columnCount; ++i)
    {
        const ListColumn& column = m_columns[i];
        DWORD format = column.format | (column.headerImage >= 0 ? kLxColHeaderImage : 0);
        manager->DefineColumn(column.id, column.label, "", column.alignment, column.width, format,
                              column.headerImage, column.description);
    }
    manager->SetDefaultColumns(m_shownCount, m_shownIds);
    manager->LoadFromProfile(m_listName);
}

void CListFormView::ApplyListLook()
{
    CViewsHost* host = Host();
    if (!host)
        return;
    m_list.SetListFont(host->GetListFont());
    m_list.SetTextColor(host->GetListTextColor());
    m_list.Invalidate();
}

void CListFormView::OnUpdate(CView* sender, LPARAM hint, CObject* hintObject)
{
    if (hint == kViewHintListLook)
        ApplyListLook();
    else
        CBannerFormView::OnUpdate(sender, hint, hintObject);
}

void CListFormView::Layout(int cx, int cy)
{
    if (!m_list.m_hWnd)
        return;
    int left = m_banner.GetWidth();
    m_list.MoveWindow(left, 0, std::max(0, cx - left), cy);
}

void CListFormView::ScrollNearEdges(CPoint point)
{
    CRect client;
    GetClientRect(&client);
    if (point.y < client.top + kScrollZoneTop)
        m_list.Scroll(CSize(0, -kScrollStep));
    else if (point.y > client.bottom - kScrollZoneBottom)
        m_list.Scroll(CSize(0, kScrollStep));
}

// The list keeps its key notifications to itself.
BOOL CListFormView::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_DELETE && msg->hwnd == m_list.m_hWnd)
    {
        OnDeleteKey();
        return TRUE;
    }
    return CBannerFormView::PreTranslateMessage(msg);
}

void CListFormView::TrackMenu(UINT menuId, CPoint screenPoint, CWnd* owner)
{
    CMenu menu;
    if (!owner || !menu.LoadMenu(menuId))
        return;
    menu.GetSubMenu(0)->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, screenPoint.x, screenPoint.y, owner);
}

void CListFormView::CellText(int row, int columnId, DWORD_PTR, CString& text)
{
    text.Empty();
    GetCellText(row, columnId, text);
}

void CListFormView::OnDestroy()
{
    CLxColumnManager* manager = m_list.GetColumnManager();
    if (manager && m_list.m_hWnd)
    {
        manager->ReadFromHeader(m_list);
        manager->SaveToProfile(m_listName);
    }
    CBannerFormView::OnDestroy();
}
