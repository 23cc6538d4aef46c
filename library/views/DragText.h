// The texts and files that the list views drag between each other and take
// from the shell: entries as CF_TEXT lines, dropped file names through HDROP.
#pragma once

#include <afxole.h>
#include <afxwin.h>
#include <shellapi.h>

// Longest path of a dropped file that a view takes.
const UINT kMaxDroppedPath = 256;

// Runs a drag of the text as CF_TEXT in global memory; the effect the target
// chose, or DROPEFFECT_NONE (also when no memory could be had).
DROPEFFECT DragTextOut(const CString& text, DWORD effects);
// The CF_TEXT the data offers, up to its end whether terminated or not;
// false when it offers none.
bool ReadDroppedText(COleDataObject* dataObject, CString& text);
// The dropped file's path; false when it is empty or longer than
// kMaxDroppedPath (its length is asked first).
bool DroppedFilePath(HDROP drop, UINT index, CString& path);
