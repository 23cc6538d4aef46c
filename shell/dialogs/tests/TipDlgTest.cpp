// The tip of the day dialog under Xvfb: its painting read back as pixels (the
// frame, the shaded band, the bulb on the band's shade, the heading and the
// wrapped tip), "Next tip" repainting the tip, the text area's brush, and
// modal runs driven by messages posted from OnInitDialog.
#include "tests/support/TestFramework.h"

#include "tests/support/MessageBoxScript.h"
#include "tests/support/Waits.h"
#include "shell/dialogs/TipDlg.h"
#include "shell/dialogs/tests/TipFixture.h"

#include <functional>

namespace {

const char kLongTip[] = "A first tip long enough to take more than one line of the text area, "
                        "so that it has to wrap at the blanks between its words.\n";
const char kTwoTips[] = "; comment\n"
                        "A first tip long enough to take more than one line of the text area, "
                        "so that it has to wrap at the blanks between its words.\n"
                        "Short.\n";

// Counts the beeps instead of sounding them, and posts its steps once it is up.
class CDrivenTipDlg : public CTipDlg
{
public:
    using CTipDlg::CTipDlg;

    BOOL OnInitDialog() override
    {
        BOOL result = CTipDlg::OnInitDialog();
        for (const auto& step : m_steps)
            step(*this);
        return result;
    }
    void Beep() override { m_beeps++; }

    std::vector<std::function<void(CDrivenTipDlg&)>> m_steps;
    int m_beeps = 0;
};

void PostClick(CWnd& dialog, int id)
{
    dialog.PostMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)::GetDlgItem(dialog.m_hWnd, id));
}

class TipDlgTest : public TipTest
{
protected:
    // Shows the dialog modeless and lets it paint.
    void Show(CTipDlg& dialog)
    {
        ASSERT_TRUE(dialog.Create(IDD_TIP));
        dialog.ShowWindow(SW_SHOW);
        dialog.UpdateWindow();
        PumpMessages();
    }
    static CRect ItemRect(CWnd& dialog, int id)
    {
        CRect rect;
        ::GetWindowRect(::GetDlgItem(dialog.m_hWnd, id), rect);
        dialog.ScreenToClient(rect);
        return rect;
    }
    // Pixels of the rectangle that are not the background colour.
    static int Marked(CWnd& dialog, const CRect& rect, COLORREF background)
    {
        CClientDC dc(&dialog);
        int marked = 0;
        for (int y = rect.top; y < rect.bottom; y++)
            for (int x = rect.left; x < rect.right; x++)
                marked += dc.GetPixel(x, y) != background;
        return marked;
    }
    static COLORREF At(CWnd& dialog, int x, int y) { return CClientDC(&dialog).GetPixel(x, y); }
};

TEST_F(TipDlgTest, PaintsTheCardAndRepaintsTheNextTip)
{
    WriteTips(kTwoTips);
    CTipDlg dialog(nullptr, Path().c_str());
    Show(dialog);
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    const CRect frame = ItemRect(dialog, IDC_TIP_FRAME);
    const CRect text = ItemRect(dialog, IDC_TIP_TEXT);
    const CRect bulb = ItemRect(dialog, IDC_TIP_BULB);
    const int bandEnd = text.left - 10;
    const int headingTop = bulb.top + 32 + 6;

    struct Probe
    {
        const char* what;
        CPoint at;
        COLORREF colour;
    } const probes[] = {
        {"band at the frame's bottom left", {frame.left + 1, frame.bottom - 2}, shadow},
        {"band's last column", {bandEnd - 1, text.bottom - 2}, shadow},
        {"gap before the text", {bandEnd, text.bottom - 2}, window},
        {"frame's top right", {frame.right - 2, frame.top + 1}, window},
        {"bulb's corner, flooded in the shade", {bulb.left, bulb.top}, shadow},
        {"bulb's last corner", {bulb.left + 31, bulb.top + 31}, shadow},
        {"bulb's glass", {bulb.left + 16, bulb.top + 13}, RGB(255, 255, 0)},
        {"bulb's base", {bulb.left + 16, bulb.top + 26}, RGB(96, 96, 96)},
    };
    for (const Probe& probe : probes)
        EXPECT_EQ(probe.colour, At(dialog, probe.at.x, probe.at.y)) << probe.what;

    const int lineHeight = 16;
    EXPECT_EQ(0, Marked(dialog, CRect(bandEnd, frame.top, frame.right, headingTop), window))
        << "nothing above the heading";
    EXPECT_GT(Marked(dialog, CRect(text.left, headingTop, frame.right, headingTop + 22), window), 0)
        << "the heading";
    CRect firstLine(text.left, text.top, text.right, text.top + lineHeight);
    CRect secondLine(text.left, text.top + lineHeight, text.right, text.top + 2 * lineHeight);
    EXPECT_GT(Marked(dialog, firstLine, window), 0);
    EXPECT_GT(Marked(dialog, secondLine, window), 0) << "the long tip wraps";
    EXPECT_EQ(kLongTip, std::string(dialog.m_strTip));

    PostClick(dialog, IDC_TIP_NEXT);
    PumpMessages();
    EXPECT_EQ("Short.\n", std::string(dialog.m_strTip));
    EXPECT_GT(Marked(dialog, firstLine, window), 0);
    EXPECT_EQ(0, Marked(dialog, secondLine, window)) << "the old tip is gone";
    EXPECT_EQ(shadow, At(dialog, bulb.left + 1, bulb.top + 1)) << "the rest stays";
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(dialog.m_hWnd, IDC_TIP_NEXT)));
    dialog.DestroyWindow();
}

