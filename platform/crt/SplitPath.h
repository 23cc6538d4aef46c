// Splits a Windows path the way the Microsoft C runtime's _splitpath does.
#pragma once

// Buffer sizes, terminating zero included.
#define _MAX_DRIVE 3
#define _MAX_DIR 256
#define _MAX_FNAME 256
#define _MAX_EXT 256

// Any output may be null. The drive keeps its colon, the directory its trailing
// separator, the extension its dot; a part longer than its buffer is cut short.
void _splitpath(const char* path, char* drive, char* dir, char* fname, char* ext);
