// TkCaptionFeatures: the caption features that MDI children and docking
// views' frames take from their filter trees: the system-command extension
// (257), the caption control list (256) with its button (258), the caption's
// right double-click (259) and the context menu (262), each switched on or
// off by feature flags.
#pragma once

#include "toolkit/filters/TkCaptionMsgFilter.h"

class TkCaptionFeatures
{
public:
    // Feature flags.
    enum
    {
        filtersOn = 1,
        noCaptionButtons = 2,
        noCaptionDoubleClick = 4,
        noContextMenu = 8,
    };
    static const UINT kCaptionListFilter = 256;

    // The five descriptors, the caption button made of buttonFilter.
    static void AddDescriptors(TkMsgFilter::DescriptorTable& table, CRuntimeClass* buttonFilter);
    // Creates or enables the filters the flags switch on, disables the rest.
    static void Apply(TkMsgFilter* root, TkMsgFilter::DescriptorTable* table, UINT flags);
    // The caption control list, NULL when there is none.
    static TkCaptionControlListMsgFilter* FindControlList(TkMsgFilter* root);
};
