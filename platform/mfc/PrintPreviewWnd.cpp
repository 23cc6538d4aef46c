#include "platform/mfc/PrintPreviewWnd.h"
#include "platform/mfc/Dc.h"
#include "platform/mfc/PrintInfo.h"
#include "platform/mfc/View.h"
#include "platform/mfc/WindowDc.h"
#include "platform/mfc/WndMessageMap.h"

#include <algorithm>

namespace
{
// The strip of buttons above the page, and the room around the page.
const int kBarHeight = 30;
const int kPageGap = 10;

struct PreviewButton
{
    UINT id;
    const char* text;
    int x;
};
const PreviewButton kButtons[] = {
    {ID_PREVIEW_NEXT, "&Next Page", 4},
    {ID_PREVIEW_PREV, "Pre&v Page", 98},
    {ID_PREVIEW_CLOSE, "&Close", 192},
};
const int kButtonWidth = 90;
const int kButtonHeight = 22;
}

BEGIN_MESSAGE_MAP(CPrintPreviewWnd, CWnd)
    ON_WM_PAINT()
    ON_WM_SIZE()
    ON_COMMAND(ID_PREVIEW_NEXT, OnNextPage)
    ON_COMMAND(ID_PREVIEW_PREV, OnPrevPage)
    ON_COMMAND(ID_PREVIEW_CLOSE, OnPreviewClose)
END_MESSAGE_MAP()

CPrintPreviewWnd::CPrintPreviewWnd(CView* view, std::unique_ptr<CPrintInfo> info)
    : m_view(view), m_viewWnd(view->m_hWnd), m_info(std::move(info)), m_picture(NULL), m_page(1),
      m_pageCount(0)
{
}

CPrintPreviewWnd::~CPrintPreviewWnd()
{
    if (m_picture)
        ::DeleteEnhMetaFile(m_picture);
}

BOOL CPrintPreviewWnd::Create(CWnd* owner)
{
    m_page = m_info->GetMinPage();
    Render();
    if (!m_picture)
        return FALSE;
    CRect rect(0, 0, 640, 800);
    if (owner)
        owner->GetWindowRect(&rect);
    LPCSTR windowClass = AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW, ::LoadCursorA(NULL, (LPCSTR)IDC_ARROW),
                                             (HBRUSH)(COLOR_APPWORKSPACE + 1));
    if (!CreateEx(0, windowClass, "Print Preview", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, rect.left, rect.top,
                  rect.Width(), rect.Height(), owner ? owner->m_hWnd : NULL, NULL))
        return FALSE;
    HGDIOBJ font = ::GetStockObject(DEFAULT_GUI_FONT);
    for (const PreviewButton& button : kButtons)
    {
        HWND control = ::CreateWindowExA(0, "BUTTON", button.text, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
                                         button.x, (kBarHeight - kButtonHeight) / 2, kButtonWidth, kButtonHeight,
                                         m_hWnd, (HMENU)(UINT_PTR)button.id, AfxGetInstanceHandle(), NULL);
        ::SendMessageA(control, WM_SETFONT, (WPARAM)font, FALSE);
    }
    UpdateControls();
    ShowWindow(SW_SHOW);
    return TRUE;
}

void CPrintPreviewWnd::GoToPage(UINT page)
{
    if (!ViewAlive())
    {
        PostMessage(WM_CLOSE);
        return;
    }
    m_page = page;
    Render();
    UpdateControls();
    Invalidate();
}

bool CPrintPreviewWnd::ViewAlive() const
{
    return ::IsWindow(m_viewWnd) && CWnd::FromHandlePermanent(m_viewWnd) == m_view;
}

