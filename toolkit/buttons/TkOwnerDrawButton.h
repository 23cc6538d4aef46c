// TkOwnerDrawButton: a push button that draws itself: the 3-D frame, the
// disabled look and the focus, with the face left to DrawContent. Derived
// buttons act in OnClicked, which runs once per Space release or mouse click.
#pragma once

#include <afxwin.h>

class TkOwnerDrawButton : public CButton
{
    DECLARE_DYNCREATE(TkOwnerDrawButton)
public:
    // Flag bit: the button acts as the default push button while it has the focus.
    static const UINT kDefaultButton = 0x0001;

    TkOwnerDrawButton();

    BOOL Create(LPCSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                UINT flags = 0);
    BOOL SubclassDlgItem(UINT id, CWnd* parent, UINT flags = 0);
    // Keeps BS_OWNERDRAW; repaints only when the style changed.
    void SetButtonStyle(UINT style, BOOL redraw = TRUE);

    void DrawItem(LPDRAWITEMSTRUCT drawItem) override;

protected:
    virtual void PrepareDC(CDC* dc);
    // Returns the content rectangle inside the frame.
    virtual CRect DrawFrame(CDC* dc, CRect item, UINT state);
    virtual void DrawContent(CDC* dc, const CRect& content, UINT state);
    virtual void DrawDisabled(CDC* dc, const CRect& content);
    virtual void RestoreDC(CDC* dc);
    virtual void DrawFocus(CDC* dc, CRect item, UINT state);
    virtual void OnClicked();

    void RefreshColors();
    // Where the face lies inside the frame: one pixel right and down while pushed.
    CRect ContentRect(CRect item, UINT state) const;

    LRESULT OnGetDlgCode(WPARAM, LPARAM);
    void OnKeyUp(UINT key, UINT repeat, UINT flags);
    void OnLButtonUp(UINT flags, CPoint point);
    void OnSysColorChange();
    DECLARE_MESSAGE_MAP()

    BOOL m_bNewLook;
    UINT m_nFlags;
    COLORREF m_clrShadow;
    COLORREF m_clrHilite;
    COLORREF m_clrFace;
    COLORREF m_clrWindowFrame;

private:
    void DrawCornerlessOutline(CDC* dc, const CRect& rect);
    // Pushed and captured: a release now completes a click.
    BOOL IsPushedWithCapture() const;
};
