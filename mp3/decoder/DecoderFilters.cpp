#include "mp3/decoder/DecoderFilters.h"

#include <stdlib.h>
#include <string.h>

#include "mp3/decoder/Decoder.h"
#include "mp3/decoder/DecoderErrors.h"

namespace {

const int kLastNodeId = 0;
const int kPositionFirst = -1;
const int kSelectByName = -2;
const int kSelectFirst = -1;
const int kSelectLast = 0;

bool IsLast(const InputFilterNode* node) { return node->id == kLastNodeId; }
bool IsLast(const OutputFilterNode* node) { return node->id == kLastNodeId; }
const InputModuleDescriptor& Module(const InputFilterNode* node) { return node->decoder->input.module->input; }
const OutputModuleDescriptor& Module(const OutputFilterNode* node) { return node->decoder->output.module->output; }
void* Instance(const InputFilterNode* node) { return node->decoder->input.instance; }
void* Instance(const OutputFilterNode* node) { return node->decoder->output.instance; }

// The list operations are the same for both kinds of chain.
template <class Node>
int SmallestFreeId(Node* chain)
{
    for (int id = 1;; id++) {
        bool used = false;
        for (Node* n = chain; n; n = n->next)
            used = used || n->id == id;
        if (!used)
            return id;
    }
}

template <class Node, class Descriptor>
int AddFilter(Node** chain, Decoder* decoder, const Descriptor* descriptor, int position)
{
    if (!descriptor || !descriptor->name || position < kPositionFirst)
        return kErrInvalidParameters;
    Node* node = (Node*)calloc(1, sizeof(Node));
    if (!node)
        return kErrOutOfMemory;
    node->id = SmallestFreeId(*chain);
    node->ops = *descriptor;
    node->decoder = decoder;
    if (node->ops.create) {
        int code = node->ops.create(&node->instance, node->id, decoder);
        if (code < 0) {
            free(node);
            return code;
        }
    }
    Node** link = chain;
    if (position != kPositionFirst) {
        while (!IsLast(*link) && (position <= 1 || (*link)->id != position))
            link = &(*link)->next;
    }
    node->next = *link;
    *link = node;
    return node->id;
}

template <class Node>
void DeleteNode(Node* node)
{
    if (node->ops.destroy)
        node->ops.destroy(node->instance);
    free(node);
}

template <class Node>
int RemoveFilter(Node** chain, const char* name, int selector)
{
    if (selector < kSelectByName)
        selector = 1;
    if (selector == kSelectByName && (!name || !*name))
        return kErrFailed;
    Node** found = nullptr;
    for (Node** link = chain; !IsLast(*link); link = &(*link)->next) {
        Node* n = *link;
        bool match = selector == kSelectLast ||
                     (selector == kSelectFirst) ||
                     (selector == kSelectByName && strcmp(n->ops.name(), name) == 0) ||
                     (selector > 0 && n->id == selector);
        if (!match)
            continue;
        found = link;
        if (selector != kSelectLast)
            break;
    }
    if (!found)
        return kErrFailed;
    Node* n = *found;
    *found = n->next;
    DeleteNode(n);
    return (*chain)->id;
}

template <class Node>
void ForEachFilter(Node* chain, FilterCallback callback, void* context)
{
    for (Node* n = chain; !IsLast(n); n = n->next)
        callback(context, n->ops.name(), n->id);
}

template <class Node>
void FreeChain(Node* chain)
{
    while (chain) {
        Node* next = chain->next;
        if (IsLast(chain))
            free(chain);
        else
            DeleteNode(chain);
        chain = next;
    }
}

template <class Node>
Node* NewChain(Decoder* decoder)
{
    Node* node = (Node*)calloc(1, sizeof(Node));
    if (node)
        node->decoder = decoder;
    return node;
}

} // namespace

int InputChainOpen(InputFilterNode* node)
{
    if (!IsLast(node))
        return node->ops.open ? node->ops.open(node) : InputChainOpen(node->next);
    return Module(node).open(Instance(node));
}

int InputChainClose(InputFilterNode* node)
{
    if (!IsLast(node))
        return node->ops.close ? node->ops.close(node) : InputChainClose(node->next);
    return Module(node).close(Instance(node));
}

int InputChainRead(InputFilterNode* node, unsigned char* buffer, int size)
{
    if (!IsLast(node))
        return node->ops.read ? node->ops.read(node, buffer, size) : InputChainRead(node->next, buffer, size);
    return Module(node).read(Instance(node), buffer, size);
}

int InputChainSeek(InputFilterNode* node, unsigned offset)
{
    if (!IsLast(node))
        return node->ops.seek ? node->ops.seek(node, offset) : InputChainSeek(node->next, offset);
    return Module(node).seek ? Module(node).seek(Instance(node), offset) : kErrInternal;
}

int InputChainCapabilities(InputFilterNode* node)
{
    if (!IsLast(node))
        return node->ops.capabilities ? node->ops.capabilities(node) : InputChainCapabilities(node->next);
    return Module(node).capabilities ? Module(node).capabilities(Instance(node)) : 0;
}