void CPrintPreviewWnd::Render()
{
    if (m_picture)
        ::DeleteEnhMetaFile(m_picture);
    m_picture = NULL;
    if (!ViewAlive())
        return;
    CDC printer;
    printer.Attach(m_info->m_hPrinterDC);
    m_info->m_rectDraw.SetRect(0, 0, printer.GetDeviceCaps(HORZRES), printer.GetDeviceCaps(VERTRES));
    printer.DPtoLP(&m_info->m_rectDraw);
    m_view->OnBeginPrinting(&printer, m_info.get());
    m_pageCount = m_info->GetMaxPage();
    m_page = std::max(m_info->GetMinPage(), std::min(m_page, m_pageCount));

    // The metafile's frame is the whole paper (in 0.01 mm), so that playing
    // it into the page's rectangle keeps the printer's proportions.
    RECT paper = {0, 0, printer.GetDeviceCaps(HORZSIZE) * 100, printer.GetDeviceCaps(VERTSIZE) * 100};
    HDC recorder = ::CreateEnhMetaFileA(printer.m_hDC, NULL, &paper, NULL);
    if (recorder)
    {
        CDC page;
        page.Attach(recorder);
        m_info->m_nCurPage = m_page;
        m_view->OnPrint(&page, m_info.get());
        page.Detach();
        m_picture = ::CloseEnhMetaFile(recorder);
    }
    m_view->OnEndPrinting(&printer, m_info.get());
    printer.Detach();
}

void CPrintPreviewWnd::UpdateControls()
{
    CString caption;
    caption.Format("Print Preview - Page %u of %u", m_page, m_pageCount);
    SetWindowText(caption);
    ::EnableWindow(::GetDlgItem(m_hWnd, ID_PREVIEW_NEXT), m_page < m_pageCount);
    ::EnableWindow(::GetDlgItem(m_hWnd, ID_PREVIEW_PREV), m_page > m_info->GetMinPage());
}

CRect CPrintPreviewWnd::PageRect() const
{
    CRect area;
    GetClientRect(&area);
    area.top += kBarHeight;
    area.DeflateRect(kPageGap, kPageGap);
    int paperWidth = std::max(1, ::GetDeviceCaps(m_info->m_hPrinterDC, HORZSIZE));
    int paperHeight = std::max(1, ::GetDeviceCaps(m_info->m_hPrinterDC, VERTSIZE));
    int width = std::max(0, area.Width());
    int height = std::max(0, area.Height());
    if (width * paperHeight > height * paperWidth)
        width = MulDiv(height, paperWidth, paperHeight);
    else
        height = MulDiv(width, paperHeight, paperWidth);
    int left = area.left + (area.Width() - width) / 2;
    return CRect(left, area.top, left + width, area.top + height);
}

void CPrintPreviewWnd::OnPaint()
{
    CPaintDC dc(this);
    CRect page = PageRect();
    if (page.IsRectEmpty())
        return;
    ::FillRect(dc.m_hDC, &page, (HBRUSH)::GetStockObject(WHITE_BRUSH));
    ::FrameRect(dc.m_hDC, &page, (HBRUSH)::GetStockObject(BLACK_BRUSH));
    if (m_picture)
        ::PlayEnhMetaFile(dc.m_hDC, m_picture, &page);
}

void CPrintPreviewWnd::OnSize(UINT, int, int)
{
    Invalidate();
}

void CPrintPreviewWnd::OnNextPage()
{
    GoToPage(m_page + 1);
}

void CPrintPreviewWnd::OnPrevPage()
{
    GoToPage(m_page > 1 ? m_page - 1 : 1);
}

BOOL CPrintPreviewWnd::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN)
    {
        switch (msg->wParam)
        {
        case VK_NEXT:
            OnNextPage();
            return TRUE;
        case VK_PRIOR:
            OnPrevPage();
            return TRUE;
        case VK_ESCAPE:
            OnPreviewClose();
            return TRUE;
        }
    }
    return CWnd::PreTranslateMessage(msg);
}

void CPrintPreviewWnd::OnPreviewClose()
{
    DestroyWindow();
}

void CPrintPreviewWnd::PostNcDestroy()
{
    delete this;
}
