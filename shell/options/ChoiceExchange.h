// The items of the pages' lists and their selection exchanged as an index.
#pragma once

#include <afxwin.h>

// Replaces the items of the dialog's combo box.
void SetChoices(CWnd* dialog, int id, const char* const* choices, int count);

template <int count>
void SetChoices(CWnd* dialog, int id, const char* const (&choices)[count])
{
    SetChoices(dialog, id, choices, count);
}

// A stored value outside the list selects nothing and stays as it is until
// the user picks an item.
void DDX_KeptChoice(CDataExchange* pDX, int id, int& index);
