#include "tests/support/TestFramework.h"
#include "tests/support/Waits.h"
#include "platform/mfc/tests/ViewsTest.h"

#include <afxwin.h>

namespace
{
class CDiscDoc : public CDocument
{
    DECLARE_DYNCREATE(CDiscDoc)
public:
    CString m_name = "Blue Train";
};
IMPLEMENT_DYNCREATE(CDiscDoc, CDocument)

const CSize kTotal(1000, 800);

class CMapView : public CScrollView
{
    DECLARE_DYNCREATE(CMapView)
public:
    void OnInitialUpdate() override { SetScrollSizes(MM_TEXT, kTotal); }
    void OnDraw(CDC*) override {}
    using CScrollView::OnScroll;
};
IMPLEMENT_DYNCREATE(CMapView, CScrollView)

class CDiscForm : public CFormView
{
    DECLARE_DYNCREATE(CDiscForm)
public:
    CDiscForm() : CFormView(IDD_DISC_FORM) {}
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, IDC_DISC_NAME, static_cast<CDiscDoc*>(GetDocument())->m_name);
    }
};
IMPLEMENT_DYNCREATE(CDiscForm, CFormView)

// A frame with one view of viewClass on a new document, client size 200 x 150.
class ViewTest : public ::testing::Test
{
protected:
    CView* Open(CRuntimeClass* viewClass)
    {
        m_doc = new CDiscDoc;
        CCreateContext context;
        context.m_pCurrentDoc = m_doc;
        context.m_pNewViewClass = viewClass;
        m_frame = new CFrameWnd;
        if (!m_frame->Create(NULL, "Views", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 300), NULL,
                             NULL, 0, &context))
        {
            m_frame = NULL;
            return NULL;
        }
        CRect window, client;
        m_frame->GetWindowRect(window);
        m_frame->GetClientRect(client);
        m_frame->SetWindowPos(NULL, 0, 0, 200 + window.Width() - client.Width(),
                              150 + window.Height() - client.Height(), SWP_NOZORDER);
        m_frame->InitialUpdateFrame(m_doc, TRUE);
        PumpMessages();
        return m_frame->GetActiveView();
    }

    void TearDown() override
    {
        if (m_frame)
            m_frame->DestroyWindow();
        PumpMessages();
    }

    CDiscDoc* m_doc = NULL;
    CFrameWnd* m_frame = NULL;
};

TEST_F(ViewTest, ScrollViewKeepsItsPositionInsideTheTotal)
{
    CMapView* view = static_cast<CMapView*>(Open(RUNTIME_CLASS(CMapView)));
    ASSERT_NE(nullptr, view);
    EXPECT_EQ(kTotal, view->GetTotalSize());
    EXPECT_TRUE(view->GetStyle() & WS_VSCROLL);
    EXPECT_TRUE(view->GetStyle() & WS_HSCROLL);
    CRect client;
    view->GetClientRect(client);

    struct
    {
        CPoint target;
        CPoint expected;
    } cases[] = {
        { CPoint(500, 300), CPoint(500, 300) },
        { CPoint(5000, 5000), CPoint(kTotal.cx - client.Width(), kTotal.cy - client.Height()) },
        { CPoint(-10, 20), CPoint(0, 20) },
    };
    for (const auto& c : cases)
    {
        view->ScrollToPosition(c.target);
        EXPECT_EQ(c.expected, view->GetScrollPosition());
    }

    // A line is a tenth of the window; nothing moves past the top.
    view->ScrollToPosition(CPoint(0, 0));
    view->SendMessage(WM_VSCROLL, SB_LINEDOWN);
    EXPECT_EQ(CPoint(0, client.Height() / 10), view->GetScrollPosition());
    view->SendMessage(WM_VSCROLL, SB_PAGEDOWN);
    EXPECT_EQ(CPoint(0, client.Height() / 10 + client.Height()), view->GetScrollPosition());
    view->SendMessage(WM_HSCROLL, SB_BOTTOM);
    EXPECT_EQ(kTotal.cx - client.Width(), view->GetScrollPosition().x);
    EXPECT_FALSE(view->OnScroll(MAKEWORD(SB_LINEDOWN, 0xFF), 0));
    view->SendMessage(WM_VSCROLL, SB_TOP);
    EXPECT_EQ(0, view->GetScrollPosition().y);

    // Drawing happens at fixed logical places: the origin follows the position.
    view->ScrollToPosition(CPoint(30, 40));
    CClientDC dc(view);
    view->OnPrepareDC(&dc);
    EXPECT_EQ(CPoint(-30, -40), dc.GetViewportOrg());

    // A total that fits needs no bars and shows the start.
    view->SetScrollSizes(MM_TEXT, CSize(50, 50));
    EXPECT_EQ(CPoint(0, 0), view->GetScrollPosition());
    EXPECT_FALSE(view->GetStyle() & WS_VSCROLL);
    EXPECT_FALSE(view->GetStyle() & WS_HSCROLL);
}

