// A view's print job over Win32 printing, where Wine offers no printer and
// refuses documents on other devices: each failure is told once, and the
// view's printing handlers still pair up.
#include "tests/support/TestFramework.h"
#include "tests/support/MessageBoxScript.h"

#include <afxwin.h>

#include "platform/mfc/PrintInfo.h"

#include <string>

namespace
{
class CRecordingView : public CView
{
public:
    void OnDraw(CDC*) override {}
    void OnBeginPrinting(CDC*, CPrintInfo* info) override
    {
        m_calls += "begin ";
        info->SetMaxPage(3);
    }
    void OnPrint(CDC*, CPrintInfo* info) override { m_calls += "page" + std::to_string(info->m_nCurPage) + " "; }
    void OnEndPrinting(CDC*, CPrintInfo*) override { m_calls += "end"; }
    std::string m_calls;
};

const char kNoPrinter[] = "No printer is installed. Install a printer to print or preview.";

TEST(ViewPrintTest, WithoutAPrinterPreparingSaysSoAndStops)
{
    for (BOOL preview : {FALSE, TRUE})
    {
        CRecordingView* view = new CRecordingView;
        CPrintInfo info;
        info.m_bPreview = preview;
        CMessageBoxScript boxes;
        boxes.Then(IDOK);
        EXPECT_FALSE(view->DoPreparePrinting(&info));
        EXPECT_EQ(NULL, info.m_hPrinterDC);
        ASSERT_EQ(1u, boxes.Shown().size());
        EXPECT_EQ(kNoPrinter, boxes.Shown()[0].text);
        view->OnFilePrint();
        view->OnFilePrintPreview();
        EXPECT_EQ(3u, boxes.Shown().size());
        EXPECT_EQ("", view->m_calls);
        delete view;
    }
}

TEST(ViewPrintTest, ARefusedDocumentIsToldAndPrintsNoPage)
{
    CRecordingView* view = new CRecordingView;
    CPrintInfo info;
    CDC screen;
    ASSERT_TRUE(screen.CreateDC("DISPLAY", NULL, NULL, NULL));
    CMessageBoxScript boxes;
    boxes.Then(IDOK);
    EXPECT_FALSE(view->PrintPages(&screen, &info));
    EXPECT_EQ("begin end", view->m_calls);
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ("Printing failed; the document was not printed completely.", boxes.Shown()[0].text);
    delete view;
}
}
