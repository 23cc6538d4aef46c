// CDockState: the saved layout of a frame's control bars, one
// CControlBarInfo per bar, kept in the application's profile ("%s-Summary",
// "%s-Bar%d") or an archive. Positions are scaled when the screen size
// differs from the one the layout was saved on.
#pragma once

#include "platform/mfc/Collections.h"
#include "platform/mfc/Geometry.h"
#include "platform/mfc/Object.h"

class CControlBar;
class CDockState;

class CControlBarInfo
{
public:
    CControlBarInfo();
    virtual ~CControlBarInfo() {}

    // FALSE when there is nothing to keep: an empty, visible, docked dock bar.
    virtual BOOL SaveState(LPCSTR profileName, int index);
    virtual BOOL LoadState(LPCSTR profileName, int index, CDockState* state);
    virtual void Serialize(CArchive& ar, CDockState* state);
    // The bar's place and last places; then its contained ids.
    void SerializePlace(CArchive& ar, CDockState* state);
    void SerializeIds(CArchive& ar);
    // FALSE when the bar's section holds no bar id.
    static BOOL HasSection(LPCSTR profileName, int index);
    static CString SectionName(LPCSTR profileName, int index);
    // Dock bars are not told apart in a saved layout but by their ids.
    static BOOL IsDockBarId(UINT id);

    UINT m_nBarID;
    BOOL m_bVisible;
    BOOL m_bFloating;
    BOOL m_bHorz;
    BOOL m_bDockBar;
    CPoint m_pointPos;
    UINT m_nMRUWidth;
    BOOL m_bDocking;
    UINT m_uMRUDockID;
    CRect m_rectMRUDockPos;
    DWORD m_dwMRUFloatStyle;
    CPoint m_ptMRUFloatPos;
    CDWordArray m_arrBarID;
    CControlBar* m_pBar;
};

class CDockState : public CObject
{
    DECLARE_SERIAL(CDockState)
public:
    CDockState();
    ~CDockState() override;

    // A cut or damaged archive throws before anything of this state changed.
    void Serialize(CArchive& ar) override;
    virtual void LoadState(LPCSTR profileName);
    virtual void SaveState(LPCSTR profileName);
    // Makes the record of one bar for loading; derived states keep more per bar.
    virtual CControlBarInfo* CreateBarInfo();
    void Clear();
    DWORD GetVersion() const { return m_dwVersion; }

    // Saved positions on this screen.
    CPoint ScalePoint(CPoint point) const;
    CRect ScaleRectPos(const CRect& rect) const;
    CSize GetScreenSize() const;
    void SetScreenSize(const CSize& size);

    CPtrArray m_arrBarInfo;
    DWORD m_dwVersion;
    BOOL m_bScaling;
    CRect m_rectDevice;
    CRect m_rectClip;
    CSize m_sizeDevice;

protected:
    // The limit on bar sections read from a damaged profile.
    static const int kMaxBars = 4096;
};
