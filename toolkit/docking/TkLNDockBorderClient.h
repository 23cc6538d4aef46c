// TkLNDockBorderClient: the border client of a docking frame. Before each
// layout it shows only the borders whose dock line holds docked nodes and
// tells each border which of its edges to draw: the edges that touch a
// neighbour, and the outer ones only where the client area is inset from the
// frame. The frame's docking feature and the dock lines inside the borders
// are reached through the small interfaces below.
#pragma once

#include "toolkit/docking/TkDockTarget.h"
#include "toolkit/docking/TkLNBorderClient.h"

class TkLNDockingMgr;

// The grid line of one frame side.
class ITkDockLine
{
public:
    virtual ~ITkDockLine() {}
    virtual BOOL HoldsDockedNodes() = 0;
};

// The sizable border between a side border and its dock line.
class ITkSizableDockBorder
{
public:
    virtual ~ITkSizableDockBorder() {}
    virtual TkLayoutNode* GetDockLine() = 0;
};

class ITkFrameDockingFeature
{
public:
    virtual ~ITkFrameDockingFeature() {}
    virtual void GetSideBorders(TkLayoutNode** top, TkLayoutNode** bottom, TkLayoutNode** left,
                                TkLayoutNode** right) = 0;
    virtual TkLNDockingMgr* GetLayoutDockingMgr() = 0;
};

class ITkBorderTargetParent
{
public:
    virtual ~ITkBorderTargetParent() {}
    // The dock target of the border at a position (TkLNBorderClient::kTop...).
    virtual ITkDockTarget* GetBorderTarget(int position) = 0;
};

class TkLNDockBorderClient : public TkLNBorderClient, public ITkBorderTargetParent
{
public:
    explicit TkLNDockBorderClient(ITkFrameDockingFeature* feature);

    virtual void UpdateBorderEdges();
    // Whether the dock line inside a side border holds docked nodes.
    virtual BOOL GetDockTarget(TkLayoutNode* border);
    // Whether the container's client area reaches more than the tolerance
    // beyond this node on the left and on the right.
    virtual void GetClientInsets(BOOL* left, BOOL* right);

    void CalcLayout(CRect& result, const CRect& rect, BOOL constrain, BOOL force) override;
    ITkDockTarget* GetBorderTarget(int position) override;

private:
    // The dock line inside a side border, each step checked by type.
    static TkLayoutNode* FindDockLine(TkLayoutNode* border);

    ITkFrameDockingFeature* m_feature;
    int m_insetTolerance;
};
