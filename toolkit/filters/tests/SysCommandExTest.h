// Resource ids of the extended system-command test.
#define IDR_SCXMAIN 700
#define IDR_SCXNOTES 701
#define IDR_SCXPLAIN 702
