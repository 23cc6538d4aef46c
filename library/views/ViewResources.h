// Resource ids of the list views: the form of the play-list and task views,
// the keyword view's form, their pictures and menus.
#pragma once

#define IDD_LIST_FORM 101
#define IDC_LIST 1008
#define IDD_KEYWORD_FORM 333
#define IDC_KEYWORD_LIST 1324
#define IDC_KEYWORD_LEGEND 1326
#define IDB_CELL_IMAGES 332
#define IDB_HEADER_IMAGES 333
#define IDI_PLAYING 206
#define IDI_STOPPED 207
#define IDI_PAUSED 274
#define IDR_PLAYLIST_MENU 208
#define IDR_KEYWORD_MENU 344
#define ID_PLAYLIST_DELETE 32793
#define ID_PLAYLIST_EXPLODE 32801
#define ID_PLAYLIST_CONDENSE 32909
#define ID_PLAYLIST_PRINT 32828
#define ID_PLAYLIST_PRINT_PREVIEW 32829
#define ID_KEYWORD_NEW 33069
#define ID_KEYWORD_DELETE 33070
