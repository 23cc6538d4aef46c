// Resource, command and control ids of the list control; its resource script
// reads this file too, so it holds #defines only.
#ifndef LX_LIST_RESOURCE_H
#define LX_LIST_RESOURCE_H

// Tool bar whose images the popup menus show, and its bitmap.
#define IDR_LX_MENU_IMAGES 300

// Header menu commands.
#define ID_LX_HEADER_FORMAT 32901
#define ID_LX_CUSTOMIZE_HEADER 32902
#define ID_LX_SORT_ASCENDING 32903
#define ID_LX_SORT_DESCENDING 32904

// Customize columns dialog.
#define IDD_LX_CUSTOMIZE_COLUMNS 102
#define IDC_LX_SHOWN_COLUMNS 1009
#define IDC_LX_ADD 1010
#define IDC_LX_REMOVE 1011
#define IDC_LX_MOVE_UP 1012
#define IDC_LX_MOVE_DOWN 1013
#define IDC_LX_FREE_COLUMNS 1014

// Column format dialog.
#define IDD_LX_COLUMN_FORMAT 103
#define IDC_LX_FIELDS 1009
#define IDC_LX_KIND 1015
#define IDC_LX_LABEL 1016
#define IDC_LX_SECOND_LABEL 1017
#define IDC_LX_WIDTH 1018
#define IDC_LX_ALIGN_RIGHT 1019
#define IDC_LX_ALIGN_CENTER 1020
#define IDC_LX_ALIGN_LEFT 1021
#define IDC_LX_EDIT_KIND 1022

#endif
