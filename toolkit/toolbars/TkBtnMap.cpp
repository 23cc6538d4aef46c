#include "toolkit/toolbars/TkBtnMap.h"

namespace {

const TkBtnMapEntry* FindIn(const TkBtnMapEntry* map, UINT id)
{
    for (const TkBtnMapEntry* entry = map; entry != NULL && entry->pFactory != NULL; entry++) {
        if (entry->nID == id)
            return entry;
    }
    return NULL;
}

}  // namespace

const TkBtnMapEntry* TkFindBtnMapEntry(const TkBtnMapEntry* first, const TkBtnMapEntry* second, UINT id)
{
    const TkBtnMapEntry* entry = FindIn(first, id);
    return entry != NULL ? entry : FindIn(second, id);
}

TkStdBtn* TkCreateMappedButton(const TkBtnMapEntry* first, const TkBtnMapEntry* second, UINT id,
                               const TkBtnMapEntry** entry)
{
    *entry = TkFindBtnMapEntry(first, second, id);
    TkStdBtn* button = *entry != NULL ? (*entry)->pFactory->pfnCreateButton() : new TkStdBtn;
    button->SetStyle(*entry != NULL ? (*entry)->dwStyle : 0);
    button->m_nID = id;
    return button;
}
