// Result codes of the decoding engine. Operations return 0 (or a count) on success
// and one of these negative codes on failure.
#pragma once

const int kErrOutOfMemory = -100;
const int kErrInvalidParameters = -101;
const int kErrInternal = -102;
const int kErrTimeout = -103;
const int kErrInputEnd = -514;
const int kErrInvalidFrame = -600;
