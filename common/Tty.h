// A multi-line edit control used as a scrolling log: text is appended at the
// end only, the oldest lines go when it grows too long, and the user's caret,
// selection and scroll position stay unless the user was following the end.
#pragma once

#include <afxwin.h>

class CTty : public CEdit
{
public:
    void AppendText(LPCSTR text);
    void Clear();

private:
    struct ViewState
    {
        int selStart, selEnd;
        int firstVisible;
        bool following;
        bool caretOnLastLine;
        bool hasSelection;
    };

    void MeasureLine();
    ViewState SaveView();
    void Trim(ViewState& view);
    void RestoreView(const ViewState& view);

    int m_lineHeight = 0;
    int m_charWidth = 0;
};