TEST_F(TipDlgTest, TheTextAreaGetsTheWhiteBrush)
{
    WriteTips(kTwoTips);
    CTipDlg dialog(nullptr, Path().c_str());
    Show(dialog);
    CClientDC dc(&dialog);
    HBRUSH white = (HBRUSH)GetStockObject(WHITE_BRUSH);
    EXPECT_EQ((LRESULT)white, dialog.SendMessage(WM_CTLCOLORSTATIC, (WPARAM)dc.m_hDC,
                                                 (LPARAM)::GetDlgItem(dialog.m_hWnd, IDC_TIP_TEXT)));
    EXPECT_NE((LRESULT)white, dialog.SendMessage(WM_CTLCOLORBTN, (WPARAM)dc.m_hDC,
                                                 (LPARAM)::GetDlgItem(dialog.m_hWnd, IDOK)));
    dialog.DestroyWindow();
}

// Modal runs: the steps are posted once the dialog is up; the profile shows
// what OK and the dialog's end kept.
TEST_F(TipDlgTest, ModalRunsKeepTheChoiceAndThePlace)
{
    struct Case
    {
        const char* name;
        const char* file;  // null: none
        bool untick;       // clears "Show tips on startup" before OK
        int nexts;
        INT_PTR result;
        int beeps;
        long long startUp, filePos;  // -1: not written
        const char* tip;
    } const cases[] = {
        {"OK as it is", kTwoTips, false, 0, IDOK, 0, 0, 135, kLongTip},
        {"unticked after a next tip", kTwoTips, true, 1, IDOK, 0, 1, 142, "Short.\n"},
        {"round to the first tip", kTwoTips, false, 2, IDOK, 0, 0, 135, kLongTip},
        {"no file: a beep and no dialog", nullptr, false, 0, IDOK, 1, -1, -1, kMissing},
        {"no tips: as without a file", "; only\n\tcomments\n", false, 0, IDOK, 1, -1, -1, kMissing},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        if (c.file)
            WriteTips(c.file);
        {
            CDrivenTipDlg dialog(nullptr, Path().c_str());
            for (int i = 0; i < c.nexts; i++)
                dialog.m_steps.push_back([](CDrivenTipDlg& d) { PostClick(d, IDC_TIP_NEXT); });
            if (c.untick)
                dialog.m_steps.push_back([](CDrivenTipDlg& d) {
                    ::PostMessage(::GetDlgItem(d.m_hWnd, IDC_TIP_STARTUP), BM_SETCHECK, BST_UNCHECKED, 0);
                });
            dialog.m_steps.push_back([](CDrivenTipDlg& d) { PostClick(d, IDOK); });
            EXPECT_EQ(c.result, dialog.DoModal());
            EXPECT_EQ(c.beeps, dialog.m_beeps);
            EXPECT_EQ(c.tip, std::string(dialog.m_strTip));
        }
        EXPECT_EQ(c.startUp, ReadDword("StartUp"));
        EXPECT_EQ(c.filePos, ReadDword("FilePos"));
    }
}

// The stored place cannot be reached in the same file: the user is told, and
// the tips start over.
TEST_F(TipDlgTest, ADamagedPlaceIsReported)
{
    WriteTips(kTwoTips);
    CTipReader().Open(Path().c_str());
    WriteDword("FilePos", 0xFFFFFFF0);
    CMessageBoxScript boxes;
    CTipDlg dialog(nullptr, Path().c_str());
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ("Trouble reading the tips file", boxes.Shown()[0].text);
    EXPECT_EQ(kLongTip, std::string(dialog.m_strTip));
}

// The file loses its tips while the dialog is up: "Next tip" shows why there
// is none and turns itself off.
TEST_F(TipDlgTest, NextTipOnAFileWithoutTipsTurnsItselfOff)
{
    WriteTips(kTwoTips);
    CTipDlg dialog(nullptr, Path().c_str());
    Show(dialog);
    WriteTips("; all gone\n");
    for (int i = 0; i < 3; i++) {
        PostClick(dialog, IDC_TIP_NEXT);
        PumpMessages();
    }
    EXPECT_EQ(kMissing, std::string(dialog.m_strTip));
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(dialog.m_hWnd, IDC_TIP_NEXT)));
    dialog.DestroyWindow();
}

} // namespace
