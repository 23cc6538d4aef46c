// Test nodes: a plain node that counts the live instances and records the
// rectangles it is asked to invalidate; rectangles written as text so that a
// failing row shows them.
#pragma once

#include "toolkit/docking/TkLayoutNode.h"

#include <string>
#include <vector>

inline std::string RectText(const CRect& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

// A window's rectangle in the client coordinates of parent (NULL: the screen).
inline std::string WindowRectText(HWND window, HWND parent)
{
    CRect rect;
    ::GetWindowRect(window, rect);
    ::MapWindowPoints(NULL, parent, (LPPOINT)&rect, 2);
    return RectText(rect);
}

class ProbeNode : public TkLayoutNode
{
public:
    explicit ProbeNode(const char* name = "") { SetNodeName(name); ++s_live; }
    ~ProbeNode() override { --s_live; }

    void InvalidateNodeRect(const CRect& rect, BOOL erase) override
    {
        m_invalidated.push_back(RectText(rect) + (erase ? " erase" : ""));
    }

    std::vector<std::string> m_invalidated;
    static inline int s_live = 0;
};

// The names of a node's children, in list order.
inline std::string ChildNames(TkLayoutNode* node)
{
    std::string names;
    for (POSITION p = node->GetFirstChildPosition(); p; p = node->GetNextChildPosition(p))
        names += (names.empty() ? "" : " ") + std::string(node->GetChildAt(p)->GetNodeName());
    return names;
}
