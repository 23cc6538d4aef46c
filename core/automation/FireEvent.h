// Program events: formatted in the printf manner, cut at kMaxEventLength
// characters, and handed behind the transmit device's name and a colon to the
// document's mapper and to its send operation. Any thread may fire.
#pragma once

#include "core/automation/EventDocument.h"

const int kMaxEventLength = 4095;

// The program's one document, or null (events are then dropped). Set before
// threads fire and cleared after they have stopped.
void SetEventDocument(CEventDocument* document);

void FireEvent(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Fires "debug[" + the text + "]" while the document's debug flag is set.
void FireDebugEvent(const char* format, ...) __attribute__((format(printf, 1, 2)));
