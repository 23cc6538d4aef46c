// _access of the Microsoft C runtime on Windows paths (through Win32, so that
// drive letters and backslashes work).
#pragma once

// Modes; they combine.
const int kAccessExists = 0;
const int kAccessWrite = 2;
const int kAccessRead = 4;

// 0 when the file or folder exists and allows the mode; else -1 with errno
// ENOENT (not there), EACCES (read-only and kAccessWrite asked) or EINVAL (bad mode).
int _access(const char* path, int mode);
