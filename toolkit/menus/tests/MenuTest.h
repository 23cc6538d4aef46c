// Resource and command ids of the menu tests.
#define IDR_MENUHOST 128
#define IDR_DOCMENU 129
#define IDR_BROKENMENU 130
#define ID_FILE_NEW 101
#define ID_FILE_OPEN 102
#define ID_RECENT_ONE 105
#define ID_EDIT_CUT 201
#define ID_EDIT_PASTE 202
#define ID_VIEW_BAR 301
#define ID_PLAY_START 501
#define ID_DOC_CLOSE 401
#define ID_WINDOW_TILE 402
#define IDB_MENUIMAGES 140
