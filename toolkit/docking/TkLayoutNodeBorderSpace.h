// Border spaces: drawing nodes with four margins around one child; they
// paint the margins (button face) and keep the child inside them.
// TkLNBorderClientEdge is the border the frame puts on each side of its
// docking area: its margins are etched 3-D edges, drawn only on the sides
// its owner switches on.
#pragma once

#include "toolkit/docking/TkLNBorder.h"
#include "toolkit/docking/TkLayoutNodeDC.h"

class ITkBorderWrapper
{
public:
    virtual ~ITkBorderWrapper() {}
    // A change re-applies the margins and lays the node out in place.
    virtual BOOL EnableMargins(BOOL enable, BOOL realize) = 0;
    virtual BOOL AreMarginsEnabled() = 0;
};

class TkLayoutNodeBorderSpace : public TkLNBorder_T<TkLayoutNodeDCBase>, public ITkBorderWrapper
{
public:
    enum Side
    {
        kSideTop = 0,
        kSideBottom = 1,
        kSideLeft = 2,
        kSideRight = 3,
    };

    TkLayoutNodeBorderSpace();

    void CalcLayout(CRect& result, const CRect& rect, BOOL constrain, BOOL force) override;
    void DrawNode(CDC* dc, const CRect& rect) override;
    BOOL EnableMargins(BOOL enable, BOOL realize) override;
    BOOL AreMarginsEnabled() override;

    virtual void SetMargins(int left, int top, int right, int bottom);
    virtual void DrawMargins(CDC* dc, const CRect& rect, int side);
    virtual void InvalidateChangedStrips();
    virtual void InvalidateMargins(const CRect& rect);
    // With sideStripsFirst the left and right strips take the full height.
    virtual void ComputeStrips(const CRect& rect, BOOL sideStripsFirst, CRect& left, CRect& right,
                               CRect& top, CRect& bottom);

    // The margin strip of a side (kSideTop...).
    CRect GetStrip(int side) const { return m_strips[side]; }

protected:
    // Sets the margins from the stored widths.
    void ApplyMargins();

    BOOL m_sideStripsFirst;
    BOOL m_marginsEnabled;
    int m_widthLeft;
    int m_widthTop;
    int m_widthRight;
    int m_widthBottom;
    CRect m_strips[4];
    CRect m_oldStrips[4];
    CRect m_laidOutRect;
};

// Hidden while its dock line holds nothing: the border client then gives it
// no room.
class TkLNBorderClientEdge : public TkLayoutNodeBorderSpace,
                             public TkParentOfNegotiableChildNode,
                             public TkDefHideableNode
{
public:
    TkLNBorderClientEdge();
    ~TkLNBorderClientEdge() override;

    void SetEdgeFlags(int left, int top, int right, int bottom);
    // A side with an edge gets the three bands' width, the others none.
    void SetMargins(int left, int top, int right, int bottom) override;
    void CalcLayout(CRect& result, const CRect& rect, BOOL constrain, BOOL force) override;
    void InvalidateMargins(const CRect& rect) override;
    void DrawMargins(CDC* dc, const CRect& rect, int side) override;

    BOOL IsEdgeOn(int side, BOOL* horizontal);
    // The band between offsets from and to inside rect, counted inwards from side.
    CRect GetBandRect(const CRect& rect, int from, int to, int side);
    void DrawEdge(CDC* dc, const CRect& rect, int side);

private:
    int EdgeFlag(int side) const;

    int m_edgeLeft;
    int m_edgeTop;
    int m_edgeRight;
    int m_edgeBottom;
    int m_outerBand;
    int m_middleBand;
    int m_innerBand;
    HPEN m_highlightPen;
    HPEN m_shadowPen;
};
