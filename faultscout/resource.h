// Resource and command ids of the reporter.
#pragma once

#define IDR_MAINFRAME 128

#define ID_EDIT_COPY 0xE122
#define ID_EDIT_CUT 0xE123
#define ID_EDIT_PASTE 0xE125
#define ID_EDIT_SELECT_ALL 0xE12A
#define ID_EDIT_UNDO 0xE12B
#define ID_FILE_PRINT 0xE107
// The last tool-bar button: appends a numbered test line to the log.
#define ID_TEST_LINE 57664

#define ID_DISPLAY_CLEAR 32772
#define ID_DISPLAY_FONT 32773
#define ID_DISPLAY_DUMP 32775
#define ID_DISPLAY_HIDE 32776
#define ID_DISPLAY_THREADS 32777

// Posted to the view: append the queued texts.
#define ID_FLUSH_TEXTS 4096
// Posted to the frame once the watched program has said hello.
#define ID_ATTACHED 36609
