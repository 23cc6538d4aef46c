// The extended system commands: a window changes its state (MDI child,
// docked to a side, floating) through the registered message
// "Toolkit::WM_SYSCOMMANDEX", which TkxMsgFilter in the window's filter
// tree answers. The other filters send it: the extra caption button (a
// click toggles, holding it or a right press opens the state menu), a right
// double-click on the caption (toggles) and a right click on the caption
// (the state menu); their variants act for an MDI frame's maximised child.
#pragma once

#include "toolkit/filters/TkCaptionMsgFilter.h"

class TkMultiDocTemplate;

namespace nsSysCommandEx
{
// The registered message "Toolkit::WM_SYSCOMMANDEX", registered on first use.
UINT GetSysCommandExMessage();
// TRUE when message is that one: root filtered it and result holds its answer.
BOOL FilterSysCommandEx(TkMsgFilter* root, UINT message, WPARAM wParam, LPARAM lParam,
                        LRESULT* result);

// wParam & 0xFFF0 of the message.
const WPARAM kExecute = 0xC000;
const WPARAM kQueryMenu = 0xC010;
const WPARAM kShowMenu = 0xC020;
// Bits of the record's flags.
const LONG_PTR kPositionGiven = 1;
const LONG_PTR kSizeGiven = 2;
// The record's command: toggle between MDI child and docked.
const LONG_PTR kToggle = -1;

// States and their categories (1 MDI child, 5 docked, 10 floating).
enum State
{
    stateNone = 0,
    stateMDIChild = 1,
    stateMinimized = 2,
    stateMaximized = 3,
    stateRestored = 4,
    stateDocked = 5,
    stateDockedLeft = 6,
    stateDockedTop = 7,
    stateDockedRight = 8,
    stateDockedBottom = 9,
    stateFloating = 10,
};

// The command record lParam points to: 27 pointer-sized words, zeroed before
// use.
struct Record
{
    HWND hWnd;
    LONG_PTR flags;
    LONG_PTR x;
    LONG_PTR y;
    LONG_PTR cx;
    LONG_PTR cy;
    LONG_PTR buttonLeft;
    LONG_PTR buttonTop;
    LONG_PTR buttonRight;
    LONG_PTR buttonBottom;
    HMENU hMenu;
    LONG_PTR command;
    // Optional layout words of the docking code (placement, size, ...).
    LONG_PTR extra[15];
};

// Sends the message to window with a copy of record; its answer.
LRESULT SendSysCommandEx(HWND window, WPARAM command, const Record& record);

class TkxMsgFilter : public TkMsgFilter
{
    DECLARE_DYNCREATE(TkxMsgFilter)
public:
    TkxMsgFilter() : m_bCopy(FALSE) {}
    TkxMsgFilter(const TkxMsgFilter& other) : TkMsgFilter(other), m_bCopy(FALSE) {}
    TkMsgFilter* Clone() const override { return CloneFilter(*this); }
    LRESULT OnFilter(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    virtual LRESULT OnShowMenu(Record* record, LRESULT* result);
    virtual LRESULT OnQueryMenu(Record* record, LRESULT* result);
    virtual LRESULT OnExecute(Record* record, LRESULT* result);
    virtual HMENU GetMenu(const Record* record);
    virtual UINT TrackMenu(HMENU menu, const Record* record);
    virtual void ExecuteChoice(UINT command, const Record* record);
    virtual HMENU BuildStateMenu(const Record* record);
    virtual HMENU BuildMenu(const Record* record);
    virtual BOOL MakeMdiChild(CFrameWnd* frame, int state, int newState,
                              TkMultiDocTemplate* docTemplate, Record* record);
    virtual BOOL MakeDocked(CFrameWnd* frame, int state, int newState,
                            TkMultiDocTemplate* docTemplate, Record* record);
    virtual BOOL MakeFloating(CFrameWnd* frame, int state, int newState,
                              TkMultiDocTemplate* docTemplate, Record* record);
    virtual BOOL DockDefault(CFrameWnd* frame, TkMultiDocTemplate* docTemplate, Record* record);
    virtual BOOL RedockFloating(CFrameWnd* frame, int state, Record* record);
    virtual BOOL DockAt(CFrameWnd* frame, UINT dockBarId, const Record* record,
                        TkMultiDocTemplate* docTemplate);
    virtual int Category(int code) const;
    virtual int DefaultTarget(CFrameWnd* frame, int state, const Record* record) const;
    virtual int GetState(CFrameWnd* frame, TkMultiDocTemplate* docTemplate) const;
    virtual CDocTemplate* GetTemplate(const Record* record, CRuntimeClass* templateClass) const;
    virtual BOOL Handles(WPARAM wParam, const Record* record) const;

protected:
    // Set only on the temporary copy that runs a command.
    BOOL m_bCopy;
};

class TkxButtonMsgFilter : public TkCaptionControlMsgFilter
{
    DECLARE_DYNCREATE(TkxButtonMsgFilter)
public:
    TkxButtonMsgFilter();
    TkxButtonMsgFilter(const TkxButtonMsgFilter& other) : TkCaptionControlMsgFilter(other) {}
    TkMsgFilter* Clone() const override { return CloneFilter(*this); }

