#include "toolkit/docking/TkLNDynamicGrid2d.h"

TkLNDynamicGridLine* TkLNDynamicGrid2d::CreateLineNode()
{
    return new TkLNDynamicGridLine;
}

TkLNDynamicGridLine* TkLNDynamicGrid2d::GetLineAt(int index)
{
    if (index < 0 || index >= GetLineCount())
        return NULL;
    return dynamic_cast<TkLNDynamicGridLine*>((TkLayoutNode*)m_nodes.GetAt(m_nodes.FindIndex(index)));
}

TkLNDynamicGridLine* TkLNDynamicGrid2d::FindLineOf(TkLayoutNode* node)
{
    if (!node)
        return NULL;
    for (POSITION p = m_nodes.GetHeadPosition(); p;)
    {
        TkLNDynamicGridLine* line =
            dynamic_cast<TkLNDynamicGridLine*>((TkLayoutNode*)m_nodes.GetNext(p));
        if (line && line->FindNode(node))
            return line;
    }
    return NULL;
}

TkLNDynamicGridLine* TkLNDynamicGrid2d::GetEndLine(BOOL last)
{
    if (m_nodes.IsEmpty())
        return NULL;
    return dynamic_cast<TkLNDynamicGridLine*>(
        (TkLayoutNode*)(last ? m_nodes.GetTail() : m_nodes.GetHead()));
}

int TkLNDynamicGrid2d::InsertNode(TkLayoutNode* node, TkDynGridInsertConstraints* c)
{
    if (!node || !c)
        return -1;
    if (dynamic_cast<TkLNDynamicGridLine*>(node))
        return TkLNDynamicGridLine::InsertNode(node, c);
    TkLNDynamicGridLine* line = NULL;
    if (c->m_useIndex)
    {
        line = GetLineAt(c->m_lineIndex);
        if (!line)
            line = GetEndLine(c->m_after);
    }
    else
    {
        line = FindLineOf(c->m_reference);
        if (!line)
            line = GetEndLine(c->m_after);
    }
    if (line && !c->m_newLine)
        return line->InsertNode(node, c);
    TkLNDynamicGridLine* newLine = CreateLineFor(node, c);
    int result = TkLNDynamicGridLine::InsertNode(newLine, c);
    c->m_newLine = FALSE;
    m_preferredDirty = TRUE;
    return result;
}

TkLNDynamicGridLine* TkLNDynamicGrid2d::CreateLineFor(TkLayoutNode* node,
                                                      TkDynGridInsertConstraints* c)
{
    TkLNDynamicGridLine* line = CreateLineNode();
    line->SetHostAndOrientation(GetHostWnd(), !IsHorizontal());
    TkNodeMemoryManager* manager = GetMemoryManager() ? GetMemoryManager() : GetOwnNodes();
    line->SetMemoryManager(manager, FALSE);
    TkDynGridInsertConstraints fresh;
    fresh.m_resizable = c->m_resizable;
    line->InsertNode(node, &fresh);
    c->m_extent = c->m_lineThickness;
    c->m_lineThickness = -1;
    if (c->m_reference && !IsLine(c->m_reference))
        c->m_reference = FindLineOf(c->m_reference);
    c->m_newLine = TRUE;
    return line;
}

int TkLNDynamicGrid2d::RemoveChildNode(TkLayoutNode* node)
{
    if (!node)
        return -1;
    if (IsLine(node))
        return TkLNDynamicGridLine::RemoveChildNode(node);
    TkLNDynamicGridLine* line = FindLineOf(node);
    if (!line)
        return TkLayoutNode::RemoveChildNode(node);
    int result = line->RemoveChildNode(node);
    if (line->GetNodeCount() == 0)
    {
        TkLNDynamicGridLine::RemoveChildNode(line);
        if (TkNodeMemoryManager* manager = line->GetMemoryManager())
            manager->Unmanage(line);
        line->SetMemoryManager(NULL, FALSE);
        delete line;
        m_preferredDirty = TRUE;
    }
    return result;
}

