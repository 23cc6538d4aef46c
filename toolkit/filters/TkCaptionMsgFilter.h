// Caption filters: buttons drawn into a window's caption with
// DrawFrameControl, tracked with the mouse and turned into WM_SYSCOMMAND.
// TkCaptionMsgFilter knows the caption's geometry; TkCaptionControlMsgFilter
// is one button; TkCaptionControlListMsgFilter lays out its five standard
// buttons (close, maximise, restore, minimise, help) before each message;
// TkCapConLstMDIMaxChildMsgFilter puts them into an MDI frame's menu line
// for its maximised child.
#pragma once

#include "toolkit/filters/TkMsgFilter.h"

class TkCaptionMsgFilter : public TkNcMsgFilter
{
    DECLARE_DYNCREATE(TkCaptionMsgFilter)
public:
    TkCaptionMsgFilter() {}
    TkCaptionMsgFilter(const TkCaptionMsgFilter& other) : TkNcMsgFilter(other) {}
    TkMsgFilter* Clone() const override { return CloneFilter(*this); }

    // In window coordinates; empty without an owner window.
    virtual CRect GetCaptionRect() const;
    virtual CSize GetButtonSize(int cxMetric, int cyMetric) const;
    virtual CSize GetCaptionButtonSize() const;
    // The top left corner of the right-most button.
    virtual CPoint GetFirstButtonPos(const CRect& caption, CSize button) const;
};

class TkCaptionControlMsgFilterTimer;

class TkCaptionControlMsgFilter : public TkCaptionMsgFilter
{
    DECLARE_DYNCREATE(TkCaptionControlMsgFilter)
public:
    // Where a click came from for Fire and GetCommand.
    enum FireKind
    {
        fireClick = 0,
        fireRightPress = 1,
        fireRepeat = 2,
    };

    TkCaptionControlMsgFilter();
    TkCaptionControlMsgFilter(const TkCaptionControlMsgFilter& other);
    ~TkCaptionControlMsgFilter() override;
    TkMsgFilter* Clone() const override { return CloneFilter(*this); }

    LRESULT OnFilter(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    virtual void Draw();
    virtual BOOL HitTest(int x, int y) const;
    virtual void OnNcLButtonDown(int x, int y);
    virtual void OnLButtonUp(int x, int y);
    virtual void OnRepeat(int x, int y);
    virtual void OnMouseMove(int x, int y);
    virtual void Fire(int kind, int x, int y);
    virtual BOOL GetCommand(int kind, int x, int y, HWND* window, UINT* message, WPARAM* wParam,
                            LPARAM* lParam);
    virtual void BeginTracking(BOOL pushed, BOOL redraw);
    virtual void EndTracking(BOOL clearPushed, BOOL redraw);
    virtual void StopRepeat();
    virtual void StartRepeat(int x, int y);
    virtual BOOL IsShown(BOOL* inactive) const;

    // The control id (0-4), -1 for an id that names no control.
    int GetControlId() const;
    const CRect& GetRect() const { return m_rect; }
    void SetRect(const CRect& rect) { m_rect = rect; }
    UINT GetState() const { return m_nState; }
    void SetState(UINT state) { m_nState = state; }
    BOOL IsTracking() const { return m_bTracking; }
    void SetRepeatInterval(int interval) { m_nRepeat = interval; }

protected:
    CRect m_rect;
    UINT m_nType;
    UINT m_nState;
    BOOL m_bTracking;
    int m_nRepeat;
    TkCaptionControlMsgFilterTimer* m_pTimer;
};

class TkCaptionControlListMsgFilter : public TkCaptionMsgFilter
{
    DECLARE_DYNCREATE(TkCaptionControlListMsgFilter)
public:
    TkCaptionControlListMsgFilter();
    TkCaptionControlListMsgFilter(const TkCaptionControlListMsgFilter& other);
    TkMsgFilter* Clone() const override { return CloneFilter(*this); }

    LRESULT OnFilter(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    virtual void LayoutControls();

    const DescriptorTable& GetControlTable() const { return m_controls; }

protected:
    DescriptorTable m_controls;
};

class TkCapConLstMDIMaxChildMsgFilter : public TkCaptionControlListMsgFilter
{
    DECLARE_DYNCREATE(TkCapConLstMDIMaxChildMsgFilter)
public:
    TkCapConLstMDIMaxChildMsgFilter() {}
    TkCapConLstMDIMaxChildMsgFilter(const TkCapConLstMDIMaxChildMsgFilter& other)
        : TkCaptionControlListMsgFilter(other)
    {
    }
    TkMsgFilter* Clone() const override { return CloneFilter(*this); }

    CSize GetCaptionButtonSize() const override;
    CPoint GetFirstButtonPos(const CRect& caption, CSize button) const override;
};

// A hidden window whose timer repeats a held control once. It goes away
// through a posted close, since the control may let it go from its own timer.
class TkCaptionControlMsgFilterTimer : public CWnd
{
public:
    TkCaptionControlMsgFilterTimer(TkCaptionControlMsgFilter* control, int interval, CPoint point);
    BOOL Create();
    // Forgets the control and closes the window later.
    void Release();

protected:
    void PostNcDestroy() override;
    int OnCreate(LPCREATESTRUCTA cs);
    void OnTimer(UINT_PTR id);
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

    TkCaptionControlMsgFilter* m_pControl;
    int m_nInterval;
    BOOL m_bTimerSet;
    BOOL m_bFired;
    CPoint m_point;
};
