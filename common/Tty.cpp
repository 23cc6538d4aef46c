#include "common/Tty.h"

#include <afxwin.h>

#include <algorithm>
#include <string>

namespace {

const int kMaxLength = 28000;
const int kMaxLines = 500;
const int kKeptLines = 450;

// Every LF becomes CR LF, whatever stands in front of it.
std::string WithCrLf(LPCSTR text)
{
    std::string converted;
    for (const char* p = text; *p; ++p) {
        if (*p == '\n')
            converted += '\r';
        converted += *p;
    }
    return converted;
}

} // namespace

void CTty::MeasureLine()
{
    CClientDC dc(this);
    CFont* font = GetFont();
    CFont* old = font ? dc.SelectObject(font) : nullptr;
    CSize extent = dc.GetTextExtent("H", 1);
    if (old)
        dc.SelectObject(old);
    m_lineHeight = std::max(1, static_cast<int>(extent.cy));
    m_charWidth = extent.cx;
}

CTty::ViewState CTty::SaveView()
{
    ViewState view = {};
    GetSel(view.selStart, view.selEnd);
    RECT client;
    GetClientRect(&client);
    LPARAM point = MAKELPARAM(0, std::max<LONG>(0, client.bottom - (m_lineHeight - 2)));
    int bottomLine = HIWORD(SendMessage(EM_CHARFROMPOS, 0, point));
    int lastLine = GetLineCount() - 1;
    view.firstVisible = GetFirstVisibleLine();
    view.following = bottomLine >= lastLine;
    view.caretOnLastLine = LineFromChar(view.selStart) == lastLine;
    view.hasSelection = view.selStart != view.selEnd;
    return view;
}

// Removes whole lines from the top, in steps of (lines - 450), until the text is
// back within its length; past the line limit alone that is one step.
void CTty::Trim(ViewState& view)
{
    int length = GetWindowTextLength();
    int lines = GetLineCount();
    if (length <= kMaxLength && lines <= kMaxLines)
        return;
    int step = std::max(1, lines - kKeptLines);
    int removedLines = 0, removedChars = 0;
    do {
        removedLines = std::min(lines, removedLines + step);
        removedChars = removedLines < lines ? LineIndex(removedLines) : length;
    } while (removedChars < length - kMaxLength && removedLines < lines);
    SetSel(0, removedChars, TRUE);
    ReplaceSel("");
    view.selStart = std::max(0, view.selStart - removedChars);
    view.selEnd = std::max(0, view.selEnd - removedChars);
    view.firstVisible = std::max(0, view.firstVisible - removedLines);
}

void CTty::RestoreView(const ViewState& view)
{
    if (view.hasSelection || !view.caretOnLastLine) {
        SetSel(view.selStart, view.selEnd, TRUE);
    } else {
        int end = GetWindowTextLength();
        SetSel(end, end, TRUE);
    }
    SendMessage(EM_SCROLLCARET);
    int top = view.firstVisible;
    if (view.following && !view.hasSelection) {
        RECT client;
        GetClientRect(&client);
        int shown = std::max(1, static_cast<int>(client.bottom / m_lineHeight));
        top = std::max(0, GetLineCount() - shown);
    }
    LineScroll(top - GetFirstVisibleLine());
}

void CTty::AppendText(LPCSTR text)
{
    SetRedraw(FALSE);
    if (!m_lineHeight)
        MeasureLine();
    ViewState view = SaveView();
    int end = GetWindowTextLength();
    SetSel(end, end, TRUE);
    SendMessage(EM_SCROLLCARET);
    ReplaceSel(WithCrLf(text).c_str());
    Trim(view);
    RestoreView(view);
    SetRedraw(TRUE);
    Invalidate();
}

void CTty::Clear()
{
    SetWindowText("");
}
