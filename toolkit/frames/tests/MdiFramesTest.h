// Resource and command ids of the toolkit MDI frame test.
#define IDR_JUKEBOX 500
#define IDR_ALBUMTYPE 501
#define IDR_NOTESTYPE 502
#define IDR_LYRICSTYPE 503
#define IDR_NOTESDOCKED 504
#define ID_WHO_ANSWERS 41201
