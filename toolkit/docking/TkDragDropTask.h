// Drag start and the local drag task. A listener on a window turns a press
// on something draggable (a gripper, a caption) into a drag: the press is
// watched until the mouse has moved the threshold away, then the task runs
// the drag. The local task captures the mouse and pumps the thread's
// messages itself until the button is released (dropped), or Escape, the
// right button, a lost capture or WM_QUIT cancel it. What a drag does is
// the feature's business; it sees five calls and no messages.
#pragma once

#include "toolkit/docking/TkLayoutWndListener.h"
#include "toolkit/docking/TkReleasePoll.h"

#include <cmath>

// The docking work of a drag (the drag-drop docking feature).
class ITkDragDropFeature
{
public:
    virtual ~ITkDragDropFeature() {}
    virtual BOOL CanStartDrag(UINT flags, CPoint point) = 0;
    virtual BOOL OnStartDrag(UINT flags, CPoint point) = 0;
    virtual BOOL OnDragMove(UINT flags, CPoint point) = 0;
    virtual BOOL OnEndDrag(UINT flags, CPoint point, BOOL dropped) = 0;
    virtual BOOL OnDoubleClick(UINT flags, CPoint point) = 0;
};

// Hands the task's calls to the feature unchanged; no feature answers 0.
class TkDragDropTaskBase
{
public:
    TkDragDropTaskBase() : m_feature(NULL) {}
    virtual ~TkDragDropTaskBase() {}
    virtual BOOL CanStartDrag(UINT flags, CPoint point)
    {
        return m_feature && m_feature->CanStartDrag(flags, point);
    }
    virtual BOOL OnStartDrag(UINT flags, CPoint point)
    {
        return m_feature && m_feature->OnStartDrag(flags, point);
    }
    virtual BOOL OnDragMove(UINT flags, CPoint point)
    {
        return m_feature && m_feature->OnDragMove(flags, point);
    }
    virtual BOOL OnEndDrag(UINT flags, CPoint point, BOOL dropped)
    {
        return m_feature && m_feature->OnEndDrag(flags, point, dropped);
    }
    virtual BOOL OnDragDoubleClick(UINT flags, CPoint point)
    {
        return m_feature && m_feature->OnDoubleClick(flags, point);
    }

    ITkDragDropFeature* m_feature;
};

template <class T>
class TkStartDragCore_T : public T
{
public:
    TkStartDragCore_T() : m_threshold(1.0), m_tracking(FALSE), m_pressPoint(0, 0) {}

    BOOL OnListenerMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override
    {
        if (RouteMouse(message, wParam, lParam))
        {
            this->SetRoutingFlags(255);
            *result = 0;
            return TRUE;
        }
        return T::OnListenerMsg(message, wParam, lParam, result);
    }

    // For messages that reach the plug-in as a raw MSG.
    virtual BOOL FilterMouseMessage(MSG* msg)
    {
        UINT flags = (UINT)msg->wParam;
        switch (msg->message)
        {
        case WM_MOUSEMOVE:
            return OnTrackMove(flags, GetScreenPoint(msg)) != 0;
        case WM_LBUTTONDOWN:
            return OnButtonDown(flags, GetScreenPoint(msg)) != 0;
        case WM_LBUTTONUP:
            return OnButtonUp(flags, GetScreenPoint(msg)) != 0;
        }
        return FALSE;
    }
    virtual BOOL CanStartDrag(UINT, CPoint) { return FALSE; }
    virtual BOOL StartDrag(UINT, CPoint, CPoint) { return FALSE; }
    virtual BOOL OnDragDoubleClick(UINT, CPoint) { return FALSE; }
    virtual BOOL OnButtonDown(UINT flags, CPoint point)
    {
        if (!CanStartDrag(flags, point))
            return FALSE;
        m_tracking = TRUE;
        m_pressPoint = point;
        return OnTrackMove(flags, m_pressPoint);
    }
    virtual BOOL OnButtonUp(UINT, CPoint)
    {
        m_tracking = FALSE;
        return FALSE;
    }
    virtual BOOL OnButtonDoubleClick(UINT flags, CPoint point)
    {
        if (!CanStartDrag(flags, point))
            return FALSE;
        return OnDragDoubleClick(flags, point);
    }
    // A move of exactly the threshold starts the drag.
    virtual BOOL OnTrackMove(UINT flags, CPoint point)
    {
        if (!m_tracking)
            return FALSE;
        double dx = point.x - m_pressPoint.x;
        double dy = point.y - m_pressPoint.y;
        if (std::sqrt(dx * dx + dy * dy) < m_threshold)
            return FALSE;
        m_tracking = FALSE;
        return StartDrag(flags, m_pressPoint, point);
    }
    // Coordinates are signed: a point left of or above the window is negative.
    virtual CPoint GetScreenPoint(const MSG* msg)
    {
        CPoint point((short)LOWORD(msg->lParam), (short)HIWORD(msg->lParam));
        ::ClientToScreen(msg->hwnd, &point);
        return point;
    }

