// Resource ids of the automation dialogs.
#pragma once

#define IDD_EVENT_EDIT 340
#define IDC_EVENT_ACTION 1140
