// The filter chains between the decoder object and its modules. A filter's
// operation gets its own node and passes a call on with these functions on
// node->next; an absent operation passes it on by itself. The last node calls the
// current module's instance.
#pragma once

#include "mp3/decoder/DecoderModules.h"

int InputChainOpen(InputFilterNode* node);
int InputChainClose(InputFilterNode* node);
int InputChainRead(InputFilterNode* node, unsigned char* buffer, int size);
int InputChainSeek(InputFilterNode* node, unsigned offset);
int InputChainCapabilities(InputFilterNode* node);
unsigned InputChainSize(InputFilterNode* node);
int InputChainSendMessage(InputFilterNode* node, int id, const unsigned char* bytes, int length);

int OutputChainOpen(OutputFilterNode* node);
int OutputChainClose(OutputFilterNode* node);
int OutputChainWrite(OutputFilterNode* node, unsigned char* buffer, int size, int bytesPerSample,
                     int channels, int rate);
unsigned char* OutputChainGetBuffer(OutputFilterNode* node, int size);
int OutputChainSetControl(OutputFilterNode* node, OutputControl* control, int flags);
int OutputChainGetControl(OutputFilterNode* node, OutputControl* control, int flags);
int OutputChainStatus(OutputFilterNode* node, int* delay);
int OutputChainCapabilities(OutputFilterNode* node);
int OutputChainSendMessage(OutputFilterNode* node, int id, const unsigned char* bytes, int length);

// Chains of a decoder: each starts as its last node alone.
InputFilterNode* NewInputChain(Decoder* decoder);
OutputFilterNode* NewOutputChain(Decoder* decoder);
// Deletes every filter (its delete operation) and the last node.
void FreeInputChain(InputFilterNode* chain);
void FreeOutputChain(OutputFilterNode* chain);

// Position -1 first; 0 and 1 last; another number before the filter with that id
// (last when none has it). Returns the new filter's id or an error.
int AddInputFilter(Decoder* decoder, const InputFilterDescriptor* descriptor, int position);
int AddOutputFilter(Decoder* decoder, const OutputFilterDescriptor* descriptor, int position);
// Selector -2 by name, -1 the first, 0 the last filter, else by id. Returns the id of
// the chain's first node after the removal, or -1 when nothing was removed.
int RemoveInputFilter(Decoder* decoder, const char* name, int selector);
int RemoveOutputFilter(Decoder* decoder, const char* name, int selector);
typedef void (*FilterCallback)(void* context, const char* name, int id);
void ForEachInputFilter(Decoder* decoder, FilterCallback callback, void* context);
void ForEachOutputFilter(Decoder* decoder, FilterCallback callback, void* context);
