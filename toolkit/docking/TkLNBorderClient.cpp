#include "toolkit/docking/TkLNBorderClient.h"

#include "toolkit/docking/TkNodeBehaviours.h"

#include <algorithm>

namespace
{
int Truncated(int extent, double ratio)
{
    return (int)(extent * ratio);
}
}

TkLNBorderClient::TkLNBorderClient() : m_slots(), m_mode(kHorizontalFirst), m_receiver(NULL)
{
}

BOOL TkLNBorderClient::GetBorderPosition(TkLayoutNode* node, int* position)
{
    if (!node)
        return FALSE;
    for (int i = 0; i < kPositionCount; ++i)
        if (GetBorderNode(i) == node)
        {
            if (position)
                *position = i;
            return TRUE;
        }
    return FALSE;
}

// A slot whose node left the child list by another way is empty.
TkLayoutNode* TkLNBorderClient::GetBorderNode(int position)
{
    if (position < 0 || position >= kPositionCount)
        return NULL;
    if (m_slots[position] && !FindChild(m_slots[position], NULL))
        m_slots[position] = NULL;
    return m_slots[position];
}

int TkLNBorderClient::AddBorderNode(TkLayoutNode* node, int position)
{
    if (position < 0 || position >= kPositionCount || GetBorderNode(position))
        return -1;
    int count = TkLayoutNode::AddChildNode(node);
    if (count == -1)
        return -1;
    SetBorderNode(node, position);
    return count;
}

BOOL TkLNBorderClient::GetFreePosition(int* position)
{
    BOOL sidesTaken = GetBorderNode(kLeft) && GetBorderNode(kRight);
    static const int kHorizontalOrder[] = {kTop, kBottom, kLeft, kRight};
    static const int kVerticalOrder[] = {kLeft, kRight};
    int next = -1;
    if (m_mode == kHorizontalFirst)
    {
        for (int candidate : kHorizontalOrder)
            if (!GetBorderNode(candidate) && (candidate < kLeft || !sidesTaken))
            {
                next = candidate;
                break;
            }
    }
    else if (!sidesTaken)
    {
        for (int candidate : kVerticalOrder)
            if (!GetBorderNode(candidate))
            {
                next = candidate;
                break;
            }
    }
    else
        next = !GetBorderNode(kTop) ? kTop : !GetBorderNode(kBottom) ? kBottom : -1;
    if (next == -1)
    {
        if (GetBorderNode(kClient))
            return FALSE;
        next = kClient;
    }
    if (position)
        *position = next;
    return TRUE;
}

BOOL TkLNBorderClient::SetBorderNode(TkLayoutNode* node, int position)
{
    if (!node || position < 0 || position >= kPositionCount)
        return FALSE;
    m_slots[position] = node;
    return TRUE;
}

BOOL TkLNBorderClient::ClearBorderNode(TkLayoutNode* node)
{
    for (TkLayoutNode*& slot : m_slots)
        if (node && slot == node)
        {
            slot = NULL;
            return TRUE;
        }
    return FALSE;
}

int TkLNBorderClient::AddChildNode(TkLayoutNode* node)
{
    int position = 0;
    if (!GetFreePosition(&position))
        return -1;
    return AddBorderNode(node, position);
}

int TkLNBorderClient::RemoveChildNode(TkLayoutNode* node)
{
    int answer = TkLayoutNode::RemoveChildNode(node);
    if (answer != -1)
        ClearBorderNode(node);
    return answer;
}

void TkLNBorderClient::CalcLayout(CRect& result, const CRect& rect, BOOL constrain, BOOL)
{
    TkLayoutNode* clientNode = GetBorderNode(kClient);
    CRect oldClient = clientNode ? clientNode->GetCurrentRect() : CRect();
    CRect r = rect;
    r.right = std::max(r.right, r.left);
    r.bottom = std::max(r.bottom, r.top);
    SetCurrentRect(r);
    CRect client;
    Borders borders;
    CalcBorderRects(client, r, borders);
    FitClientLimits(r, client, borders);
    if (constrain && FitBorders(r, borders))
    {
        client = MakeClientRect(borders);
        FitClientLimits(r, client, borders);
    }
    ApplyBorderRects(client, borders);
    if (clientNode && m_receiver && client != oldClient)
        m_receiver->OnClientRectChanged(client);
    result = r;
}

void TkLNBorderClient::CalcBorderRects(CRect& client, const CRect& rect, Borders& borders)
{
    GetPreferredRects(borders);
    client = rect;
    if (m_mode == kHorizontalFirst)
        SplitHorizontalFirst(client, rect, borders);
    else if (m_mode == kVerticalFirst)
        SplitVerticalFirst(client, rect, borders);
}

