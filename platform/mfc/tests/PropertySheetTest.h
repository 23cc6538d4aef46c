// Resource ids shared by the property-sheet test and its resource script.
#define IDD_PAGE_ONE 300
#define IDD_PAGE_TWO 301
#define IDC_PAGE_TEXT 310
#define IDC_PAGE_NUMBER 311
