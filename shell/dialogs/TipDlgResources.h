// Resource ids of the tip of the day.
#pragma once

#define IDD_TIP 106
#define IDB_TIP_BULB 105
#define IDC_TIP_BULB 105
#define IDC_TIP_FRAME 1118
#define IDC_TIP_TEXT 172
#define IDC_TIP_NEXT 170
#define IDC_TIP_STARTUP 171
