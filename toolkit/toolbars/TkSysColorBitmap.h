// Bitmaps whose greys follow the user's colour scheme: the colour table of a
// device-independent bitmap has black, the two greys and white replaced by
// the button colours before it is drawn into a screen-compatible bitmap.
// Bitmaps of more than 8 bits per pixel have no table and load unmapped.
#pragma once

#include <windows.h>

// NULL when the block is no complete bitmap (header, table and bits must all
// lie within size) or a GDI step fails.
HBITMAP TkCreateSysColorBitmap(const BYTE* dib, DWORD size);
// The bytes of a resource, NULL when it is missing.
const BYTE* TkLockResource(HINSTANCE instance, LPCSTR name, LPCSTR type, DWORD* size);
// The bitmap resource through TkCreateSysColorBitmap; FALSE when missing.
BOOL TkLoadSysColorBitmap(HBITMAP* bitmap, HINSTANCE instance, LPCSTR resource);
