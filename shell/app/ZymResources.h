// Resource and command ids of the jukebox (Zym.rc and the shell's code).
#pragma once

#define IDR_MAINFRAME 128
#define IDR_ZYMTYPE 129
#define IDB_ANIMATED_ICON 328
#define IDB_USER_BUTTONS 341
// Tool-bar resources besides IDR_MAINFRAME's, each with its bitmap.
#define IDR_LIBRARY_BUTTONS 318
#define IDR_PLAYLIST_BUTTONS 259
#define IDR_PLAYER_BUTTONS 130
#define IDC_ZYM_ABOUT_VERSION 1130

// View commands of the docked windows.
#define ID_VIEW_MUSIC_INFO 101
#define ID_VIEW_LIBRARY 32861
#define ID_VIEW_PLAYERS 32893
#define ID_VIEW_TAVLIN_DATA 32904

#define ID_TIP_OF_THE_DAY 115
#define ID_VIEW_TOOLBARS 33072
#define ID_CUSTOMIZE 32841
#define ID_VIEW_OPTIONS 32784
#define ID_FILE_PRINT_SELECTED 32905
#define ID_FILE_PRINT_PREVIEW_SELECTED 32906
#define ID_SHOW_CRASH_REPORTER 32947

// The framework's commands the menus and the accelerators use.
#define ID_FILE_NEW_CMD 0xE100
#define ID_FILE_OPEN_CMD 0xE101
#define ID_FILE_SAVE_CMD 0xE103
#define ID_FILE_PRINT_SETUP_CMD 0xE106
#define ID_FILE_PRINT_CMD 0xE107
#define ID_FILE_PRINT_DIRECT_CMD 0xE108
#define ID_FILE_PRINT_PREVIEW_CMD 0xE109
#define ID_APP_ABOUT_CMD 0xE140
#define ID_APP_EXIT_CMD 0xE141
#define ID_HELP_FINDER_CMD 0xE143
#define ID_HELP_CMD 0xE146
#define ID_CONTEXT_HELP_CMD 0xE145
#define ID_NEXT_PANE_CMD 0xE150
#define ID_PREV_PANE_CMD 0xE151
#define ID_EDIT_COPY_CMD 0xE122
#define ID_EDIT_CUT_CMD 0xE123
#define ID_EDIT_PASTE_CMD 0xE125
#define ID_EDIT_UNDO_CMD 0xE12B
#define ID_VIEW_STATUS_BAR_CMD 0xE801

// The status bar's text while no command is pointed at.
#define IDS_IDLE_MESSAGE 0xE001

// The status bar's panes: the message pane and the key indicators.
#define ID_SEPARATOR_PANE 0
#define ID_INDICATOR_CAPS_PANE 0xE701
#define ID_INDICATOR_NUM_PANE 0xE702
#define ID_INDICATOR_SCRL_PANE 0xE703
#define IDD_ZYM_ABOUTBOX 100
