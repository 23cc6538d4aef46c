// The narrow strip at the left edge of a view with the view's caption written
// upwards on a colour gradient; it lights up while its view is the active one.
// The view owns it, lays itself out around GetWidth and calls Draw from its
// paint.
#pragma once

#include <afxwin.h>

// Fills the rectangle with bands of colour from one colour to the other, top
// to bottom, or left to right when horizontal.
void FillGradient(CDC* dc, const RECT& rect, COLORREF from, COLORREF to, BOOL horizontal);

class CHelperBanner
{
public:
    explicit CHelperBanner(CWnd* owner);
    virtual ~CHelperBanner() {}
    CHelperBanner(const CHelperBanner&) = delete;
    CHelperBanner& operator=(const CHelperBanner&) = delete;

    void SetText(const char* text) { m_text = text; }
    const CString& GetText() const { return m_text; }
    // The owner lays itself out again.
    void Show(BOOL show) { m_shown = show != FALSE; }
    BOOL IsShown() const { return m_shown; }
    BOOL IsActive() const { return m_active; }
    // What the owner must leave free at its left.
    int GetWidth() const;
    void SetActive(BOOL active);
    void Resize(int ownerHeight);
    void Draw(CDC* dc, const RECT& update);
    void SetOrigin(int x, int y);

private:
    CRect StripRect(int ownerHeight) const;
    void InvalidateStrip(int ownerHeight);
    int OwnerHeight() const;

    static const int kStripWidth = 18;

    bool m_shown = false;
    bool m_active = false;
    COLORREF m_textInactive = RGB(0xFF, 0xFF, 0xFF);
    COLORREF m_textActive = RGB(0xFF, 0xFF, 0xFF);
    COLORREF m_shadowInactive = 0x404040;
    COLORREF m_shadowActive = 0x4040FF;
    CFont m_font;
    CString m_text;
    int m_width = kStripWidth;
    CWnd* m_owner;
    CPoint m_origin;
};
