// Resource ids of the menu test.
#define IDR_TEST_MENU 100
#define ID_FILE_OPEN_TEST 1001
#define ID_FILE_SAVE_TEST 1002
#define ID_VIEW_BIG 1101
#define ID_VIEW_SMALL 1102
