#pragma once

#define IDS_GREETING   100
#define IDD_PROBE      200
#define IDC_PROBE_TEXT 201
