#include "faultscout/FaultscoutView.h"

#include "faultscout/resource.h"

IMPLEMENT_DYNCREATE(CFaultscoutView, CView)

BEGIN_MESSAGE_MAP(CFaultscoutView, CView)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_SETFOCUS()
    ON_COMMAND(ID_FLUSH_TEXTS, OnFlushTexts)
    ON_COMMAND(ID_DISPLAY_CLEAR, OnClear)
    ON_COMMAND(ID_EDIT_SELECT_ALL, OnSelectAll)
    ON_COMMAND_RANGE(ID_EDIT_COPY, ID_EDIT_UNDO, OnEditCommand)
    ON_COMMAND(ID_TEST_LINE, OnTestLine)
END_MESSAGE_MAP()

namespace {

struct ViewLock
{
    CCriticalSection& lock;
    explicit ViewLock(CCriticalSection& l) : lock(l) { lock.Lock(); }
    ~ViewLock() { lock.Unlock(); }
};

const UINT kLogId = 1;

} // namespace

int CFaultscoutView::OnCreate(LPCREATESTRUCTA cs)
{
    if (CView::OnCreate(cs) == -1)
        return -1;
    // No horizontal scrolling: long lines wrap.
    DWORD style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_NOHIDESEL;
    if (!m_log.Create(style, CRect(0, 0, 0, 0), this, kLogId))
        return -1;
    m_log.LimitText(0);
    return 0;
}

void CFaultscoutView::OnSize(UINT type, int cx, int cy)
{
    CView::OnSize(type, cx, cy);
    if (m_log.m_hWnd)
        m_log.MoveWindow(0, 0, cx, cy);
}

void CFaultscoutView::OnSetFocus(CWnd*)
{
    if (m_log.m_hWnd)
        m_log.SetFocus();
}

void CFaultscoutView::OnDraw(CDC*)
{
}

void CFaultscoutView::QueueText(LPCSTR text)
{
    {
        ViewLock lock(m_lock);
        if (m_pending.size() >= kMaxPendingTexts)
            return;
        m_pending.push_back(text);
    }
    PostMessage(WM_COMMAND, ID_FLUSH_TEXTS);
}

void CFaultscoutView::OnFlushTexts()
{
    ViewLock lock(m_lock);
    while (!m_pending.empty()) {
        m_log.AppendText(m_pending.front());
        m_pending.pop_front();
    }
}

CString CFaultscoutView::GetText() const
{
    CString text;
    m_log.GetWindowText(text);
    return text;
}

void CFaultscoutView::SetText(LPCSTR text)
{
    ViewLock lock(m_lock);
    m_log.SetWindowText(text);
}

void CFaultscoutView::ClearText()
{
    ViewLock lock(m_lock);
    m_log.Clear();
}

void CFaultscoutView::OnClear()
{
    ClearText();
}

void CFaultscoutView::OnSelectAll()
{
    ViewLock lock(m_lock);
    m_log.SetSel(0, -1);
    m_log.SendMessage(EM_SCROLLCARET);
}

void CFaultscoutView::OnEditCommand(UINT id)
{
    static const struct { UINT command; UINT message; } kEditMessages[] = {
        {ID_EDIT_COPY, WM_COPY},
        {ID_EDIT_CUT, WM_CUT},
        {ID_EDIT_PASTE, WM_PASTE},
        {ID_EDIT_UNDO, EM_UNDO},
    };
    for (const auto& entry : kEditMessages)
        if (entry.command == id)
            m_log.SendMessage(entry.message);
}

void CFaultscoutView::OnTestLine()
{
    CString line;
    line.Format("test %d\n", m_testLines++);
    ViewLock lock(m_lock);
    m_log.AppendText(line);
}

void CFaultscoutView::SetLogFont(const LOGFONTA& font)
{
    m_font.DeleteObject();
    m_font.CreateFontIndirect(&font);
    m_log.SetFont(&m_font, TRUE);
}

LOGFONTA CFaultscoutView::GetLogFont() const
{
    LOGFONTA font = {};
    CFont* current = m_log.GetFont();
    if (current)
        GetObjectA(current->m_hObject, sizeof font, &font);
    return font;
}
