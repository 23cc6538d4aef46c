// Resource and control ids of the IR learner.
#pragma once

#define IDD_IRTEACH 102
#define IDS_ABOUTBOX 101
#define IDR_MAINFRAME 128
#define IDI_CODE 133

#define IDC_CODE_LIST 1000
#define IDC_CLEAR_DEVICE 1001
#define IDC_LOAD_DEVICE 1002
#define IDC_SAVE_DEVICE 1003
#define IDC_CARRIER 1004
#define IDC_TRY 1005
#define IDC_SAVE_CODE 1006
#define IDC_NEW_CODE 1007
#define IDC_DESCRIPTION 1008
#define IDC_CODE_NAME 1009
#define IDC_WAVEFORM 1010
#define IDC_PAN_LEFT 1011
#define IDC_PAN_RIGHT 1012
#define IDC_ZOOM_IN 1013
#define IDC_ZOOM_OUT 1014
#define IDC_SLEEP 1015
#define IDC_TAVLINX 1018
#define IDC_ZERO 1021
#define IDC_ONE 1022
#define IDC_START 1023
#define IDC_STOP 1024
#define IDC_TX_ONLY 1025
#define IDC_TX_RX 1026
#define IDC_IMPORT_SETTINGS 1027
#define IDC_REPEAT 1028
#define IDC_PAUSE 1029
#define IDC_WAVE_SCROLL 1032

// System-menu commands 16 to 31 open the About box.
#define IDM_ABOUTBOX 0x0010
