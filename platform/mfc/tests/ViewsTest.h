// Resource ids of the view tests.
#define IDD_DISC_FORM 500
#define IDC_DISC_NAME 501
