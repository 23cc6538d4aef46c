// Result codes of the decoder: operations return 0 (or a count) on success and one of
// these negative codes on failure. Code = -(100 x family + index); -1 is a plain
// failure without a text of its own.
#pragma once

const int kErrFailed = -1;

const int kErrOutOfMemory = -100;
const int kErrInvalidParameters = -101;
const int kErrInternal = -102;
const int kErrTimeout = -103;

const int kErrPipeFailed = -300;
const int kErrForkFailed = -301;
const int kErrSelectFailed = -302;
const int kErrPipeClosed = -303;
const int kErrPipeReadFailed = -304;
const int kErrPipeWriteFailed = -305;
const int kErrInvalidMessage = -306;
const int kErrQueueFull = -307;
const int kErrPostFailed = -308;

const int kErrOpenFailed = -500;
const int kErrCloseFailed = -501;
const int kErrReadFailed = -502;
const int kErrWriteFailed = -503;
const int kErrPermissionDenied = -504;
const int kErrNoDevice = -505;
const int kErrIoctlFailed = -506;
const int kErrModuleNotFound = -507;
const int kErrUnsupportedInput = -508;
const int kErrUnsupportedOutput = -509;
const int kErrUnsupportedFormat = -510;
const int kErrDeviceBusy = -511;
const int kErrNoSuchDevice = -512;
const int kErrNoSuchFile = -513;
const int kErrInputEnd = -514;

const int kErrInvalidFrame = -600;

const int kErrLibraryNotFound = -700;
const int kErrSymbolNotFound = -701;

const int kErrNoSuchVariable = -800;
const int kErrVariableType = -801;

// The text of a code: "" for 0 and above and for an unlisted index within the
// families -100 to -800, "unknown error" for every other code.
const char* GetDecoderErrorText(int code);
