#include "library/views/DragText.h"

#include <string.h>

DROPEFFECT DragTextOut(const CString& text, DWORD effects)
{
    HGLOBAL global = GlobalAlloc(GMEM_MOVEABLE, text.GetLength() + 1);
    if (!global)
        return DROPEFFECT_NONE;
    memcpy(GlobalLock(global), static_cast<LPCSTR>(text), text.GetLength() + 1);
    GlobalUnlock(global);
    COleDataSource source;
    source.CacheGlobalData(CF_TEXT, global);
    return source.DoDragDrop(effects);
}

bool ReadDroppedText(COleDataObject* dataObject, CString& text)
{
    HGLOBAL global = dataObject->GetGlobalData(CF_TEXT);
    if (!global)
        return false;
    const char* chars = static_cast<const char*>(GlobalLock(global));
    text = chars ? CString(chars, static_cast<int>(strnlen(chars, GlobalSize(global)))) : CString();
    GlobalUnlock(global);
    GlobalFree(global);
    return true;
}

bool DroppedFilePath(HDROP drop, UINT index, CString& path)
{
    UINT length = DragQueryFileA(drop, index, NULL, 0);
    if (length == 0 || length > kMaxDroppedPath)
        return false;
    char buffer[kMaxDroppedPath + 1];
    DragQueryFileA(drop, index, buffer, sizeof buffer);
    path = buffer;
    return true;
}
