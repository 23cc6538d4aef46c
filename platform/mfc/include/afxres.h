// Standard command ids that programs and their resource scripts share; wrc
// reads this file too, so it holds #defines only.
#ifndef ZYM_AFXRES_H
#define ZYM_AFXRES_H

#define ID_EDIT_COPY 0xE122
#define ID_EDIT_CUT 0xE123
#define ID_EDIT_PASTE 0xE125
#define ID_EDIT_UNDO 0xE12B

#endif
