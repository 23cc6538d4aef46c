// CLxListTip: a borderless popup showing the whole text of a list cell whose
// text is cut off. While shown it holds the mouse capture and hands every
// click and key back to the window beneath, so it never acts as a window of
// its own.
#pragma once

#include <afxwin.h>

class CLxListTip : public CWnd
{
public:
    CLxListTip();

    virtual BOOL Create(CWnd* parent);
    // cell in the list's client coordinates; offset: where the text starts in it.
    void Show(const RECT& cell, const CString& text, int offset);
    void Hide();
    BOOL PreTranslateMessage(MSG* msg) override;

    CFont* m_pFont;  // not owned

protected:
    void OnMouseMove(UINT flags, CPoint point);
    void OnPaint();
    DECLARE_MESSAGE_MAP()

private:
    // The window beneath a screen point: the list where that is the tip itself.
    CWnd* WindowBeneath(CPoint screen);
    void PassClick(const MSG& msg);

    CWnd* m_pParent;
    CRect m_hitRect;
    CRect m_lastCell;
    CString m_lastText;
    CRect m_pendingCell;
    CString m_pendingText;
};
