// Button maps: tables that say which class, style and initial values the
// button for a command id gets. A map ends at an entry without a factory and
// holds each id at most once. A bar searches two maps, the second only when
// the first has no entry for the id; other ids make a plain TkStdBtn.
// The values are pointer-sized: a menu button's text is a pointer.
#pragma once

#include "toolkit/toolbars/TkStdBtn.h"

// The four values a new button's Init takes.
struct TkBtnInitData
{
    DWORD_PTR dwValue1;
    DWORD_PTR dwValue2;
    LPCSTR pszText;
    DWORD_PTR dwValue4;
};

struct TkBtnMapEntry
{
    const TkBtnFactory* pFactory;
    UINT nID;
    DWORD dwStyle;
    TkBtnInitData data;
};

// NULL when neither map (either may be NULL) has the id.
const TkBtnMapEntry* TkFindBtnMapEntry(const TkBtnMapEntry* first, const TkBtnMapEntry* second, UINT id);
// The button for id with its map entry's class and style (*entry gets the
// entry, NULL for a plain button of style 0).
TkStdBtn* TkCreateMappedButton(const TkBtnMapEntry* first, const TkBtnMapEntry* second, UINT id,
                               const TkBtnMapEntry** entry);