unsigned InputChainSize(InputFilterNode* node)
{
    if (!IsLast(node))
        return node->ops.size ? node->ops.size(node) : InputChainSize(node->next);
    return Module(node).size ? Module(node).size(Instance(node)) : 0;
}

int InputChainSendMessage(InputFilterNode* node, int id, const unsigned char* bytes, int length)
{
    if (!IsLast(node))
        return node->ops.sendMessage ? node->ops.sendMessage(node, id, bytes, length)
                                     : InputChainSendMessage(node->next, id, bytes, length);
    return Module(node).sendMessage ? Module(node).sendMessage(Instance(node), id, bytes, length)
                                    : kErrInternal;
}

int OutputChainOpen(OutputFilterNode* node)
{
    if (!IsLast(node))
        return node->ops.open ? node->ops.open(node) : OutputChainOpen(node->next);
    return Module(node).open(Instance(node));
}

int OutputChainClose(OutputFilterNode* node)
{
    if (!IsLast(node))
        return node->ops.close ? node->ops.close(node) : OutputChainClose(node->next);
    return Module(node).close(Instance(node));
}

int OutputChainWrite(OutputFilterNode* node, unsigned char* buffer, int size, int bytesPerSample,
                     int channels, int rate)
{
    if (!IsLast(node))
        return node->ops.write ? node->ops.write(node, buffer, size, bytesPerSample, channels, rate)
                               : OutputChainWrite(node->next, buffer, size, bytesPerSample, channels, rate);
    return Module(node).write(Instance(node), buffer, size, bytesPerSample, channels, rate);
}

unsigned char* OutputChainGetBuffer(OutputFilterNode* node, int size)
{
    if (!IsLast(node))
        return node->ops.getBuffer ? node->ops.getBuffer(node, size) : OutputChainGetBuffer(node->next, size);
    return Module(node).getBuffer ? Module(node).getBuffer(Instance(node), size) : nullptr;
}

int OutputChainSetControl(OutputFilterNode* node, OutputControl* control, int flags)
{
    if (!IsLast(node))
        return node->ops.setControl ? node->ops.setControl(node, control, flags)
                                    : OutputChainSetControl(node->next, control, flags);
    return Module(node).setControl ? Module(node).setControl(Instance(node), control, flags) : 0;
}

int OutputChainGetControl(OutputFilterNode* node, OutputControl* control, int flags)
{
    if (!IsLast(node))
        return node->ops.getControl ? node->ops.getControl(node, control, flags)
                                    : OutputChainGetControl(node->next, control, flags);
    if (Module(node).getControl)
        return Module(node).getControl(Instance(node), control, flags);
    // What an output without levels answers.
    control->channels = 1;
    control->masterLevel = 100;
    control->pcmLevel = 100;
    control->balance = 50;
    control->ports = 1;
    return 0;
}

int OutputChainStatus(OutputFilterNode* node, int* delay)
{
    if (!IsLast(node))
        return node->ops.status ? node->ops.status(node, delay) : OutputChainStatus(node->next, delay);
    *delay = 0;
    return Module(node).status ? Module(node).status(Instance(node), delay) : 0;
}

int OutputChainCapabilities(OutputFilterNode* node)
{
    if (!IsLast(node))
        return node->ops.capabilities ? node->ops.capabilities(node) : OutputChainCapabilities(node->next);
    return Module(node).capabilities ? Module(node).capabilities(Instance(node)) : kOutputDefaultCaps;
}

int OutputChainSendMessage(OutputFilterNode* node, int id, const unsigned char* bytes, int length)
{
    if (!IsLast(node))
        return node->ops.sendMessage ? node->ops.sendMessage(node, id, bytes, length)
                                     : OutputChainSendMessage(node->next, id, bytes, length);
    return Module(node).sendMessage ? Module(node).sendMessage(Instance(node), id, bytes, length)
                                    : kErrInternal;
}

InputFilterNode* NewInputChain(Decoder* decoder) { return NewChain<InputFilterNode>(decoder); }
OutputFilterNode* NewOutputChain(Decoder* decoder) { return NewChain<OutputFilterNode>(decoder); }
void FreeInputChain(InputFilterNode* chain) { FreeChain(chain); }
void FreeOutputChain(OutputFilterNode* chain) { FreeChain(chain); }

int AddInputFilter(Decoder* decoder, const InputFilterDescriptor* descriptor, int position)
{
    return AddFilter(&decoder->inputChain, decoder, descriptor, position);
}

int AddOutputFilter(Decoder* decoder, const OutputFilterDescriptor* descriptor, int position)
{
    return AddFilter(&decoder->outputChain, decoder, descriptor, position);
}

int RemoveInputFilter(Decoder* decoder, const char* name, int selector)
{
    return RemoveFilter(&decoder->inputChain, name, selector);
}

int RemoveOutputFilter(Decoder* decoder, const char* name, int selector)
{
    return RemoveFilter(&decoder->outputChain, name, selector);
}

void ForEachInputFilter(Decoder* decoder, FilterCallback callback, void* context)
{
    ForEachFilter(decoder->inputChain, callback, context);
}

void ForEachOutputFilter(Decoder* decoder, FilterCallback callback, void* context)
{
    ForEachFilter(decoder->outputChain, callback, context);
}
