#include "toolkit/menus/TkMenuTemplate.h"

namespace
{
// A popup item has no command id.
const WORD kPopup = MF_POPUP;
const WORD kEnd = MF_END;
// Nesting deeper than this is refused: a hostile template cannot exhaust
// the stack.
const int kMaxDepth = 16;

WORD ReadWord(const BYTE* data)
{
    return (WORD)(data[0] | (data[1] << 8));
}
}

CString TkWideToAnsi(const WCHAR* text, int chars)
{
    CString result;
    if (chars <= 0)
        return result;
    int size = WideCharToMultiByte(CP_ACP, 0, text, chars, NULL, 0, NULL, NULL);
    if (size <= 0)
        return result;
    LPSTR buffer = result.GetBuffer(size);
    WideCharToMultiByte(CP_ACP, 0, text, chars, buffer, size, NULL, NULL);
    result.ReleaseBuffer(size);
    return result;
}

TkMenuTemplate::TkMenuTemplate(UINT menuId) : m_pData(NULL), m_nSize(0), m_nFirst(0)
{
    HINSTANCE module = AfxGetResourceHandle();
    HRSRC resource = ::FindResourceA(module, MAKEINTRESOURCEA(menuId), (LPCSTR)RT_MENU);
    if (!resource)
    {
        module = ::GetModuleHandleA(NULL);
        resource = ::FindResourceA(module, MAKEINTRESOURCEA(menuId), (LPCSTR)RT_MENU);
    }
    HGLOBAL loaded = resource ? ::LoadResource(module, resource) : NULL;
    const BYTE* data = loaded ? (const BYTE*)::LockResource(loaded) : NULL;
    if (data)
        *this = TkMenuTemplate(data, ::SizeofResource(module, resource));
}

// The header: version word, then the size of the extra header bytes.
TkMenuTemplate::TkMenuTemplate(const BYTE* data, DWORD size)
    : m_pData(NULL), m_nSize(0), m_nFirst(0)
{
    if (!data || size < 4)
        return;
    DWORD first = 4 + ReadWord(data + 2);
    if (first > size)
        return;
    m_pData = data;
    m_nSize = size;
    m_nFirst = first;
}

BOOL TkMenuTemplate::ReadItem(DWORD offset, Item* item) const
{
    if (offset + 2 > m_nSize)
        return FALSE;
    item->flags = ReadWord(m_pData + offset);
    offset += 2;
    item->id = 0;
    if (!(item->flags & kPopup))
    {
        if (offset + 2 > m_nSize)
            return FALSE;
        item->id = ReadWord(m_pData + offset);
        offset += 2;
    }
    // Texts are WCHAR-aligned by position within the resource.
    item->text = reinterpret_cast<const WCHAR*>(m_pData + offset);
    item->textChars = 0;
    for (;;)
    {
        if (offset + 2 > m_nSize)
            return FALSE;
        WORD ch = ReadWord(m_pData + offset);
        offset += 2;
        if (ch == 0)
            break;
        item->textChars++;
    }
    item->next = offset;
    return TRUE;
}

DWORD TkMenuTemplate::SkipLevel(DWORD offset, int depth) const
{
    if (depth > kMaxDepth)
        return 0;
    for (;;)
    {
        Item item;
        if (!ReadItem(offset, &item))
            return 0;
        offset = item.next;
        if (item.flags & kPopup)
        {
            offset = SkipLevel(offset, depth + 1);
            if (!offset)
                return 0;
        }
        if (item.flags & kEnd)
            return offset;
    }
}

DWORD TkMenuTemplate::FindTopItem(int index) const
{
    if (!m_pData || index < 0)
        return 0;
    DWORD offset = m_nFirst;
    for (int i = 0;; i++)
    {
        Item item;
        if (!ReadItem(offset, &item))
            return 0;
        if (i == index)
            return offset;
        if (item.flags & kEnd)
            return 0;
        offset = item.next;
        if ((item.flags & kPopup) && !(offset = SkipLevel(offset, 1)))
            return 0;
    }
}

int TkMenuTemplate::GetItemCount() const
{
    int count = 0;
    while (FindTopItem(count))
        count++;
    return count;
}

BOOL TkMenuTemplate::GetItemText(int index, CString& text) const
{
    Item item;
    DWORD offset = FindTopItem(index);
    if (!offset || !ReadItem(offset, &item))
        return FALSE;
    text = TkWideToAnsi(item.text, (int)item.textChars);
    return TRUE;
}

BOOL TkMenuTemplate::AppendLevel(HMENU menu, DWORD offset, int depth, DWORD* end) const
{
    if (depth > kMaxDepth)
        return FALSE;
    for (;;)
    {
        Item item;
        if (!ReadItem(offset, &item))
            return FALSE;
        offset = item.next;
        CString text = TkWideToAnsi(item.text, (int)item.textChars);
        UINT flags = item.flags & ~(kEnd | kPopup);
        BOOL appended;
        if (item.flags & kPopup)
        {
            HMENU sub = ::CreatePopupMenu();
            if (!sub || !AppendLevel(sub, offset, depth + 1, &offset))
            {
                if (sub)
                    ::DestroyMenu(sub);
                return FALSE;
            }
            appended = ::AppendMenuA(menu, flags | MF_POPUP, (UINT_PTR)sub, text);
            if (!appended)
                ::DestroyMenu(sub);
        }
        else if (flags == 0 && item.id == 0 && text.IsEmpty())
            appended = ::AppendMenuA(menu, MF_SEPARATOR, 0, NULL);
        else
            appended = ::AppendMenuA(menu, flags | MF_STRING, item.id, text);
        if (!appended)
            return FALSE;
        if (item.flags & kEnd)
        {
            *end = offset;
            return TRUE;
        }
    }
}

HMENU TkMenuTemplate::CreatePopup(int index) const
{
    Item item;
    DWORD offset = FindTopItem(index);
    if (!offset || !ReadItem(offset, &item) || !(item.flags & kPopup))
        return NULL;
    HMENU menu = ::CreatePopupMenu();
    DWORD end = 0;
    if (menu && !AppendLevel(menu, item.next, 1, &end))
    {
        ::DestroyMenu(menu);
        menu = NULL;
    }
    return menu;
}
