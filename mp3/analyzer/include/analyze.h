// The audio analyser library analyze.dll: the tags and the playing time of an MPEG
// audio file. Programs link zym_analyzer, whose functions load analyze.dll from the
// program's folder on first use; without it every call fails with
// ANALYZER_E_NO_LIBRARY.
#pragma once

#ifdef __cplusplus
extern "C" {
#endif

typedef struct ANALYZER ANALYZER;

// Texts are ANSI (the process's code page), line breaks CR LF, cut to fit their
// field with the terminating zero. Every field is cleared when a call starts.
#define ANALYZER_TEXT_SIZE 256
#define ANALYZER_YEAR_SIZE 32
#define ANALYZER_COMMENT_SIZE 1024

typedef struct ANALYZER_INFO {
    char title[ANALYZER_TEXT_SIZE];
    char artist[ANALYZER_TEXT_SIZE];
    char album[ANALYZER_TEXT_SIZE];
    char year[ANALYZER_YEAR_SIZE];       // as the tag writes it: "99", "2001-05-03"
    char comment[ANALYZER_COMMENT_SIZE];
    unsigned length;                     // milliseconds; 0 when the stream says 0
} ANALYZER_INFO;

#define ANALYZER_OK 0
#define ANALYZER_E_ARGUMENT (-1)     // a null handle, path or record, or unknown flags
#define ANALYZER_E_OPEN (-2)         // the file cannot be opened or read
#define ANALYZER_E_NOT_MPEG (-3)     // no MPEG audio frame where the call looked
#define ANALYZER_E_DAMAGED (-4)      // the frames cover less of the file than asked
#define ANALYZER_E_MEMORY (-5)
#define ANALYZER_E_NO_LIBRARY (-6)   // analyze.dll or one of its functions is missing

// A new analyser into *analyzer (0 on failure); ANALYZER_OK or an error code. An
// analyser serves one thread at a time.
int analyzer_new(ANALYZER** analyzer);

// Reads the tags (each text from the ID3v2 tag, else from the ID3v1 tag) and the
// playing time of the file at path into info. The tags are filled even when the
// call fails on the audio. The audio starts after the ID3v2 tag and ends before the
// ID3v1 tag; its first frame is a valid header followed by another of the same
// stream (or the end of the audio).
//   flags: none are defined; pass 0.
//   syncWindow: the first frame must start within this many bytes of the audio's
//     start; 0 searches the whole audio.
//   coverage: when there is no Xing frame, the frames walked from the first must
//     cover at least this percentage of the audio from the first frame on, else
//     ANALYZER_E_DAMAGED; 0 takes whatever they cover.
// (0, 0x10000, 100) asks for a clean stream near the start; (0, 0, 0) is the
// lenient second try, for junk before the audio or damage within it.
int analyzer_process_file(ANALYZER* analyzer, const char* path, ANALYZER_INFO* info,
                          unsigned flags, unsigned syncWindow, unsigned coverage);

// Frees an analyser; a null one is ignored.
void analyzer_delete(ANALYZER* analyzer);

#ifdef __cplusplus
}
#endif
