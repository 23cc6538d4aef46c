// Resource and command ids of the frame command test.
#define IDR_PLAYER 400
#define IDR_TRACKTYPE 401
#define IDR_PREVIEW 402
#define ID_PLAY_TRACK 41010
#define ID_WHICH_FRAME 41011
