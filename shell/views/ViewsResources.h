// Resource and command ids of the jukebox's views.
#pragma once

// Context menus.
#define IDR_LIBRARY_MENU 207
#define IDR_PLAYER_MENU 173
#define IDR_IMAGE_MENU 352

// The library menu's commands, which the document carries out on its
// command items.
#define ID_LIBRARY_ADD_AS_NEXT 32954
#define ID_LIBRARY_ADD_NEXT_AND_PLAY 32955
#define ID_LIBRARY_ADD_TO_END 32956
#define ID_LIBRARY_ADD_EXPLODE 32892
#define ID_LIBRARY_DELETE 32946
#define ID_LIBRARY_CDDB_INFO 33084
// A double click: the command items are added by "Double Click Play Option".
#define ID_LIBRARY_DOUBLE_CLICK 32890

// The player menu's commands.
#define ID_PLAYER_PLAY 32785
#define ID_PLAYER_STOP 32786
#define ID_PLAYER_PAUSE 32787
#define ID_PLAYER_TRACK_FWD 32845
#define ID_PLAYER_TRACK_BACK 32846
#define ID_PLAYER_FAST_REW 32847
#define ID_PLAYER_FAST_FWD 32848

// The image menu's commands.
#define ID_IMAGE_GET_COVER 33088
#define ID_IMAGE_BROWSE 33086
#define ID_IMAGE_REMOVE 33087

// Printing of the library's lists.
#define ID_LIBRARY_PRINT 32824
#define ID_LIBRARY_PRINT_PREVIEW 32825
#define ID_SEARCH_PRINT 32826
#define ID_SEARCH_PRINT_PREVIEW 32827

// The lyric, note and rating forms.
#define IDD_LYRIC_FORM 168
#define IDC_LYRICS_EDIT 1046
#define IDC_GET_LYRICS 1330
#define IDC_LYRICS_SITE 1328
#define IDC_SUBMIT_LYRICS 1329
#define IDB_LYRICS_SITE 346
#define IDB_GET_LYRICS 347
#define IDB_SUBMIT_LYRICS 348
#define IDD_NOTE_FORM 331
#define IDC_NOTES_EDIT 1304
#define IDD_RATING_FORM 268
#define IDC_RATING_0 1209
#define IDC_RATING_1 1010
#define IDC_RATING_2 1011
#define IDC_RATING_3 1212
#define IDC_RATING_LABEL_0 1215
#define IDC_RATING_LABEL_1 1220
#define IDC_RATING_LABEL_2 1016
#define IDC_RATING_LABEL_3 1017
#define IDC_NEVER_PLAY 1050

// The device traffic form.
#define IDD_TRAFFIC_FORM 152
#define IDC_TRAFFIC_SEND 1005
#define IDC_TRAFFIC_COMMAND 1003
#define IDC_TRAFFIC_LOG 1049
#define IDC_TRAFFIC_FREEZE 1037
#define IDC_TRAFFIC_WINDOW 1322
#define IDC_TRAFFIC_HIDDEN 1261

// The connection tree form and its pictures (tree images 0 to 7).
#define IDD_CONNECTION_FORM 314
#define IDC_CONNECTION_TREE 1302
#define IDB_CONNECTION_IMAGES 314

// The search form and its pictures.
#define IDD_SEARCH_FORM 301
#define IDC_SEARCH_MODE 1269
#define IDC_SEARCH_CLEAR 1289
#define IDC_SEARCH_RUN 1265
#define IDC_SEARCH_EXPRESSION 1268
#define IDB_SEARCH_DISCS 303
#define IDB_SEARCH_TRACKS 304
#define IDB_SEARCH_RUN 305
#define IDB_SEARCH_CLEAR 323

// The disc search dialog.
#define IDD_SEARCH_DISCS 230
#define IDC_DISC_PLAYER 1110
#define IDC_DISC_ALL_SLOTS 1111
#define IDC_DISC_SLOTS 1112
#define IDC_DISC_KIND_EMPTY 1113
#define IDC_DISC_KIND_MISSING 1114
#define IDC_DISC_KIND_EVERY 1117
#define IDC_DISC_FIRST_SLOT 1115
#define IDC_DISC_LAST_SLOT 1116
#define IDC_DISC_LOOKUP_QUEUED 1151
#define IDC_DISC_LOOKUP_SELECTED 1152
#define IDC_DISC_QUEUE 1213