TEST_F(ViewTest, ScrollSizesInOtherMappingModesBecomeDeviceUnits)
{
    CMapView* view = static_cast<CMapView*>(Open(RUNTIME_CLASS(CMapView)));
    ASSERT_NE(nullptr, view);
    // Hundredths of an inch: ten inches each way.
    view->SetScrollSizes(MM_LOENGLISH, CSize(1000, 1000));
    int mapMode = 0;
    SIZE total, page, line;
    view->GetDeviceScrollSizes(mapMode, total, page, line);
    CClientDC dc(view);
    EXPECT_EQ(MM_LOENGLISH, mapMode);
    // The system's metric mapping may round a pixel away.
    EXPECT_NEAR(10 * dc.GetDeviceCaps(LOGPIXELSX), total.cx, 1);
    EXPECT_NEAR(10 * dc.GetDeviceCaps(LOGPIXELSY), total.cy, 1);
}

TEST_F(ViewTest, FormViewShowsItsTemplateAndExchangesData)
{
    CDiscForm* form = static_cast<CDiscForm*>(Open(RUNTIME_CLASS(CDiscForm)));
    ASSERT_NE(nullptr, form);
    EXPECT_EQ(m_doc, form->GetDocument());
    EXPECT_EQ(AFX_IDW_PANE_FIRST, (UINT)form->GetDlgCtrlID());
    EXPECT_EQ(m_frame->m_hWnd, ::GetParent(form->m_hWnd));
    EXPECT_TRUE(form->GetStyle() & WS_CHILD);
    EXPECT_NE(WS_CAPTION, form->GetStyle() & WS_CAPTION);
    EXPECT_FALSE(form->GetStyle() & WS_POPUP);

    // The frame lays the form out as its pane.
    CRect client, placed;
    m_frame->GetClientRect(client);
    form->GetWindowRect(placed);
    m_frame->ScreenToClient(placed);
    EXPECT_EQ(client, placed);

    // The initial update loaded the document into the controls.
    CString text;
    form->GetDlgItemText(IDC_DISC_NAME, text);
    EXPECT_STREQ("Blue Train", text);
    form->SetDlgItemText(IDC_DISC_NAME, "Kind of Blue");
    EXPECT_TRUE(form->UpdateData(TRUE));
    EXPECT_STREQ("Kind of Blue", m_doc->m_name);
}

TEST_F(ViewTest, EditViewIsAnEditControl)
{
    CEditView* view = static_cast<CEditView*>(Open(RUNTIME_CLASS(CEditView)));
    ASSERT_NE(nullptr, view);
    char className[16] = "";
    GetClassNameA(view->m_hWnd, className, sizeof(className));
    EXPECT_STRCASEEQ("Edit", className);
    EXPECT_TRUE(view->GetStyle() & ES_MULTILINE);
    CEdit& edit = view->GetEditCtrl();
    edit.SetWindowText("first line\r\n");
    int end = edit.GetWindowTextLength();
    edit.SetSel(end, end);
    edit.ReplaceSel("second line");
    EXPECT_EQ(2, edit.GetLineCount());
    // The control paints itself: repainting leaves its text alone.
    view->UpdateWindow();
    CString text;
    view->GetWindowText(text);
    EXPECT_STREQ("first line\r\nsecond line", text);
}
}
