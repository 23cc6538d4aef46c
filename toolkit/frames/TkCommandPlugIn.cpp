#include "toolkit/frames/TkCommandPlugIn.h"

IMPLEMENT_DYNCREATE(TkCommandPlugIn, CCmdTarget)

TkCommandPlugIn::TkCommandPlugIn() : m_pFrame(NULL), m_bHandled(FALSE)
{
}

BOOL TkCommandPlugIn::Create(DWORD_PTR, DWORD_PTR, DWORD, DWORD_PTR)
{
    return TRUE;
}

BOOL TkCommandPlugIn::Attach(CFrameWnd* frame)
{
    m_pFrame = frame;
    return frame != NULL;
}

BOOL TkCommandPlugIn::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo)
{
    BOOL handled = CCmdTarget::OnCmdMsg(id, code, extra, handlerInfo);
    m_bHandled = handled;
    return handled;
}

BOOL TkCommandPlugIn::TakeHandled()
{
    BOOL handled = m_bHandled;
    m_bHandled = FALSE;
    return handled;
}

TkCommandPlugIn* TkCommandPlugIn::CreateFor(CFrameWnd* frame, TkCommandPlugIn*& slot,
                                            DWORD_PTR first, DWORD_PTR second,
                                            CRuntimeClass* plugInClass, DWORD_PTR third)
{
    if (!plugInClass)
        return NULL;
    TkCommandPlugIn* plugIn = static_cast<TkCommandPlugIn*>(plugInClass->CreateObject());
    if (!plugIn)
        return NULL;
    plugIn->Create(first, second, kFrameStyle, third);
    if (!plugIn->Attach(frame))
    {
        delete plugIn;
        return NULL;
    }
    delete slot;
    slot = plugIn;
    return plugIn;
}

BOOL TkCommandPlugIn::Route(TkCommandPlugIn* plugIn, UINT id, int code, void* extra,
                            AFX_CMDHANDLERINFO* handlerInfo, BOOL& result)
{
    if (!plugIn)
        return FALSE;
    result = plugIn->OnCmdMsg(id, code, extra, handlerInfo);
    return plugIn->TakeHandled();
}
