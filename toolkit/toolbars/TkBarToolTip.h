// TkBarToolTip: the tool tip of one tool bar. The bar hands it every mouse
// message; it asks the bar's tool hit test what lies under the pointer and
// keeps just that one tool in its control, so the tip follows the buttons
// however the bar is laid out. A command's tip text is the part of the
// command's string resource after its first newline.
#pragma once

#include <afxwin.h>
#include <afxcmn.h>

class CControlBar;

class TkBarToolTip
{
public:
    TkBarToolTip();
    ~TkBarToolTip();

    // Shows the message to the tip (creating it on first use) and answers
    // the tool now under the pointer: its hit value, -1 for none.
    INT_PTR Relay(CControlBar* bar, UINT message, WPARAM wParam, LPARAM lParam);
    // Forgets the tool and hides the tip (a press, the bar hiding).
    void Reset();
    // Fills the tip's text request from the string table; FALSE when the
    // notification is not this tip's.
    BOOL OnNeedText(NMHDR* header);
    // The tip part of a "prompt\ntip" resource; empty when there is none.
    static CString TipOfCommand(UINT id);

private:
    void ReplaceTool(CControlBar* bar, TOOLINFOA& info, INT_PTR hit);

    CToolTipCtrl m_tip;
    INT_PTR m_lastHit;
    // The one tool the tip holds while m_lastHit is not -1.
    TOOLINFOA m_tool;
    CString m_text;
};
