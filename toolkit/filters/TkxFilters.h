// The extended system-command filters that the frames' descriptor tables
// name. Each window's tree creates them by run-time class; their own
// handling of the registered message and of the caption's extra button,
// right click and right double-click comes with the menu classes, so for
// now they act as their bases do.
#pragma once

#include "filters/TkCaptionMsgFilter.h"

namespace nsSysCommandEx
{
// The registered message "Toolkit::WM_SYSCOMMANDEX", registered on first use.
UINT GetSysCommandExMessage();
// TRUE when message is that one: root filtered it and result holds its answer.
BOOL FilterSysCommandEx(TkMsgFilter* root, UINT message, WPARAM wParam, LPARAM lParam,
                        LRESULT* result);

class TkxMsgFilter : public TkMsgFilter
{
    DECLARE_DYNCREATE(TkxMsgFilter)
public:
    TkxMsgFilter() {}
    TkxMsgFilter(const TkxMsgFilter& other) : TkMsgFilter(other) {}
    TkMsgFilter* Clone() const override { return CloneFilter(*this); }
};

class TkxButtonMsgFilter : public TkCaptionControlMsgFilter
{
    DECLARE_DYNCREATE(TkxButtonMsgFilter)
public:
    TkxButtonMsgFilter() {}
    TkxButtonMsgFilter(const TkxButtonMsgFilter& other) : TkCaptionControlMsgFilter(other) {}
    TkMsgFilter* Clone() const override { return CloneFilter(*this); }
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
};

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
};

class TkxContextMenuFilter : public TkMsgFilter
{
    DECLARE_DYNCREATE(TkxContextMenuFilter)
public:
    TkxContextMenuFilter() {}
    TkxContextMenuFilter(const TkxContextMenuFilter& other) : TkMsgFilter(other) {}
    TkMsgFilter* Clone() const override { return CloneFilter(*this); }
};
}  // namespace nsSysCommandEx
