// Resource ids of the memo transfer choice.
#pragma once

#define IDD_TEXT 264
#define IDC_TEXT_UPLOAD_ALL 1145
#define IDC_TEXT_UPLOAD_SELECTED 1221
#define IDC_TEXT_DOWNLOAD_ALL 1222
#define IDC_TEXT_DOWNLOAD_SELECTED 1019
