// The entry libFuzzer calls, bound to one target by the build (FUZZ_ENTRY).
#include "fuzz/FuzzTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return FUZZ_ENTRY(data, size);
}
