#include "fuzz/FuzzTargets.h"

// Names are the corpus folders and the names run-fuzzers.sh takes.
const FuzzTarget kFuzzTargets[] = {
    { "command_text", FuzzCommandText },
    { "event_map", FuzzEventMap },
    { "page_scans", FuzzPageScans },
    { "device_file", FuzzDeviceFile },
    { "play_list", FuzzPlayList },
    { "search", FuzzSearch },
    { "timer_words", FuzzTimerWords },
    { "tip_file", FuzzTipFile },
    { "crash_link", FuzzCrashLink },
    { "changer_status", FuzzChangerStatus },
};

const size_t kFuzzTargetCount = sizeof kFuzzTargets / sizeof kFuzzTargets[0];
