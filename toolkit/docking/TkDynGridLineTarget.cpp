#include "toolkit/docking/TkDynGridLineTarget.h"
#include "toolkit/docking/TkDockProtocol.h"
#include "toolkit/docking/TkDockingSettings.h"
#include "toolkit/docking/TkLNDockingMgr.h"

#include <algorithm>

namespace
{
BOOL g_useDefaultThickness = FALSE;
int g_defaultThicknessTopBottom = 100;
int g_defaultThicknessLeftRight = 100;
}

// ---- TkDefDockTargetBase ----

TkLayoutNode* TkDefDockTargetBase::TargetNode()
{
    return dynamic_cast<TkLayoutNode*>(this);
}

BOOL TkDefDockTargetBase::GetDockRect(CPoint point, CRect* rect, TkLNDockingMgr* manager,
                                      TkDockInProgressInfo* info)
{
    if (!manager || !rect)
        return FALSE;
    if (info && info->m_oldPlace.PtInRect(point))
    {
        *rect = info->m_oldPlace;
        return TRUE;
    }
    ITkLNContainer* container = manager->FindContainer(TargetNode());
    CPoint client = point;
    if (container)
        container->ScreenPointToNode(client);
    TkLayoutNode* placeholder = CreatePlaceholderNode();
    BOOL answer = FALSE;
    if (Dock(placeholder, client, point, FALSE, manager, info))
    {
        *rect = placeholder->GetCurrentRect();
        if (container)
            container->NodeRectToScreen(*rect);
        answer = Undock(placeholder);
    }
    delete placeholder;
    return answer;
}

BOOL TkDefDockTargetBase::CanDockAt(TkLayoutNode* dockable, CPoint point, TkLNDockingMgr* manager,
                                    TkDockInProgressInfo* info)
{
    if (!dockable || !manager || (info && info->m_oldPlace.PtInRect(point)))
        return FALSE;
    ITkLNContainer* container = manager->FindContainer(TargetNode());
    CPoint client = point;
    if (container)
        container->ScreenPointToNode(client);
    return Dock(dockable, client, point, TRUE, manager, info);
}

TkLayoutNode* TkDefDockTargetBase::CreatePlaceholderNode()
{
    return new TkLayoutNode;
}

BOOL TkDefDockTargetBase::Dock(TkLayoutNode* node, CPoint, CPoint, BOOL, TkLNDockingMgr*,
                               TkDockInProgressInfo*)
{
    if (!node)
        return FALSE;
    TkLayoutNode* parent = node->GetParentNode();
    return !parent || parent->RemoveChildNode(node) != -1;
}

BOOL TkDefDockTargetBase::Undock(TkLayoutNode* node)
{
    TkLayoutNode* target = TargetNode();
    if (!node || !target)
        return FALSE;
    target->RemoveChildNode(node);
    CRect result;
    target->RecalcLayout(result, target->GetCurrentRect(), FALSE, TRUE);
    return TRUE;
}

BOOL TkDefDockTargetBase::IsInsideDraggedNode()
{
    TkLayoutNode* dragged = dynamic_cast<TkLayoutNode*>(TkGetCurrentDockInitiator());
    for (TkLayoutNode* node = TargetNode(); node && dragged; node = node->GetParentNode())
        if (node == dragged)
            return TRUE;
    return FALSE;
}

// ---- TkDynGridLineTarget ----

void TkDynGridLineTarget::SetUseDefaultThickness(BOOL use)
{
    g_useDefaultThickness = use;
}

void TkDynGridLineTarget::SetDefaultThickness(int acrossTopBottom, int acrossLeftRight)
{
    g_defaultThicknessTopBottom = acrossTopBottom;
    g_defaultThicknessLeftRight = acrossLeftRight;
}

TkDynGridLineTarget::TkDynGridLineTarget()
    : m_edgeBand(25), m_edgeFraction(0.2f), m_emptied(FALSE), m_rememberedThickness(0),
      m_side(0), m_lastDocked(NULL), m_saved(CRect(0, 0, 0, 0), TRUE)
{
}

// The thickness of a new line: the dragged node's preferred size across
// its orientation, or the class-wide defaults.
int TkDynGridLineTarget::ThicknessFor(TkLayoutNode* node, TkDockInProgressInfo* info)
{
    TkLayoutNode* dragged = dynamic_cast<TkLayoutNode*>(TkGetCurrentDockInitiator());
    CRect preferred = (dragged ? dragged : node)->GetReferenceRect();
    BOOL horizontal = info ? info->m_horizontal : TRUE;
    if (g_useDefaultThickness)
    {
        if (!horizontal && m_side <= 1)
            return g_defaultThicknessTopBottom;
        if (horizontal && m_side >= 2)
            return g_defaultThicknessLeftRight;
    }
    return std::min(preferred.Width(), preferred.Height());
}

