// A static control that looks and acts like a web link: underlined, coloured
// by whether it was visited or the mouse is over it, a hand cursor, a tip with
// its URL, and a click opens the URL with the shell (or the browser that
// opens HTML files), telling the user why when that fails.
#pragma once

#include <afxwin.h>
#include <afxcmn.h>

class CHyperLink : public CStatic
{
public:
    CHyperLink();
    ~CHyperLink() override;

    void SetURL(LPCSTR url);
    CString GetURL() const { return m_url; }
    void SetColours(COLORREF link, COLORREF visited, COLORREF hover = COLORREF(-1));
    COLORREF GetLinkColour() const { return m_linkColour; }
    COLORREF GetVisitedColour() const { return m_visitedColour; }
    COLORREF GetHoverColour() const { return m_hoverColour; }
    void SetVisited(BOOL visited = TRUE);
    BOOL GetVisited() const { return m_visited; }
    // The control copies nothing: the caller keeps the cursor alive.
    void SetLinkCursor(HCURSOR cursor) { m_linkCursor = cursor; }
    HCURSOR GetLinkCursor() const { return m_linkCursor; }
    void SetUnderline(BOOL underline = TRUE);
    BOOL GetUnderline() const { return m_underline; }
    void SetAutoSize(BOOL autoSize = TRUE);
    BOOL GetAutoSize() const { return m_adjustToFit; }

    BOOL PreTranslateMessage(MSG* msg) override;
    void PreSubclassWindow() override;

    // ShellExecute's "open", else the command that opens HTML files with the
    // URL appended; the result of the call that ran last.
    static HINSTANCE GotoURL(LPCSTR url, int showCommand);
    // The text the error box gives for a ShellExecute or WinExec result.
    static CString ResultText(int result);

protected:
    HBRUSH CtlColor(CDC* dc, UINT ctlColor);
    void OnMouseMove(UINT flags, CPoint point);
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    void OnClicked();
    DECLARE_MESSAGE_MAP()

private:
    void MakeFont();
    void PositionWindow();
    void SetDefaultCursor();
    void ReportError(int result);

    CString m_url;
    COLORREF m_linkColour;
    COLORREF m_visitedColour;
    COLORREF m_hoverColour;
    BOOL m_overControl;
    BOOL m_visited;
    BOOL m_underline;
    BOOL m_adjustToFit;
    HCURSOR m_linkCursor;
    // Ours to destroy: a copy of the system's link cursor.
    HCURSOR m_ownCursor;
    CFont m_font;
    CToolTipCtrl m_toolTip;
};
