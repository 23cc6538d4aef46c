// A dock bar's array as text for tests: a bar's control id in hexadecimal,
// "#id" for a placeholder, "|" for a row end; entry 0 is left out.
#pragma once

#include <afxext.h>

#include <stdio.h>

#include <string>

inline std::string DockBarEntries(CDockBar* dockBar)
{
    std::string text;
    for (int i = 1; i < dockBar->m_arrBars.GetSize(); i++) {
        void* entry = dockBar->m_arrBars[i];
        char item[16] = "|";
        if (CDockBar::IsPlaceholder(entry))
            snprintf(item, sizeof(item), "#%X", (UINT)(UINT_PTR)entry);
        else if (entry != NULL)
            snprintf(item, sizeof(item), "%X", static_cast<CControlBar*>(entry)->GetDlgCtrlID());
        text += text.empty() ? "" : " ";
        text += item;
    }
    return text;
}
