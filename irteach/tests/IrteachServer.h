// The learner's surroundings in its tests, as in the program: COM in a
// single-threaded apartment on the dialog's thread, the interface control's
// class registered there, and the device server (started by COM) with one
// interface unit on a pty whose IR outputs face its receivers.
#pragma once

#include "tests/support/TavlinSimulator.h"

CTavlinSimulator& LearnerUnit();
