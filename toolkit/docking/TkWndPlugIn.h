// Plug-ins: window objects that are never created as windows of their own.
// A plug-in borrows the handle of an existing window (it stays out of the
// class library's handle map, so it never owns or destroys the window) and
// hears that window's messages through its own message map.
//
// TkWndListener adds subclassing: any number of listeners attach to one
// window; one shared window procedure (or dialog procedure, for windows that
// have one) hands every message to them in attach order, then to the
// procedure the window had before. A listener stops later listeners with
// routing flag kStop and keeps the window's own procedure out with kHandled.
// The chain stacks on the class library's subclassing in either order.
#pragma once

#include <afxwin.h>

class TkWndPlugIn : public CWnd
{
    DECLARE_DYNAMIC(TkWndPlugIn)
public:
    TkWndPlugIn();
    ~TkWndPlugIn() override;

    virtual LRESULT SetMsgAnswer(LRESULT value);
    virtual BOOL PlugInTo(CWnd* window);
    virtual void UnPlug();
    virtual BOOL IsPlugged();

    BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) override;
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    // Commands go to this object's own handlers only; the window itself
    // reflects them to its controls.
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    // 0 unless default processing was permitted: the window's own procedure
    // runs after the plug-ins anyway.
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    BOOL m_defaultPermitted;
    BOOL m_answerOverride;
    LRESULT m_answer;
    BOOL m_attached;

    DECLARE_MESSAGE_MAP()
};

class TkWndListener : public TkWndPlugIn
{
    DECLARE_DYNAMIC(TkWndListener)
public:
    enum RoutingFlags
    {
        // No later listener gets this message.
        kStop = 1,
        // The window's own procedure is not called; the listeners' result stands.
        kHandled = 2,
    };

    TkWndListener();
    ~TkWndListener() override;

    LRESULT SetMsgAnswer(LRESULT value) override;
    BOOL PlugInTo(CWnd* window) override;
    void UnPlug() override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    virtual BOOL PlugInToWnd(CWnd* window, LPARAM unused);
    virtual void SetRoutingFlags(DWORD flags);
    virtual BOOL OnListenerMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual BOOL SendToListener(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL AddToChain(CWnd* window);
    virtual BOOL JoinChain(void* entry);
    virtual BOOL CreateChain(CWnd* window);
    virtual BOOL UsesWindowProc(CWnd* window);
    virtual BOOL RemoveFromChain();

    // What the chain returns for the message being dispatched, whatever the
    // handler answered.
    void SetListenerResult(LRESULT result);
    // The routing flags of the message just dispatched, cleared for the next.
    DWORD TakeRoutingFlags();

private:
    DWORD m_routingFlags;
    HWND m_savedWnd;
    BOOL m_resultOverride;
    LRESULT m_result;
};

// The message a leaving chain sends so that a chain above it takes over the
// procedure it had saved (wParam: the leaving chain's procedure, lParam: the
// procedure it restores).
extern const UINT WM_TK_REMOVEFROMCHAIN;
