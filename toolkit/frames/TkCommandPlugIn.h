// TkCommandPlugIn: an object that a toolkit frame offers its commands to
// (after an MDI frame's active child, before the frame's own handlers).
// A frame makes one from a run-time class with CreateCommandPlugIn; what the
// three creation values mean is the plug-in's. Its own message map handles
// commands; the handled flag tells the frame that the answer stands.
#pragma once

#include <afxwin.h>

class TkCommandPlugIn : public CCmdTarget
{
    DECLARE_DYNCREATE(TkCommandPlugIn)
public:
    TkCommandPlugIn();

    virtual BOOL Create(DWORD_PTR first, DWORD_PTR second, DWORD style, DWORD_PTR third);
    // FALSE when the plug-in cannot serve the frame.
    virtual BOOL Attach(CFrameWnd* frame);
    // Sets the handled flag when the plug-in's handlers took the command.
    BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) override;
    // Read and cleared by the frame after each offer.
    BOOL TakeHandled();

    CFrameWnd* GetFrame() const { return m_pFrame; }

    // The creation style the frames pass.
    static const DWORD kFrameStyle = 0x80000001;

    // A frame's plug-in made of that class (NULL for none), created and
    // attached, put in slot in place of the one there; NULL when attaching
    // fails (slot unchanged).
    static TkCommandPlugIn* CreateFor(CFrameWnd* frame, TkCommandPlugIn*& slot, DWORD_PTR first,
                                      DWORD_PTR second, CRuntimeClass* plugInClass,
                                      DWORD_PTR third);
    // The command routed through the plug-in: TRUE with result set when it
    // handled it.
    static BOOL Route(TkCommandPlugIn* plugIn, UINT id, int code, void* extra,
                      AFX_CMDHANDLERINFO* handlerInfo, BOOL& result);

protected:
    CFrameWnd* m_pFrame;
    BOOL m_bHandled;
};
