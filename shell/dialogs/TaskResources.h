// Resource ids of the progress dialog and the task view's menu.
#pragma once

#define IDD_TASK_PROGRESS 353
#define IDC_TASK_CANCEL 1339
#define IDC_TASK_LOG 1340
#define IDC_TASK_PROGRESS 1349
#define IDR_TASK_MENU 209
#define ID_TASK_CANCEL 32948
