// Resource ids of the print choice.
#pragma once

#define IDD_PRINT_SEL 308
#define IDC_PRINT_LIBRARY 1270
#define IDC_PRINT_SEARCH 1271
#define IDC_PRINT_PLAYLIST 1272
