#include "toolkit/docking/TkLNContainer.h"
#include "toolkit/docking/TkLNFloatingHwndContainer.h"

#include <afxext.h>

#include <algorithm>
#include <vector>

namespace
{
BOOL g_frameRecalcSuspended = FALSE;
}

void TkSuspendFrameRecalc(BOOL suspend)
{
    g_frameRecalcSuspended = suspend;
}

BOOL TkIsFrameRecalcSuspended()
{
    return g_frameRecalcSuspended;
}

void RecalcAllFrames(BOOL notify)
{
    if (g_frameRecalcSuspended)
        return;
    CWinApp* app = AfxGetApp();
    CWnd* main = AfxGetMainWnd();
    if (main && main->IsFrameWnd())
        static_cast<CFrameWnd*>(main)->RecalcLayout(notify);
    if (!app)
        return;
    std::vector<CFrameWnd*> frames;
    for (POSITION t = app->GetFirstDocTemplatePosition(); t;)
    {
        CDocTemplate* docTemplate = app->GetNextDocTemplate(t);
        for (POSITION d = docTemplate->GetFirstDocPosition(); d;)
        {
            CDocument* document = docTemplate->GetNextDoc(d);
            for (POSITION v = document->GetFirstViewPosition(); v;)
            {
                CFrameWnd* frame = document->GetNextView(v)->GetParentFrame();
                if (frame && frame != main &&
                    std::find(frames.begin(), frames.end(), frame) == frames.end())
                    frames.push_back(frame);
            }
        }
    }
    for (CFrameWnd* frame : frames)
        frame->RecalcLayout(notify);
}

TkLNHwndContainer::TkLNHwndContainer(HWND window) : m_hWnd(window)
{
}

TkLNHwndContainer::TkLNHwndContainer(CWnd* window) : m_hWnd(window->GetSafeHwnd())
{
}

BOOL TkLNHwndContainer::ClientToScreenRect(CRect& rect)
{
    if (!::ClientToScreen(m_hWnd, &rect.TopLeft()))
        return FALSE;
    return ::ClientToScreen(m_hWnd, &rect.BottomRight());
}

BOOL TkLNHwndContainer::ClientToScreenPoint(CPoint& point)
{
    return ::ClientToScreen(m_hWnd, &point);
}

BOOL TkLNHwndContainer::ScreenToClientRect(CRect& rect)
{
    BOOL done = ::ScreenToClient(m_hWnd, &rect.TopLeft());
    return ::ScreenToClient(m_hWnd, &rect.BottomRight()) && done;
}

BOOL TkLNHwndContainer::ScreenToClientPoint(CPoint& point)
{
    return ::ScreenToClient(m_hWnd, &point);
}

BOOL TkLNHwndContainer::PreNodeRectToScreen(CRect&)
{
    return TRUE;
}

BOOL TkLNHwndContainer::PreNodePointToScreen(CPoint&)
{
    return TRUE;
}

BOOL TkLNHwndContainer::PostScreenRectToNode(CRect&)
{
    return TRUE;
}

BOOL TkLNHwndContainer::PostScreenPointToNode(CPoint&)
{
    return TRUE;
}

BOOL TkLNHwndContainer::NodeRectToScreen(CRect& rect)
{
    return PreNodeRectToScreen(rect) && ClientToScreenRect(rect);
}

BOOL TkLNHwndContainer::NodePointToScreen(CPoint& point)
{
    return PreNodePointToScreen(point) && ClientToScreenPoint(point);
}

BOOL TkLNHwndContainer::ScreenRectToNode(CRect& rect)
{
    return ScreenToClientRect(rect) && PostScreenRectToNode(rect);
}

BOOL TkLNHwndContainer::ScreenPointToNode(CPoint& point)
{
    return ScreenToClientPoint(point) && PostScreenPointToNode(point);
}

BOOL TkLNHwndContainer::GetNodeOffset(CPoint& offset)
{
    CPoint origin(0, 0);
    BOOL done = PreNodePointToScreen(origin);
    offset = -origin;
    return done;
}

BOOL TkLNHwndContainer::InvalidateContainer(BOOL erase)
{
    return ::InvalidateRect(m_hWnd, NULL, erase);
}

BOOL TkLNHwndContainer::LockUpdates(BOOL lock)
{
    if (lock)
        return ::LockWindowUpdate(::GetDesktopWindow());
    ::LockWindowUpdate(NULL);
    return TRUE;
}

BOOL TkLNHwndContainer::ShowContainer(BOOL show)
{
    return ::ShowWindow(m_hWnd, show ? SW_SHOWNORMAL : SW_HIDE);
}

BOOL TkLNHwndContainer::GetContainerClientRect(CRect& rect)
{
    return ::GetClientRect(m_hWnd, &rect);
}

BOOL TkLNHwndContainer::GetContainerWindowRect(CRect& rect)
{
    return ::GetWindowRect(m_hWnd, &rect);
}

BOOL TkLNHwndContainer::GetFrameBorders(int* left, int* top, int* right, int* bottom)
{
    for (int* side : {left, top, right, bottom})
        if (side)
            *side = 0;
    return TRUE;
}

BOOL TkLNHwndContainer::Place(const CRect&)
{
    return FALSE;
}

void TkLNHwndContainer::RecalcFrame(BOOL notify)
{
    if (g_frameRecalcSuspended)
        return;
    CWnd* window = CWnd::FromHandlePermanent(m_hWnd);
    if (window && window->IsFrameWnd())
        static_cast<CFrameWnd*>(window)->RecalcLayout(notify);
}

ITkLNContainer* TkLNHwndContainer::CloneContainer()
{
    return new TkLNHwndContainer(m_hWnd);
}

ITkLNContainer* TkLNHwndContainer::CreateFloatingContainer(TkLayoutNode* node, LPCSTR title,
                                                           BOOL hideOnClose, BOOL withCloseItem)
{
    if (!node)
        return NULL;
    ITkLNContainer* container = NewFloatingContainer(m_hWnd);
    TkLNFloatingHwndContainer* floating = dynamic_cast<TkLNFloatingHwndContainer*>(container);
    if (floating && floating->CreateFloatWindow(node, CWnd::FromHandle(m_hWnd), title,
                                                hideOnClose, withCloseItem))
        return floating;
    delete container;
    return NULL;
}

HWND TkLNHwndContainer::SetContainerParent(HWND parent)
{
    if (!m_hWnd || !parent)
        return NULL;
    return ::SetParent(m_hWnd, parent);
}

ITkLNContainer* TkLNHwndContainer::NewFloatingContainer(HWND)
{
    return new TkLNFloatingHwndContainer;
}
