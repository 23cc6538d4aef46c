#include "platform/mfc/Dialog.h"
#include "platform/mfc/Module.h"
#include "platform/mfc/WinApp.h"

#include <string.h>

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog()
{
    CommonConstruct(NULL, NULL);
}

CDialog::CDialog(UINT templateId, CWnd* parentWnd)
{
    CommonConstruct(MAKEINTRESOURCEA(templateId), parentWnd);
    m_nIDHelp = templateId;
}

CDialog::CDialog(LPCSTR templateName, CWnd* parentWnd)
{
    CommonConstruct(templateName, parentWnd);
}

void CDialog::CommonConstruct(LPCSTR templateName, CWnd* parentWnd)
{
    m_lpszTemplateName = templateName;
    m_nIDHelp = 0;
    m_pParentWnd = parentWnd;
    m_inModalLoop = FALSE;
    m_endModalLoop = FALSE;
    m_nModalResult = -1;
}

BOOL CDialog::Create(LPCSTR templateName, CWnd* parentWnd)
{
    m_lpszTemplateName = templateName;
    if (IS_INTRESOURCE(templateName) && !m_nIDHelp)
        m_nIDHelp = LOWORD((UINT_PTR)templateName);
    m_pParentWnd = parentWnd;
    return CreateDlg(templateName, parentWnd);
}

BOOL CDialog::Create(UINT templateId, CWnd* parentWnd)
{
    return Create(MAKEINTRESOURCEA(templateId), parentWnd);
}

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATEA dialogTemplate, CWnd* parentWnd)
{
    m_pParentWnd = parentWnd;
    return CreateDlgIndirect(dialogTemplate, parentWnd);
}

HWND CDialog::PreModal()
{
    HWND owner = m_pParentWnd->GetSafeHwnd();
    if (!owner)
    {
        CWinThread* thread = AfxGetThread();
        owner = thread ? thread->GetMainWnd()->GetSafeHwnd() : NULL;
    }
    while (owner && (GetWindowLongA(owner, GWL_STYLE) & WS_CHILD))
        owner = ::GetParent(owner);
    return owner;
}

