// TkToolBarLayout: how a customisable tool bar arranges its buttons. Rows
// are wrapped at the available length, preferring to break at separators,
// then balanced so that they come out even; the size is remembered per
// orientation (horizontal-docked, vertical-docked, floating) so that docking
// and floating answer at once; points map back to buttons.
//
// The layout reads buttons (TkStdBtn*) from the bar's array and writes only
// their places and TBBS_WRAPPED. Hidden buttons take no part.
#pragma once

#include <afxext.h>

class TkStdBtn;

// Extended bar style: stretch the bar to its owner's length.
const DWORD TKCBRS_EX_STRETCH = 0x80;

struct TkRowInfo
{
    int nLast;         // index of the row's last item
    BOOL bSeparator;   // the row ends at a separator
    int cx;            // without the ending separator
    int cy;
};

// What the layout needs of its bar beyond the buttons.
struct TkLayoutSite
{
    DWORD dwStyle;      // CBRS_SIZE_FIXED, CBRS_SIZE_DYNAMIC
    DWORD dwExStyle;    // TKCBRS_EX_STRETCH
    CRect rectBorders;  // border width on each side, for the mode's orientation
    BOOL bInReBar;
    float fStretch;     // factor on the length in LM_STRETCH mode
};

class TkToolBarLayout
{
public:
    TkToolBarLayout();

    // Button and separator sizes follow the image size.
    void SetImageSize(CSize image);

    int WrapButtons(const CPtrArray& buttons, int width, TkRowInfo* rows) const;
    void BalanceRows(const CPtrArray& buttons, int count, TkRowInfo* rows) const;
    CSize GetRowsSize(const TkRowInfo* rows, int count) const;
    // Wraps for a width (vertical FALSE) or a height, sets TBBS_WRAPPED.
    CSize CalcSize(const CPtrArray& buttons, int length, BOOL vertical) const;
    // length is already the stretched one for a TKCBRS_EX_STRETCH bar.
    CSize CalcLayout(const CPtrArray& buttons, int length, DWORD mode, const TkLayoutSite& site);
    // FALSE when the base bar's layout answers instead.
    BOOL CalcDynamicLayout(const CPtrArray& buttons, int length, DWORD mode, const TkLayoutSite& site,
                           CSize* size);
    CSize CalcFixedLayout(const CPtrArray& buttons, BOOL horizontal, const TkLayoutSite& site);
    // Index of the button under the point (edges included) and its rectangle,
    // -1 for none; separators never hit.
    int ButtonHitTest(const CPtrArray& buttons, CPoint pt, CRect* rect) const;

    int m_cxImage;
    int m_cyImage;
    int m_cxButton;
    int m_cyButton;
    int m_cxSeparator;
    CSize m_sizeHorz;
    CSize m_sizeVert;
    CSize m_sizeFloat;
    BOOL m_bHorzPending;
    BOOL m_bVertPending;
    BOOL m_bFloatPending;
    int m_nFloatWidth;
    // FALSE keeps rows as wrapped (filled from the left) instead of evening them out.
    BOOL m_bBalanceRows;

private:
    int RowGap(const TkRowInfo& row) const;
    CSize CalcContent(const CPtrArray& buttons, int length, DWORD mode, const TkLayoutSite& site) const;
    CSize FixedSize(const CPtrArray& buttons, DWORD mode) const;
    void PlaceButtons(const CPtrArray& buttons, CPoint origin) const;
    void StoreSize(const CPtrArray& buttons, CSize size, int length, DWORD mode, const TkLayoutSite& site);
    CSize RememberedSize(DWORD mode) const;
};
