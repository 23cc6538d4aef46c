#include "toolkit/docking/TkLNDockBorderClient.h"

#include "toolkit/docking/TkLNDockingMgr.h"
#include "toolkit/docking/TkLayoutNodeBorderSpace.h"
#include "toolkit/docking/TkNodeBehaviours.h"

TkLNDockBorderClient::TkLNDockBorderClient(ITkFrameDockingFeature* feature)
    : m_feature(feature), m_insetTolerance(3)
{
}

void TkLNDockBorderClient::CalcLayout(CRect& result, const CRect& rect, BOOL constrain,
                                      BOOL force)
{
    UpdateBorderEdges();
    TkLNBorderClient::CalcLayout(result, rect, constrain, force);
}

TkLayoutNode* TkLNDockBorderClient::FindDockLine(TkLayoutNode* border)
{
    TkLNBorderClientEdge* edge = dynamic_cast<TkLNBorderClientEdge*>(border);
    if (!edge)
        return NULL;
    ITkSizableDockBorder* sizable = dynamic_cast<ITkSizableDockBorder*>(edge->GetWrappedNode());
    return sizable ? sizable->GetDockLine() : NULL;
}

BOOL TkLNDockBorderClient::GetDockTarget(TkLayoutNode* border)
{
    ITkDockLine* line = dynamic_cast<ITkDockLine*>(FindDockLine(border));
    return line && line->HoldsDockedNodes();
}

ITkDockTarget* TkLNDockBorderClient::GetBorderTarget(int position)
{
    return dynamic_cast<ITkDockTarget*>(FindDockLine(GetBorderNode(position)));
}

void TkLNDockBorderClient::GetClientInsets(BOOL* left, BOOL* right)
{
    *left = FALSE;
    *right = FALSE;
    TkLNDockingMgr* manager = m_feature ? m_feature->GetLayoutDockingMgr() : NULL;
    ITkLNContainer* container = manager ? manager->FindContainer(this) : NULL;
    CRect client;
    if (!container || !container->GetContainerClientRect(client))
        return;
    CRect node = GetCurrentRect();
    *left = client.left < node.left - m_insetTolerance;
    *right = client.right > node.right + m_insetTolerance;
}

void TkLNDockBorderClient::UpdateBorderEdges()
{
    if (!m_feature)
        return;
    TkLayoutNode* borders[4] = {};
    m_feature->GetSideBorders(&borders[kTop], &borders[kBottom], &borders[kLeft],
                              &borders[kRight]);
    BOOL occupied[4];
    for (int position = 0; position < 4; ++position)
        occupied[position] = GetDockTarget(borders[position]);
    BOOL l, r;
    GetClientInsets(&l, &r);
    // Edge flags of each side (left, top, right, bottom), indexed by position.
    int flags[4][4];
    if (GetLayoutMode() == kVerticalFirst)
    {
        BOOL l2 = l && !occupied[kLeft];
        BOOL r2 = r && !occupied[kRight];
        const int vertical[4][4] = {{l2, 1, r2, 0}, {l2, 0, r2, 1}, {l, 1, 0, 1}, {0, 1, r, 1}};
        memcpy(flags, vertical, sizeof(flags));
    }
    else
    {
        BOOL top = !occupied[kTop];
        BOOL bottom = !occupied[kBottom];
        const int horizontal[4][4] = {
            {l, 1, r, 0}, {l, 0, r, 1}, {l, top, 0, bottom}, {0, top, r, bottom}};
        memcpy(flags, horizontal, sizeof(flags));
    }
    for (int position = 0; position < 4; ++position)
    {
        TkLNBorderClientEdge* edge = dynamic_cast<TkLNBorderClientEdge*>(borders[position]);
        if (!edge)
            continue;
        const int* f = flags[position];
        edge->SetEdgeFlags(f[0], f[1], f[2], f[3]);
        if (ITkHideableNode* hideable = dynamic_cast<ITkHideableNode*>(edge))
            hideable->ShowNodeCounted(occupied[position], TRUE, FALSE);
    }
}