// The place is found before the node leaves its present parent: a point
// that gives no place moves nothing.
BOOL TkDynGridLineTarget::Dock(TkLayoutNode* node, CPoint clientPoint, CPoint screenPoint,
                               BOOL test, TkLNDockingMgr* manager, TkDockInProgressInfo* info)
{
    if (!node)
        return FALSE;
    TkDynGridInsertConstraints c;
    c.SetInsertPoint(clientPoint, TRUE);
    m_lastDocked = NULL;
    if (TkDockingNodeConstraints* record = manager ? manager->GetConstraints(node, FALSE) : NULL)
        c.m_resizable = record->m_resizable;
    TkLNDynamicGridLine* line = this;
    if (ResolvePoint(clientPoint, &c))
        c.m_newLine = TRUE;
    else
    {
        BOOL after = TRUE;
        TkLayoutNode* hit = HitTestNode(clientPoint, &after, &line);
        if (!hit || hit == node)
            return FALSE;
        c.m_reference = hit;
        c.m_after = after;
    }
    if (c.m_reference == node ||
        !TkDefDockTargetBase::Dock(node, clientPoint, screenPoint, test, manager, info))
        return FALSE;
    c.m_extent = (line ? line : this)->GetAverageExtent(TRUE);
    c.m_lineThickness = ThicknessFor(node, info);
    // Undock puts the target back to this size.
    m_saved = Oriented(GetCurrentRect());
    if (InsertNode(node, &c) == -1)
        return FALSE;
    CRect result;
    RecalcLayout(result, GetCurrentRect(), FALSE, TRUE);
    m_lastDocked = node;
    return TRUE;
}

BOOL TkDynGridLineTarget::Undock(TkLayoutNode* node)
{
    if (!m_lastDocked || !node)
        return FALSE;
    RemoveChildNode(m_lastDocked);
    CRect result;
    RecalcLayout(result, GetCurrentRect(), FALSE, TRUE);
    m_lastDocked = NULL;
    if (Oriented(GetCurrentRect()).GetPrimaryExtent() != m_saved.GetPrimaryExtent())
    {
        // The saved size already counts the removal.
        m_pendingX = m_pendingY = 0;
        SetCurrentRect(m_saved);
        SetReferenceRect(m_saved);
        Renegotiate();
    }
    return TRUE;
}

BOOL TkDynGridLineTarget::ResolvePoint(CPoint point, TkDynGridInsertConstraints* c)
{
    BOOL after = TRUE;
    TkLayoutNode* line = TkLNDynamicGridLine::HitTestNode(point, &after, NULL);
    if (line && IsNearLineEdge(line, point, c, TRUE))
    {
        c->m_reference = line;
        return TRUE;
    }
    c->m_reference = NULL;
    return IsNearLineEdge(this, point, c, FALSE);
}

BOOL TkDynGridLineTarget::IsNearLineEdge(TkLayoutNode* line, CPoint point,
                                         TkDynGridInsertConstraints* c, BOOL useFraction)
{
    if (!line || !c)
        return FALSE;
    TkOrientedRect rect = Oriented(line->GetCurrentRect());
    int p = rect.GetPrimary(point);
    int nearEdge = rect.GetPrimaryNear();
    int farEdge = rect.GetPrimaryFar();
    if (useFraction)
    {
        int t = (int)(rect.GetPrimaryExtent() * m_edgeFraction);
        if (p >= nearEdge && p <= nearEdge + t)
            c->m_after = FALSE;
        else if (p >= farEdge - t && p <= farEdge)
            c->m_after = TRUE;
        else
            return FALSE;
        return TRUE;
    }
    int s = rect.GetSecondary(point);
    if (s < rect.GetSecondaryNear() || s > rect.GetSecondaryFar())
        return FALSE;
    if (p >= nearEdge - m_edgeBand && p <= nearEdge)
        c->m_after = FALSE;
    else if (p >= farEdge && p <= farEdge + m_edgeBand)
        c->m_after = TRUE;
    else
        return FALSE;
    return TRUE;
}

int TkDynGridLineTarget::InsertNode(TkLayoutNode* node, TkDynGridInsertConstraints* c)
{
    if (m_emptied && c)
    {
        SetGrowMode(TRUE);
        c->m_lineThickness = m_rememberedThickness;
    }
    int result = TkLNDynamicGrid2d::InsertNode(node, c);
    if (result != -1 && GetNodeCount() > 0)
        m_emptied = FALSE;
    return result;
}

int TkDynGridLineTarget::RemoveChildNode(TkLayoutNode* node)
{
    int thickness = Oriented(GetCurrentRect()).GetPrimaryExtent();
    int result = TkLNDynamicGrid2d::RemoveChildNode(node);
    if (!GetGrowMode() && !m_emptied && GetNodeCount() == 0)
    {
        m_emptied = TRUE;
        m_rememberedThickness = thickness;
        SetGrowMode(TRUE);
    }
    return result;
}

BOOL TkDynGridLineTarget::GetChildPlace(TkLayoutNode* node, TkDockInsertionConstraints* c)
{
    if (!GetInsertConstraints(node, c))
        return FALSE;
    c->m_side = m_side;
    return TRUE;
}

BOOL TkDynGridLineTarget::HitTestOffNode(CPoint point)
{
    if (!GetGrowMode())
        return FALSE;
    TkDynGridInsertConstraints c;
    return IsNearLineEdge(this, point, &c, FALSE);
}

void TkDockingNodeConstraints::RememberDockedPlace(TkLayoutNode* node)
{
    if (!node)
        return;
    for (TkLayoutNode* up = node->GetParentNode(); up; up = up->GetParentNode())
        if (TkDynGridLineTarget* target = dynamic_cast<TkDynGridLineTarget*>(up))
        {
            TkDockInsertionConstraints place;
            if (target->GetChildPlace(node, &place))
                SetDockedPlace(place);
            return;
        }
}