INT_PTR CDialog::DoModal()
{
    LPCDLGTEMPLATEA dialogTemplate = LoadDialogTemplate(m_lpszTemplateName);
    if (!dialogTemplate)
        return -1;
    // The owner takes no input while the dialog runs.
    HWND owner = PreModal();
    BOOL enableOwner = owner && ::IsWindowEnabled(owner);
    if (enableOwner)
        ::EnableWindow(owner, FALSE);

    m_nModalResult = -1;
    m_endModalLoop = FALSE;
    m_inModalLoop = TRUE;
    if (CreateDlgIndirect(dialogTemplate, CWnd::FromHandle(owner)) && !m_endModalLoop)
        RunModalLoop();
    m_inModalLoop = FALSE;

    if (m_hWnd)
        SetWindowPos(NULL, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    // Enabled again before the dialog goes, so that the owner gets the activation.
    if (enableOwner)
        ::EnableWindow(owner, TRUE);
    if (owner && ::GetActiveWindow() == m_hWnd)
        ::SetActiveWindow(owner);
    DestroyWindow();
    return m_nModalResult;
}

int CDialog::RunModalLoop()
{
    BOOL showPending = !(GetStyle() & WS_VISIBLE);
    MSG msg;
    while (!m_endModalLoop)
    {
        if (!::PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE))
        {
            if (showPending)
            {
                ShowWindow(SW_SHOWNORMAL);
                UpdateWindow();
                showPending = FALSE;
            }
            // As the system's dialog boxes do, the owner hears that the
            // dialog waits (it may lay out or repaint behind it).
            HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
            if (owner && !(GetStyle() & DS_NOIDLEMSG))
                ::SendMessageA(owner, WM_ENTERIDLE, MSGF_DIALOGBOX, (LPARAM)m_hWnd);
        }
        if (::GetMessageA(&msg, NULL, 0, 0) <= 0)
        {
            // The program ends: the loop that owns WM_QUIT must see it too.
            ::PostQuitMessage((int)msg.wParam);
            break;
        }
        CWinThread* thread = AfxGetThread();
        BOOL handled = thread ? thread->PreTranslateMessage(&msg)
                              : CWnd::WalkPreTranslateTree(NULL, &msg);
        if (!handled)
        {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    return m_nModalResult;
}

void CDialog::EndDialog(int result)
{
    m_nModalResult = result;
    if (m_inModalLoop)
    {
        m_endModalLoop = TRUE;
        // Wakes the loop should it wait for a message.
        PostMessage(WM_NULL);
    }
    else if (m_hWnd)
    {
        ::EndDialog(m_hWnd, result);
    }
}

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM)
{
    RECT before;
    ::GetWindowRect(m_hWnd, &before);
    if (m_lpszTemplateName)
        ExecuteDlgInit(m_lpszTemplateName);
    BOOL result = OnInitDialog();
    CenterUnlessPlaced(before);
    return result;
}

// The template's position is relative to the owner's corner; a top-level
// dialog comes up centred on its owner instead, unless it placed itself
// while it initialised or its template asks the system to place it.
void CDialog::CenterUnlessPlaced(const RECT& before)
{
    if (!m_hWnd || (GetStyle() & (WS_CHILD | DS_ABSALIGN | DS_CENTER)))
        return;
    RECT after;
    ::GetWindowRect(m_hWnd, &after);
    if (after.left == before.left && after.top == before.top)
        CenterWindow();
}

// The data is a list of entries, each a control id and a message (16 bits
// each), the data's length (32 bits) and the data, ended by a zero id. The
// messages carry the 16-bit codes the resource format was made with.
BOOL CDialog::ExecuteDlgInit(LPCSTR templateName)
{
    const WORD kListAddString16 = 0x0401;
    const WORD kComboAddString16 = 0x0403;
    const DWORD kEntryHeader = 8;
    HINSTANCE module = AfxGetResourceHandle();
    HRSRC resource = FindResourceA(module, templateName, MAKEINTRESOURCEA(240));
    if (!resource)
        return TRUE;
    DWORD size = SizeofResource(module, resource);
    const BYTE* data = static_cast<const BYTE*>(LockResource(LoadResource(module, resource)));
    if (!data)
        return FALSE;
    // Entries follow each other unaligned.
    for (DWORD at = 0; at + sizeof(WORD) <= size;) {
        WORD id, message;
        DWORD length;
        memcpy(&id, data + at, sizeof id);
        if (id == 0)
            return TRUE;
        if (at + kEntryHeader > size)
            return FALSE;
        memcpy(&message, data + at + 2, sizeof message);
        memcpy(&length, data + at + 4, sizeof length);
        // A text that is not ended inside its entry is not sent.
        if (length == 0 || length > size - at - kEntryHeader)
            return FALSE;
        const char* text = reinterpret_cast<const char*>(data + at + kEntryHeader);
        at += kEntryHeader + length;
        if (text[length - 1] != '\0')
            return FALSE;
        if (message == kListAddString16)
            SendDlgItemMessage(id, LB_ADDSTRING, 0, LPARAM(text));
        else if (message == kComboAddString16)
            SendDlgItemMessage(id, CB_ADDSTRING, 0, LPARAM(text));
    }
    return TRUE;
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

BOOL CDialog::PreTranslateMessage(MSG* msg)
{
    // Keyboard navigation: Tab, arrows, Enter, Esc and mnemonics.
    if (msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST)
        return FALSE;
    return ::IsDialogMessageA(m_hWnd, msg);
}

void CDialog::NextDlgCtrl() const
{
    SendMessage(WM_NEXTDLGCTL, 0, 0);
}

void CDialog::PrevDlgCtrl() const
{
    SendMessage(WM_NEXTDLGCTL, 1, 0);
}

void CDialog::GotoDlgCtrl(CWnd* control)
{
    SendMessage(WM_NEXTDLGCTL, (WPARAM)control->GetSafeHwnd(), 1);
}

void CDialog::SetDefID(UINT id)
{
    SendMessage(DM_SETDEFID, id);
}

DWORD CDialog::GetDefID() const
{
    return (DWORD)SendMessage(DM_GETDEFID);
}

void CDialog::MapDialogRect(LPRECT rect) const
{
    ::MapDialogRect(m_hWnd, rect);
}
