#include "faultscout/FaultscoutDoc.h"

#include "faultscout/FaultscoutView.h"

#include <vector>

IMPLEMENT_DYNCREATE(CFaultscoutDoc, CDocument)

CFaultscoutView* CFaultscoutDoc::LogView() const
{
    POSITION position = GetFirstViewPosition();
    return position ? static_cast<CFaultscoutView*>(GetNextView(position)) : nullptr;
}

void CFaultscoutDoc::DeleteContents()
{
    if (CFaultscoutView* view = LogView())
        view->ClearText();
}

BOOL CFaultscoutDoc::OnOpenDocument(LPCSTR pathName)
{
    CFaultscoutView* view = LogView();
    HANDLE file = CreateFileA(pathName, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                              nullptr);
    if (!view || file == INVALID_HANDLE_VALUE)
        return FALSE;
    DWORD size = GetFileSize(file, nullptr);
    std::vector<char> text(size + 1, '\0');
    DWORD read = 0;
    BOOL done = size != INVALID_FILE_SIZE && ReadFile(file, text.data(), size, &read, nullptr);
    CloseHandle(file);
    if (!done)
        return FALSE;
    text[read] = '\0';
    view->SetText(text.data());
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CFaultscoutDoc::OnSaveDocument(LPCSTR pathName)
{
    CFaultscoutView* view = LogView();
    if (!view)
        return FALSE;
    CString text = view->GetText();
    HANDLE file = CreateFileA(pathName, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return FALSE;
    DWORD written = 0;
    BOOL done = WriteFile(file, static_cast<LPCSTR>(text), text.GetLength(), &written, nullptr) &&
                written == static_cast<DWORD>(text.GetLength());
    CloseHandle(file);
    if (done)
        SetModifiedFlag(FALSE);
    return done;
}
