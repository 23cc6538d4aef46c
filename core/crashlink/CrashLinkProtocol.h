// The records that travel between a watched program and its crash reporter over
// the pair of anonymous pipes: little-endian, with 32-bit handle fields (a handle
// value duplicated into the reporter fits in 32 bits). The exception report
// carries this platform's own exception record and context.
#pragma once

#include <windows.h>

enum CrashLinkKind : DWORD
{
    kLinkHello = 1,
    kLinkThreadCreate = 2,
    kLinkThreadExit = 3,
    kLinkShow = 4,
    kLinkText = 5,
    kLinkException = 7,
    kLinkDump = 8,
    kLinkThreads = 9,
    kLinkDetach = 10,
};

struct CrashLinkHeader
{
    DWORD kind;
    DWORD value;
};

struct HelloRecord
{
    DWORD processId;
    DWORD processHandle;
    DWORD packedVersion;
    DWORD modulePathLength;
    DWORD programNameLength;
};

struct ThreadRecord
{
    DWORD threadId;
    DWORD threadHandle;
    DWORD nameLength;
};

struct ExceptionReport
{
    DWORD threadId;
    DWORD unused;
    EXCEPTION_RECORD record;
    CONTEXT context;
};

struct DumpRequest
{
    DWORD lastError;
    DWORD textLength;
};

static_assert(sizeof(CrashLinkHeader) == 8, "header on the wire");
static_assert(sizeof(HelloRecord) == 20, "hello on the wire");
static_assert(sizeof(ThreadRecord) == 12, "thread record on the wire");
static_assert(sizeof(DumpRequest) == 8, "dump request on the wire");
static_assert(offsetof(ExceptionReport, record) == 8, "exception record after the id");

// Handles travel as 32-bit values.
inline DWORD HandleOnWire(HANDLE handle) { return static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(handle)); }
inline HANDLE HandleFromWire(DWORD value) { return reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(value)); }