void TkLNDynamicGrid2d::CalcLayout(CRect& result, const CRect& rect, BOOL constrain, BOOL force)
{
    TkLNDynamicGridLine::CalcLayout(result, rect, constrain, force);
    if (constrain)
        return;
    if (m_preferredDirty && !result.IsRectEmpty())
    {
        SetReferenceRect(result);
        m_preferredDirty = FALSE;
    }
    else if (GetReferenceRect().IsRectEmpty() && !result.IsRectEmpty())
        SetReferenceRect(result);
}

void TkLNDynamicGrid2d::SetSplitterMode(BOOL live)
{
    TkLNDynamicGridLine::SetSplitterMode(live);
    for (POSITION p = m_nodes.GetHeadPosition(); p;)
        if (TkLNDynamicGridLine* line =
                dynamic_cast<TkLNDynamicGridLine*>((TkLayoutNode*)m_nodes.GetNext(p)))
            line->SetSplitterMode(live);
}

void TkLNDynamicGrid2d::SetHostAndOrientation(HWND host, BOOL lineHorizontal)
{
    TkLNDynamicGridLine::SetHostAndOrientation(host, !lineHorizontal);
}

TkLayoutNode* TkLNDynamicGrid2d::HitTestNode(CPoint point, BOOL* after,
                                             TkLNDynamicGridLine** line)
{
    TkLayoutNode* hit = TkLNDynamicGridLine::HitTestNode(point, after, line);
    TkLNDynamicGridLine* hitLine = dynamic_cast<TkLNDynamicGridLine*>(hit);
    if (!hitLine)
        return hit;
    if (line)
        *line = hitLine;
    return hitLine->HitTestNode(point, after, NULL);
}

int TkLNDynamicGrid2d::GetNodeCount()
{
    int count = 0;
    for (POSITION p = m_nodes.GetHeadPosition(); p;)
    {
        TkLayoutNode* child = (TkLayoutNode*)m_nodes.GetNext(p);
        TkLNDynamicGridLine* line = dynamic_cast<TkLNDynamicGridLine*>(child);
        count += line ? line->GetNodeCount() : 1;
    }
    return count;
}

TkLayoutNode* TkLNDynamicGrid2d::GetFirstNode()
{
    TkLayoutNode* first = TkLNDynamicGridLine::GetFirstNode();
    TkLNDynamicGridLine* line = dynamic_cast<TkLNDynamicGridLine*>(first);
    return line ? line->GetFirstNode() : first;
}

void TkLNDynamicGrid2d::GetNodes(CPtrList& list)
{
    for (POSITION p = m_nodes.GetHeadPosition(); p;)
    {
        TkLayoutNode* child = (TkLayoutNode*)m_nodes.GetNext(p);
        if (TkLNDynamicGridLine* line = dynamic_cast<TkLNDynamicGridLine*>(child))
            line->GetNodes(list);
        else
            list.AddTail(child);
    }
}

void TkLNDynamicGrid2d::AdoptOrientation(TkLayoutNode* node, TkDynGridInsertConstraints* c)
{
    if (!c || !c->m_newLine)
        TkLNDynamicGridLine::AdoptOrientation(node, c);
}

BOOL TkLNDynamicGrid2d::GetInsertConstraints(TkLayoutNode* node, TkDynGridInsertConstraints* c)
{
    if (!node || !c)
        return FALSE;
    if (IsLine(node))
        return TkLNDynamicGridLine::GetInsertConstraints(node, c);
    TkLNDynamicGridLine* line = FindLineOf(node);
    if (!line)
        return FALSE;
    if (line->GetNodeCount() == 1)
    {
        if (!TkLNDynamicGridLine::GetInsertConstraints(line, c))
            return FALSE;
        c->m_newLine = TRUE;
        c->m_lineThickness = line->Oriented(node->GetCurrentRect()).GetSecondaryExtent();
        return TRUE;
    }
    if (!line->GetInsertConstraints(node, c))
        return FALSE;
    int index = 0;
    if (TkLNDynamicGridLine::GetNodeIndex(line, &index, NULL))
        c->m_lineIndex = index;
    c->m_newLine = FALSE;
    c->m_lineThickness = 0;
    return TRUE;
}
