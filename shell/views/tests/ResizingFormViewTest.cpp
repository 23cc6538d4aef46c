// A resizing form view in a frame: its registered controls follow the
// view's size, and the size is kept in the profile when asked.
#include "tests/support/views/ViewFixture.h"

#include "shell/views/ResizingFormView.h"

namespace {

const UINT kForm = 9001;
enum { kRight = 1, kStretched = 2, kStays = 3 };

class CTestResizingView : public CResizingFormView
{
    DECLARE_DYNCREATE(CTestResizingView)
public:
    CTestResizingView() : CResizingFormView(kForm)
    {
        AddControl(kRight, kMoveRight);
        AddControl(kStretched, kStretchRight | kStretchDown);
        AddControl(kStays, 0);
        m_rememberSize = TRUE;
    }
    CRect Place(int id)
    {
        CRect rect;
        GetDlgItem(id)->GetWindowRect(&rect);
        ScreenToClient(&rect);
        return rect;
    }
};

IMPLEMENT_DYNCREATE(CTestResizingView, CResizingFormView)

class CPlainDoc : public CDocument
{
public:
    CPlainDoc() { m_bAutoDelete = FALSE; }
};

TEST(ResizingFormViewTest, ControlsFollowTheSizeAndTheSizeIsKept)
{
    CViewsTestApp app;
    CPlainDoc doc;
    CRect right, stretched, stays;
    {
        CViewFrame frame(doc, RUNTIME_CLASS(CTestResizingView));
        CTestResizingView* view = static_cast<CTestResizingView*>(frame.GetView());
        ASSERT_TRUE(view);
        right = view->Place(kRight);
        stretched = view->Place(kStretched);
        stays = view->Place(kStays);
        CRect window;
        frame.GetFrame()->GetWindowRect(&window);
        frame.GetFrame()->SetWindowPos(NULL, 0, 0, window.Width() + 50, window.Height() + 40,
                                       SWP_NOMOVE | SWP_NOZORDER);
        PumpMessages();
        right.OffsetRect(50, 0);
        stretched.right += 50;
        stretched.bottom += 40;
        EXPECT_EQ(right, view->Place(kRight));
        EXPECT_EQ(stretched, view->Place(kStretched));
        EXPECT_EQ(stays, view->Place(kStays));
        view->GetWindowRect(&window);
        stays = window;
    }
    CString section;
    section.Format("%X", kForm);
    EXPECT_EQ(stays.Width(), static_cast<int>(app.GetProfileInt(section, "CX", 0)));
    EXPECT_EQ(stays.Height(), static_cast<int>(app.GetProfileInt(section, "CY", 0)));
}

} // namespace