    LRESULT OnFilter(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    void Draw() override;
    void Fire(int kind, int x, int y) override;
    BOOL IsShown(BOOL* inactive) const override;

protected:
    // The window the commands are for.
    virtual HWND CommandWindow() const;
};

class TkxButtonMDIChildMsgFilter : public TkxButtonMsgFilter
{
    DECLARE_DYNCREATE(TkxButtonMDIChildMsgFilter)
public:
    TkxButtonMDIChildMsgFilter() {}
    TkxButtonMDIChildMsgFilter(const TkxButtonMDIChildMsgFilter& other)
        : TkxButtonMsgFilter(other)
    {
    }
    TkMsgFilter* Clone() const override { return CloneFilter(*this); }
    LRESULT OnFilter(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    BOOL IsShown(BOOL* inactive) const override;
};

// The extra button in the MDI frame's menu line for its maximised child.
class TkxButtonMDIMaxChildMsgFilter : public TkxButtonMsgFilter
{
    DECLARE_DYNCREATE(TkxButtonMDIMaxChildMsgFilter)
public:
    TkxButtonMDIMaxChildMsgFilter() {}
    TkxButtonMDIMaxChildMsgFilter(const TkxButtonMDIMaxChildMsgFilter& other)
        : TkxButtonMsgFilter(other)
    {
    }
    TkMsgFilter* Clone() const override { return CloneFilter(*this); }
    LRESULT OnFilter(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    BOOL IsShown(BOOL* inactive) const override;

protected:
    HWND CommandWindow() const override;
};

class TkxCaptionNCRDBLClkFilter : public TkCaptionMsgFilter
{
    DECLARE_DYNCREATE(TkxCaptionNCRDBLClkFilter)
public:
    TkxCaptionNCRDBLClkFilter() {}
    TkxCaptionNCRDBLClkFilter(const TkxCaptionNCRDBLClkFilter& other)
        : TkCaptionMsgFilter(other)
    {
    }
    TkMsgFilter* Clone() const override { return CloneFilter(*this); }
    LRESULT OnFilter(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};

class TkxNCRDBLClkMDIMaxChildMsgFilter : public TkNcMsgFilter
{
    DECLARE_DYNCREATE(TkxNCRDBLClkMDIMaxChildMsgFilter)
public:
    TkxNCRDBLClkMDIMaxChildMsgFilter() {}
    TkxNCRDBLClkMDIMaxChildMsgFilter(const TkxNCRDBLClkMDIMaxChildMsgFilter& other)
        : TkNcMsgFilter(other)
    {
    }
    TkMsgFilter* Clone() const override { return CloneFilter(*this); }
    LRESULT OnFilter(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};

class TkxContextMenuFilter : public TkMsgFilter
{
    DECLARE_DYNCREATE(TkxContextMenuFilter)
public:
    TkxContextMenuFilter() {}
    TkxContextMenuFilter(const TkxContextMenuFilter& other) : TkMsgFilter(other) {}
    TkMsgFilter* Clone() const override { return CloneFilter(*this); }
    LRESULT OnFilter(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};
}  // namespace nsSysCommandEx
