// A row dragged out of the list with real input begins the list's drag
// however fast the pointer leaves: straight out of the list, or over the
// header first, as a person drags a row toward another window.
#include "listctrl/tests/ListFixture.h"

#include "tests/support/InputScript.h"

#include <string>
#include <vector>

namespace
{
class RowDragTest : public ListTest
{
protected:
    void SetUp() override
    {
        ListTest::SetUp();
        AddColumns({{"Title", 100, 0}, {"Artist", 100, 0}});
        AddRows({{"a", "Alpha"}, {"b", "Beta"}, {"c", "Gamma"}});
        m_owner.SetForegroundWindow();
        PumpUntilIdle();
    }
    CPoint ScreenOfList(CPoint point)
    {
        m_list.ClientToScreen(&point);
        return point;
    }
    CPoint RowScreenPoint(int row)
    {
        CRect rect;
        m_list.GetItemRect(row, &rect, LVIR_BOUNDS);
        return ScreenOfList(CPoint(rect.left + 30, rect.CenterPoint().y));
    }
};

TEST_F(RowDragTest, APressedRowBeginsTheDragWhereverThePointerGoes)
{
    CRect list;
    m_list.GetClientRect(&list);
    CRect header;
    m_list.GetHeader()->GetWindowRect(&header);
    const struct
    {
        const char* path;
        int row;
        std::vector<CPoint> moves;
    } cases[] = {
        {"out of the list at once", 1, {ScreenOfList(CPoint(250, list.bottom + 20))}},
        {"over the header, then out", 2, {CPoint(header.left + 150, header.CenterPoint().y),
                                          CPoint(header.left + 150, header.top - 10)}},
        {"within the list", 0, {ScreenOfList(CPoint(250, list.bottom - 30))}},
    };
    // Each case presses another row, so that no press completes a double click.
    for (const auto& c : cases)
    {
        m_owner.m_events.clear();
        // The press is handled before the pointer moves, as when a person drags.
        InputScript().MoveTo(RowScreenPoint(c.row)).Button(MOUSEEVENTF_LEFTDOWN).Send();
        InputScript script;
        for (CPoint point : c.moves)
            script.MoveTo(point);
        script.Button(MOUSEEVENTF_LEFTUP).Send();
        PumpMessages();
        EXPECT_EQ(std::vector<std::string>{"LVN_BEGINDRAG " + std::to_string(c.row)}, m_owner.m_events) << c.path;
        EXPECT_EQ(NULL, ::GetCapture()) << c.path << ": the capture is let go";
    }
}

TEST_F(RowDragTest, AClickWithoutMovingBeginsNoDragAndLetsTheCaptureGo)
{
    InputScript().MoveTo(RowScreenPoint(1)).Button(MOUSEEVENTF_LEFTDOWN).Button(MOUSEEVENTF_LEFTUP).Send();
    PumpMessages();
    EXPECT_TRUE(m_owner.m_events.empty()) << m_owner.m_events.front();
    EXPECT_EQ(NULL, ::GetCapture());
    EXPECT_EQ(1, m_list.GetNextItem(-1, LVNI_SELECTED));
}
} // namespace
