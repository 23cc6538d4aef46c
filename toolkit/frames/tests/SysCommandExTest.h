// Resource ids of the extended system-command test.
#define IDR_SYSCMDEX_MAIN 700
#define IDR_SYSCMDEX_NOTES 701
#define IDR_SYSCMDEX_PLAIN 702
