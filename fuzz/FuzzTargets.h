// The fuzz targets: each takes one input of any bytes and must neither crash,
// hang nor touch memory it does not own. libFuzzer drives one target at a
// time (run-fuzzers.sh); the regression test runs every target once over
// each file of its corpus, corpus/NAME.
#pragma once

#include <stddef.h>
#include <stdint.h>

typedef int (*FuzzFunction)(const uint8_t* data, size_t size);

struct FuzzTarget
{
    const char* name;
    FuzzFunction run;
};

int FuzzCommandText(const uint8_t* data, size_t size);
int FuzzEventMap(const uint8_t* data, size_t size);
int FuzzPageScans(const uint8_t* data, size_t size);
int FuzzDeviceFile(const uint8_t* data, size_t size);
int FuzzPlayList(const uint8_t* data, size_t size);
int FuzzSearch(const uint8_t* data, size_t size);
int FuzzTimerWords(const uint8_t* data, size_t size);
int FuzzTipFile(const uint8_t* data, size_t size);
int FuzzCrashLink(const uint8_t* data, size_t size);
int FuzzChangerStatus(const uint8_t* data, size_t size);

extern const FuzzTarget kFuzzTargets[];
extern const size_t kFuzzTargetCount;
