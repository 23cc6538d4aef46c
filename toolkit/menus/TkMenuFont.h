// The menu font of the system's non-client metrics, which menu bars and
// bitmap menus draw their texts in.
#pragma once

#include <afxwin.h>

// font becomes the menu font, with weight when it is not 0; the default GUI
// font when the metrics cannot be read.
void TkCreateMenuFont(CFont& font, LONG weight = 0);
