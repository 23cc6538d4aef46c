// The flag that asks a long job to stop: the job's owner holds it, a task
// dialog or another thread sets it to 1, and the job and its waits read it
// between steps.
#pragma once

#include <windef.h>

#include <atomic>

using TaskCancelFlag = std::atomic<BYTE>;