double TkLNBorderClient::GetShrinkRatio(int available, int first, int second)
{
    if (available < 0)
        return 0.0;
    if (first + second <= available)
        return 1.0;
    return (double)available / (first + second);
}

void TkLNBorderClient::SplitHorizontalFirst(CRect& client, const CRect& r, Borders& b)
{
    double k = GetShrinkRatio(r.Height(), b.top.Height(), b.bottom.Height());
    CRect top(r.left, r.top, r.right, r.top + Truncated(b.top.Height(), k));
    CRect bottom(r.left, r.bottom - Truncated(b.bottom.Height(), k), r.right, r.bottom);
    double kSides = GetShrinkRatio(r.Width(), b.left.Width(), b.right.Width());
    b.left = CRect(r.left, top.bottom, r.left + Truncated(b.left.Width(), kSides), bottom.top);
    b.right = CRect(r.right - Truncated(b.right.Width(), kSides), top.bottom, r.right, bottom.top);
    b.top = top;
    b.bottom = bottom;
    client = MakeClientRect(b);
}

void TkLNBorderClient::SplitVerticalFirst(CRect& client, const CRect& r, Borders& b)
{
    double k = GetShrinkRatio(r.Width(), b.left.Width(), b.right.Width());
    CRect left(r.left, r.top, r.left + Truncated(b.left.Width(), k), r.bottom);
    CRect right(r.right - Truncated(b.right.Width(), k), r.top, r.right, r.bottom);
    double kEnds = GetShrinkRatio(r.Height(), b.top.Height(), b.bottom.Height());
    b.top = CRect(left.right, r.top, right.left, r.top + Truncated(b.top.Height(), kEnds));
    b.bottom = CRect(left.right, r.bottom - Truncated(b.bottom.Height(), kEnds), right.left,
                     r.bottom);
    b.left = left;
    b.right = right;
    client = MakeClientRect(b);
}

CRect TkLNBorderClient::MakeClientRect(const Borders& b)
{
    return CRect(b.left.right, b.top.bottom, b.right.left, b.bottom.top);
}

void TkLNBorderClient::GetPreferredRects(Borders& borders)
{
    GetPreferredRect(GetBorderNode(kTop), borders.top);
    GetPreferredRect(GetBorderNode(kBottom), borders.bottom);
    GetPreferredRect(GetBorderNode(kLeft), borders.left);
    GetPreferredRect(GetBorderNode(kRight), borders.right);
}

void TkLNBorderClient::GetPreferredRect(TkLayoutNode* node, CRect& rect)
{
    rect.SetRectEmpty();
    ITkHideableNode* hideable = dynamic_cast<ITkHideableNode*>(node);
    if (!node || (hideable && !hideable->IsNodeVisible()))
        return;
    rect = node->GetReferenceRect();
    node->ApplySizeLimits(rect);
}

BOOL TkLNBorderClient::FitClientLimits(const CRect& bounds, CRect& client, Borders& borders)
{
    TkLayoutNode* clientNode = GetBorderNode(kClient);
    if (!clientNode)
        return FALSE;
    CSize minimum, maximum;
    DWORD flags = 0;
    clientNode->GetSizeLimits(&minimum, &maximum, &flags);
    int dx = 0;
    int dy = 0;
    if (!(flags & kNoMaximum))
    {
        if (client.Width() > maximum.cx)
            dx = maximum.cx - client.Width();
        if (client.Height() > maximum.cy)
            dy = maximum.cy - client.Height();
    }
    if (!(flags & kNoMinimum))
    {
        if (client.Width() < minimum.cx)
            dx += minimum.cx - client.Width();
        if (client.Height() < minimum.cy)
            dy += minimum.cy - client.Height();
    }
    GrowAlongAxis(GetBorderNode(kLeft) != NULL, GetBorderNode(kRight) != NULL, bounds, client, dx,
                  TRUE);
    GrowAlongAxis(GetBorderNode(kTop) != NULL, GetBorderNode(kBottom) != NULL, bounds, client, dy,
                  FALSE);
    ClipToBounds(client, bounds);
    FitBordersToClient(client, borders);
    return TRUE;
}

