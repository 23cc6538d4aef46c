// TkDynGridLineTarget: the dock target of a frame side (and of a floating
// window): a 2-d grid that turns a point into a place. Near the edge of a
// line (a fifth of its thickness inside it) or within 25 pixels outside the
// first or last line a node opens a new line there; elsewhere it joins the
// line under the point beside the node under it. A target emptied outside
// grow mode remembers its thickness for the next node.
#pragma once

#include "toolkit/docking/TkDockTarget.h"
#include "toolkit/docking/TkLNDockBorderClient.h"
#include "toolkit/docking/TkLNDynamicGrid2d.h"

class TkDynGridLineTarget : public TkLNDynamicGrid2d,
                            public TkDefDockTargetBase,
                            public ITkOffNodeHitTest,
                            public ITkDockLine
{
public:
    static void SetUseDefaultThickness(BOOL use);
    static void SetDefaultThickness(int acrossTopBottom, int acrossLeftRight);

    TkDynGridLineTarget();

    void SetSideIndex(int side) { m_side = side; }
    int GetSideIndex() const { return m_side; }

    BOOL Dock(TkLayoutNode* node, CPoint clientPoint, CPoint screenPoint, BOOL test,
              TkLNDockingMgr* manager, TkDockInProgressInfo* info) override;
    BOOL Undock(TkLayoutNode* node) override;
    int InsertNode(TkLayoutNode* node, TkDynGridInsertConstraints* c) override;
    int RemoveChildNode(TkLayoutNode* node) override;
    virtual BOOL GetChildPlace(TkLayoutNode* node, TkDockInsertionConstraints* c);
    virtual BOOL ResolvePoint(CPoint point, TkDynGridInsertConstraints* c);
    virtual BOOL IsNearLineEdge(TkLayoutNode* line, CPoint point, TkDynGridInsertConstraints* c,
                                BOOL useFraction);
    BOOL HitTestOffNode(CPoint point) override;
    BOOL HoldsDockedNodes() override { return GetNodeCount() > 0; }

private:
    int ThicknessFor(TkLayoutNode* node, TkDockInProgressInfo* info);

    int m_edgeBand;
    float m_edgeFraction;
    BOOL m_emptied;
    int m_rememberedThickness;
    int m_side;
    TkLayoutNode* m_lastDocked;
    TkOrientedRect m_saved;
};
