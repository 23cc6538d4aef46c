// Resource and command ids of the MDI test.
#define IDR_MAINFRAME 300
#define IDR_DISCTYPE 301
#define ID_WHO_IS_ACTIVE 41001
