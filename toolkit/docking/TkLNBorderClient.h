// TkLNBorderClient: up to four border children (top, bottom, left, right)
// around one client child. Borders keep their preferred thickness while
// there is room and give way proportionally when there is not; a client that
// cannot be as small (or as large) as what is left pushes them back.
// Mode 0: top and bottom span the full width; mode 1: left and right span
// the full height.
#pragma once

#include "toolkit/docking/TkLayoutNode.h"

class ITkLNBorderClientEventRcvr
{
public:
    virtual ~ITkLNBorderClientEventRcvr() {}
    virtual void OnClientRectChanged(const CRect& client) = 0;
};

class TkLNBorderClient : public TkLayoutNode
{
public:
    enum Position
    {
        kTop = 0,
        kBottom = 1,
        kLeft = 2,
        kRight = 3,
        kClient = 4,
        kPositionCount = 5,
    };
    enum Mode
    {
        kHorizontalFirst = 0,
        kVerticalFirst = 1,
    };
    // The four border rectangles, in the order of their positions.
    struct Borders
    {
        CRect top, bottom, left, right;
    };

    TkLNBorderClient();

    void SetLayoutMode(int mode) { m_mode = mode; }
    int GetLayoutMode() const { return m_mode; }
    void SetReceiver(ITkLNBorderClientEventRcvr* receiver) { m_receiver = receiver; }

    virtual BOOL GetBorderPosition(TkLayoutNode* node, int* position);
    virtual TkLayoutNode* GetBorderNode(int position);
    virtual int AddBorderNode(TkLayoutNode* node, int position);
    virtual void CalcBorderRects(CRect& client, const CRect& rect, Borders& borders);
    virtual BOOL GetFreePosition(int* position);
    virtual BOOL SetBorderNode(TkLayoutNode* node, int position);
    virtual BOOL ClearBorderNode(TkLayoutNode* node);
    virtual void SplitHorizontalFirst(CRect& client, const CRect& rect, Borders& borders);
    virtual void SplitVerticalFirst(CRect& client, const CRect& rect, Borders& borders);
    virtual BOOL FitClientLimits(const CRect& bounds, CRect& client, Borders& borders);
    virtual void GrowAlongAxis(BOOL first, BOOL second, const CRect& bounds, CRect& client,
                               int delta, BOOL horizontal);
    virtual void ClipToBounds(CRect& client, const CRect& bounds);
    virtual void FitBordersToClient(const CRect& client, Borders& borders);
    virtual BOOL FitBorders(const CRect& bounds, Borders& borders);
    virtual BOOL FitBordersHorizontalFirst(const CRect& bounds, Borders& borders);
    virtual BOOL FitBordersVerticalFirst(const CRect& bounds, Borders& borders);
    virtual void ApplyBorderRects(const CRect& client, const Borders& borders);
    virtual double GetShrinkRatio(int available, int first, int second);
    virtual CRect MakeClientRect(const Borders& borders);
    virtual void GetPreferredRects(Borders& borders);
    virtual void GetPreferredRect(TkLayoutNode* node, CRect& rect);

    int AddChildNode(TkLayoutNode* node) override;
    int RemoveChildNode(TkLayoutNode* node) override;
    void CalcLayout(CRect& result, const CRect& rect, BOOL constrain, BOOL force) override;

private:
    // One border's accepted thickness, or -1 when it took what it was given.
    int RefitBorder(int position, CRect& rect, BOOL horizontal);
    BOOL RefitBorders(const CRect& bounds, Borders& borders, BOOL horizontalFirst);

    TkLayoutNode* m_slots[kPositionCount];
    int m_mode;
    ITkLNBorderClientEventRcvr* m_receiver;
};
