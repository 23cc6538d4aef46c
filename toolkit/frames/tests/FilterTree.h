// A filter tree as text: every filter below root with its id, " off" when
// disabled, its children in brackets.
#pragma once

#include "toolkit/filters/TkMsgFilter.h"

#include <string>

inline std::string FilterTree(const TkMsgFilter* filter)
{
    std::string text;
    for (int index = 0; index < filter->GetChildCount(); index++)
    {
        const TkMsgFilter* child = filter->GetChild(index);
        text += std::to_string(child->GetId()) + (child->IsEnabled() ? "" : " off");
        if (child->GetChildCount())
            text += " [" + FilterTree(child) + "]";
        text += "; ";
    }
    return text;
}