    double m_threshold;
    BOOL m_tracking;
    CPoint m_pressPoint;

protected:
    BOOL RouteMouse(UINT message, WPARAM wParam, LPARAM lParam)
    {
        CPoint point((short)LOWORD(lParam), (short)HIWORD(lParam));
        UINT flags = (UINT)wParam;
        switch (message)
        {
        case WM_LBUTTONDOWN:
            return OnButtonDown(flags, ClientPointToScreen(point));
        case WM_LBUTTONUP:
            return OnButtonUp(flags, ClientPointToScreen(point));
        case WM_LBUTTONDBLCLK:
            return OnButtonDoubleClick(flags, ClientPointToScreen(point));
        case WM_MOUSEMOVE:
            return OnTrackMove(flags, ClientPointToScreen(point));
        case WM_NCLBUTTONDOWN:
            return wParam == HTCAPTION && OnButtonDown(HTCAPTION, point);
        case WM_NCLBUTTONUP:
            return OnButtonUp(flags, point);
        case WM_NCLBUTTONDBLCLK:
            return wParam == HTCAPTION && OnButtonDoubleClick(HTCAPTION, point);
        case WM_NCMOUSEMOVE:
            return OnTrackMove(flags, point);
        }
        return FALSE;
    }
    CPoint ClientPointToScreen(CPoint point)
    {
        ::ClientToScreen(this->m_hWnd, &point);
        return point;
    }
};

template <class T>
class TkLocalDragDropTask_T : public TkStartDragCore_T<T>, public TkDragDropTaskBase
{
public:
    BOOL CanStartDrag(UINT flags, CPoint point) override
    {
        return TkDragDropTaskBase::CanStartDrag(flags, point);
    }
    BOOL StartDrag(UINT flags, CPoint pressPoint, CPoint point) override
    {
        if (!OnStartDrag(flags, pressPoint))
            return FALSE;
        BOOL result = RunDragCapture(flags, point);
        OnEndDrag(flags, point, result);
        return TRUE;
    }
    BOOL OnDragDoubleClick(UINT flags, CPoint point) override
    {
        return TkDragDropTaskBase::OnDragDoubleClick(flags, point);
    }
    // A capture the window already holds belongs to another drag: cancelled.
    virtual BOOL RunDragCapture(UINT& flags, CPoint& point)
    {
        HWND window = this->m_hWnd;
        if (::GetCapture() == window)
            return FALSE;
        ::SetCapture(window);
        ::UpdateWindow(window);
        BOOL result = RunDragLoop(flags, point);
        if (::GetCapture() == window)
            ::ReleaseCapture();
        return result;
    }
    // Reads MSG.pt (screen coordinates), also of the release; keys are swallowed; WM_QUIT ends
    // the drag cancelled and is posted again for the thread's own loop.
    virtual BOOL RunDragLoop(UINT& flags, CPoint& point)
    {
        HWND window = this->m_hWnd;
        AfxLockTempMaps();
        OnDragLoopMove(flags, point);
        TkReleasePoll poll;
        BOOL result = FALSE;
        for (;;)
        {
            if (::GetCapture() != window)
                break;
            MSG msg;
            BOOL got = ::GetMessageA(&msg, NULL, 0, 0);
            if (got <= 0)
            {
                ::PostQuitMessage(got == 0 ? (int)msg.wParam : 0);
                break;
            }
            if (poll.IsPoll(msg))
            {
                if (!poll.FoundReleased(msg))
                    continue;
                ::GetCursorPos(&point);
                flags = KeyFlagsNow();
                OnDragLoopMove(flags, point);
                result = TRUE;
                break;
            }
            if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE)
                break;
            if (msg.message == WM_RBUTTONDOWN)
                break;
            if (msg.message == WM_LBUTTONUP)
            {
                flags = (UINT)msg.wParam;
                point = msg.pt;
                result = TRUE;
                break;
            }
            if (msg.message == WM_MOUSEMOVE)
            {
                point = msg.pt;
                OnDragLoopMove((UINT)msg.wParam, point);
                continue;
            }
            if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST)
                continue;
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        AfxUnlockTempMaps(TRUE);
        return result;
    }
    virtual BOOL OnDragLoopMove(UINT flags, CPoint point) { return OnDragMove(flags, point); }
    static UINT KeyFlagsNow()
    {
        return (::GetKeyState(VK_CONTROL) < 0 ? MK_CONTROL : 0) | (::GetKeyState(VK_SHIFT) < 0 ? MK_SHIFT : 0);
    }
};
