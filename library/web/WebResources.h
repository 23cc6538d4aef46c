// Resource ids of the disc-database client's dialogs.
#pragma once

#define IDD_CDDB_MATCH 172
#define IDD_CDDB_SERVER 173
#define IDD_EMAIL 310
#define IDC_MATCH_LIST 1033
#define IDC_SERVER_LIST 1035
#define IDC_EMAIL 1101
// The program's own icon.
#define IDR_PROGRAM_ICON 128