// Half of delta from the start edge, the rest from the end edge, each within
// the bounds; what neither could take goes on the start edge regardless.
void TkLNBorderClient::GrowAlongAxis(BOOL first, BOOL second, const CRect& bounds, CRect& client,
                                     int delta, BOOL horizontal)
{
    if (delta == 0)
        return;
    LONG& start = horizontal ? client.left : client.top;
    LONG& end = horizontal ? client.right : client.bottom;
    LONG boundsStart = horizontal ? bounds.left : bounds.top;
    LONG boundsEnd = horizontal ? bounds.right : bounds.bottom;
    if (first)
    {
        LONG moved = std::max(start - delta / 2, boundsStart);
        delta += moved - start;
        start = moved;
    }
    if (second)
    {
        LONG moved = std::min(end + delta, boundsEnd);
        delta -= moved - end;
        end = moved;
    }
    start -= delta;
}

void TkLNBorderClient::ClipToBounds(CRect& client, const CRect& bounds)
{
    client.left = std::max(client.left, bounds.left);
    client.top = std::max(client.top, bounds.top);
    client.right = std::min(client.right, bounds.right);
    client.bottom = std::min(client.bottom, bounds.bottom);
}

void TkLNBorderClient::FitBordersToClient(const CRect& client, Borders& b)
{
    b.left.right = client.left;
    b.right.left = client.right;
    b.top.bottom = client.top;
    b.bottom.top = client.bottom;
    if (m_mode == kVerticalFirst)
    {
        b.top.left = b.bottom.left = b.left.right;
        b.top.right = b.bottom.right = b.right.left;
    }
    else
    {
        b.left.top = b.right.top = b.top.bottom;
        b.left.bottom = b.right.bottom = b.bottom.top;
    }
}

BOOL TkLNBorderClient::FitBorders(const CRect& bounds, Borders& borders)
{
    if (m_mode == kVerticalFirst)
        return FitBordersVerticalFirst(bounds, borders);
    return FitBordersHorizontalFirst(bounds, borders);
}

int TkLNBorderClient::RefitBorder(int position, CRect& rect, BOOL horizontal)
{
    TkLayoutNode* node = GetBorderNode(position);
    if (!node)
        return -1;
    CRect accepted;
    node->RecalcLayout(accepted, rect, TRUE, TRUE);
    int given = horizontal ? rect.Height() : rect.Width();
    int taken = horizontal ? accepted.Height() : accepted.Width();
    return taken == given ? -1 : taken;
}

BOOL TkLNBorderClient::FitBordersHorizontalFirst(const CRect& bounds, Borders& borders)
{
    return RefitBorders(bounds, borders, TRUE);
}

BOOL TkLNBorderClient::FitBordersVerticalFirst(const CRect& bounds, Borders& borders)
{
    return RefitBorders(bounds, borders, FALSE);
}

// Each border that accepted another thickness is corrected from its outer
// edge; the borders that fit between it and its opposite follow it.
BOOL TkLNBorderClient::RefitBorders(const CRect& bounds, Borders& b, BOOL horizontalFirst)
{
    BOOL changed = FALSE;
    int size = RefitBorder(kTop, b.top, TRUE);
    if (size >= 0)
    {
        b.top.bottom = std::min(b.top.top + size, bounds.bottom);
        if (horizontalFirst)
            b.left.top = b.right.top = b.top.bottom;
        changed = TRUE;
    }
    size = RefitBorder(kBottom, b.bottom, TRUE);
    if (size >= 0)
    {
        b.bottom.top = std::max(std::max(b.bottom.bottom - size, bounds.top), b.top.bottom);
        if (horizontalFirst)
            b.left.bottom = b.right.bottom = b.bottom.top;
        changed = TRUE;
    }
    size = RefitBorder(kLeft, b.left, FALSE);
    if (size >= 0)
    {
        b.left.right = std::min(b.left.left + size, bounds.right);
        if (!horizontalFirst)
            b.top.left = b.bottom.left = b.left.right;
        changed = TRUE;
    }
    size = RefitBorder(kRight, b.right, FALSE);
    if (size >= 0)
    {
        b.right.left = std::max(std::max(b.right.right - size, bounds.left), b.left.right);
        if (!horizontalFirst)
            b.top.right = b.bottom.right = b.right.left;
        changed = TRUE;
    }
    return changed;
}

// Borders pushed over each other leave empty rectangles, never inverted ones.
void TkLNBorderClient::ApplyBorderRects(const CRect& client, const Borders& b)
{
    const CRect* rects[kPositionCount] = {&b.top, &b.bottom, &b.left, &b.right, &client};
    static const int kOrder[] = {kClient, kTop, kBottom, kLeft, kRight};
    for (int position : kOrder)
        if (TkLayoutNode* node = GetBorderNode(position))
        {
            CRect rect = *rects[position];
            rect.right = std::max(rect.right, rect.left);
            rect.bottom = std::max(rect.bottom, rect.top);
            CRect accepted;
            node->RecalcLayout(accepted, rect, FALSE, TRUE);
        }
}
