// TkMenuTemplate: reads a menu resource (the standard RT_MENU layout) in
// place: its top-level items with their texts, and the popup of one of them
// built into a new menu. Every read stays inside the resource: a template cut
// short or missing its end flags yields what could be read, never more.
#pragma once

#include <afxwin.h>

class TkMenuTemplate
{
public:
    // Loads the resource of menuId from the module that holds it; IsValid
    // tells whether it was found.
    explicit TkMenuTemplate(UINT menuId);
    // Over bytes the caller keeps (tests, resources already locked).
    TkMenuTemplate(const BYTE* data, DWORD size);

    BOOL IsValid() const { return m_pData != NULL; }
    // Number of top-level items.
    int GetItemCount() const;
    // The text of top-level item index, converted to the ANSI code page.
    BOOL GetItemText(int index, CString& text) const;
    // A new popup menu holding the items below top-level item index (nested
    // levels as sub-menus); NULL when the item has no readable level or a
    // menu cannot be made. The caller destroys it.
    HMENU CreatePopup(int index) const;

private:
    struct Item
    {
        WORD flags;
        WORD id;
        const WCHAR* text;
        DWORD textChars;
        DWORD next;  // offset of what follows the item
    };
    // The item at offset; FALSE when it does not fit in the resource.
    BOOL ReadItem(DWORD offset, Item* item) const;
    // Offset after the level that starts at offset (its nested levels
    // included); 0 when the level runs past the end.
    DWORD SkipLevel(DWORD offset, int depth) const;
    // Offset of top-level item index; 0 when there is none.
    DWORD FindTopItem(int index) const;
    BOOL AppendLevel(HMENU menu, DWORD offset, int depth, DWORD* end) const;

    const BYTE* m_pData;
    DWORD m_nSize;
    DWORD m_nFirst;
};

// The text converted from UTF-16 to the ANSI code page.
CString TkWideToAnsi(const WCHAR* text, int chars);
