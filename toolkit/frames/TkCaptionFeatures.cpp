#include "toolkit/frames/TkCaptionFeatures.h"
#include "toolkit/frames/TkxFilters.h"

using namespace nsSysCommandEx;

namespace
{
const UINT kSysCommandExFilter = 257;
const UINT kCaptionButtonFilter = 258;
const UINT kCaptionDoubleClickFilter = 259;
const UINT kContextMenuFilter = 262;
}

void TkCaptionFeatures::AddDescriptors(TkMsgFilter::DescriptorTable& table, CRuntimeClass* buttonFilter)
{
    table.Add(kSysCommandExFilter, (UINT)-1, RUNTIME_CLASS(TkxMsgFilter));
    table.Add(kCaptionListFilter, (UINT)-1, RUNTIME_CLASS(TkCaptionControlListMsgFilter),
              TkMsgFilter::Descriptor::keepEnabled);
    table.Add(kCaptionButtonFilter, kCaptionListFilter, buttonFilter);
    table.Add(kCaptionDoubleClickFilter, (UINT)-1, RUNTIME_CLASS(TkxCaptionNCRDBLClkFilter));
    table.Add(kContextMenuFilter, (UINT)-1, RUNTIME_CLASS(TkxContextMenuFilter));
}

void TkCaptionFeatures::Apply(TkMsgFilter* root, TkMsgFilter::DescriptorTable* table, UINT flags)
{
    BOOL on = (flags & filtersOn) != 0;
    BOOL buttons = on && !(flags & noCaptionButtons);
    const BOOL switches[] = {on, buttons, buttons, on && !(flags & noCaptionDoubleClick),
                             on && !(flags & noContextMenu)};
    root->ApplyDescriptors(table, switches);
}

TkCaptionControlListMsgFilter* TkCaptionFeatures::FindControlList(TkMsgFilter* root)
{
    TkMsgFilter* list = root->FindOrCreate(kCaptionListFilter, NULL, 0);
    return list && list->IsKindOf(RUNTIME_CLASS(TkCaptionControlListMsgFilter))
               ? static_cast<TkCaptionControlListMsgFilter*>(list)
               : NULL;
}
