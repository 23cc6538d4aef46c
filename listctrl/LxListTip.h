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
    // Called for each left click the list receives: true when it makes a
    // double click with the one the tip passed on just before. The system
    // cannot tell, having seen the first click on the tip.
    bool CompletesDoubleClick(DWORD time, CPoint screen);

    CFont* m_pFont;  // not owned

protected:
    void OnMouseMove(UINT flags, CPoint point);
    void OnPaint();
    LRESULT OnCaptureChanged(WPARAM, LPARAM newCapture);
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
    // The last left click passed on to the list: posted, then received.
    enum PassedClick
    {
        kNoClick,
        kClickPosted,
        kClickReceived
    } m_passedClick;
    DWORD m_passedTime;
    CPoint m_passedPoint;
};
