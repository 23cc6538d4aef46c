// Grippers: border spaces that keep an 18-pixel strip on one side and draw
// the grip there (two raised bars, or one with the single-bar setting).
// The extended gripper adds a close button and an expand/contract arrow in
// the strip and handles the mouse on them as a listener of the window it is
// drawn in. TkReparentableGripperEx is the one the docking code wraps docked
// windows in.
#pragma once

#include "toolkit/docking/TkLNDockingMgr.h"
#include "toolkit/docking/TkLayoutNodeBorderSpace.h"
#include "toolkit/docking/TkWndPlugIn.h"

// Where the bars (and buttons) of a gripper strip lie.
struct TkGripperBars
{
    virtual ~TkGripperBars() {}
    CRect bars[2];
};

// How the bars are measured across and along the strip.
struct TkGripperMetrics
{
    virtual ~TkGripperMetrics() {}
    int barWidth = 3;
    int gap = 0;
    int leading = 0;
    int trailing = 0;
    int startInset = 0;
    int endInset = 0;
};

class TkLayoutNodeGripper : public TkLayoutNodeBorderSpace
{
public:
    static const int kGripperSize = 18;

    TkLayoutNodeGripper();
    ~TkLayoutNodeGripper() override;

    // The process-wide setting new grippers copy: draw one bar only.
    static void SetSingleBar(BOOL single);
    static BOOL GetSingleBar();

    virtual void SetGripperSide(int side);
    int GetGripperSide() const { return m_side; }
    const TkGripperBars* GetBars() const { return m_bars; }

    void SetNodeActive(BOOL active, BOOL recurse) override;
    // The margin on the gripper side is the gripper's.
    void SetMargins(int left, int top, int right, int bottom) override;
    void CalcLayout(CRect& result, const CRect& rect, BOOL constrain, BOOL force) override;
    void DrawMargins(CDC* dc, const CRect& rect, int side) override;
    void InvalidateMargins(const CRect& rect) override;

    virtual TkGripperMetrics* NewMetrics();
    virtual TkGripperBars* NewBars();
    virtual void DrawBars(CDC* dc, const CRect& strip);
    virtual void LayoutBars(const CRect& strip, int side, TkGripperBars* bars);
    virtual void MeasureBarsDouble(TkGripperMetrics* metrics, int length, int thickness, int side);
    virtual void MeasureBarsSingle(TkGripperMetrics* metrics, int length, int thickness, int side);
    virtual void PlaceBarsVertical(const CRect& strip, const TkGripperMetrics* metrics,
                                   TkGripperBars* bars);
    virtual void PlaceBarsHorizontal(const CRect& strip, const TkGripperMetrics* metrics,
                                     TkGripperBars* bars);

protected:
    BOOL IsVertical() const { return m_side == kSideLeft || m_side == kSideRight; }
    // The strip on the gripper side, cut to the gripper size.
    CRect GripStrip() const;

    int m_side;
    int m_size;
    TkGripperBars* m_bars;
    BOOL m_singleBar;
};

struct TkGripperButtons : TkGripperBars
{
    CRect close;
    CRect arrow;
};

struct TkGripperButtonMetrics : TkGripperMetrics
{
    int buttonOffset = 0;
    int buttonSize = 11;
    int arrowGap = 0;
    int arrowLength = 0;
    int closeGap = 0;
    int closeLength = 0;
    int oldInset = 0;
};

class TkLayoutNodeGripperEx : public TkWndListener, public TkLayoutNodeGripper
{
public:
    TkLayoutNodeGripperEx();

    // The gripper hears the mouse of the window it is drawn in.
    void SetNodeWnd(HWND window) override;
    TkGripperMetrics* NewMetrics() override;
    TkGripperBars* NewBars() override;
    void MeasureBarsDouble(TkGripperMetrics* metrics, int length, int thickness, int side) override;
    void PlaceBarsVertical(const CRect& strip, const TkGripperMetrics* metrics,
                           TkGripperBars* bars) override;
    void PlaceBarsHorizontal(const CRect& strip, const TkGripperMetrics* metrics,
                             TkGripperBars* bars) override;
    void DrawBars(CDC* dc, const CRect& strip) override;

    virtual void OnCloseButton();
    virtual void OnArrowButton();
    virtual UINT GetArrowState(int side);
    virtual UINT GetCloseState();
    virtual BOOL GetCloseRect(CRect& rect);
    virtual BOOL GetArrowRect(CRect& rect);

    void ShowButtons(BOOL close, BOOL arrow);
    void EnableButtons(BOOL close, BOOL arrow);
    void SetArrowDirection(int direction) { m_arrowDirection = direction; }

    void OnLButtonDown(UINT flags, CPoint point);
    void OnMouseMove(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);

protected:
    // A pressed button that is shown and enabled under the point.
    BOOL HitButton(const CRect& button, BOOL shown, BOOL enabled, CPoint point);
    // Keeps the last button measure for placing.
    void PlaceButtons(const CRect& strip, const TkGripperButtonMetrics* metrics,
                      TkGripperButtons* buttons);

    BOOL m_closeShown;
    BOOL m_arrowShown;
    BOOL m_closeEnabled;
    int m_arrowDirection;
    BOOL m_arrowEnabled;
    BOOL m_closePressed;
    BOOL m_arrowPressed;
    BOOL m_closeTracking;
    BOOL m_arrowTracking;

    DECLARE_MESSAGE_MAP()
};

// The docked-window gripper: it follows its container and, when a dock
// leaves it without content, leaves its parent for the dock's memory list.
class TkReparentableGripperEx : public TkReparentableLayoutNodeDC_T<TkLayoutNodeGripperEx>,
                                public ITkDockEventReceiver
{
public:
    BOOL OnDockEvent(TkLayoutNode* node, TkLayoutNode* target, TkLayoutNode* parent,
                     LPARAM value, TkNodeMemoryManager* memoryList) override;
};
