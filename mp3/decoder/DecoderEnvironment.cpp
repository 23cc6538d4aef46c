#include "mp3/decoder/DecoderEnvironment.h"

#include <stdlib.h>
#include <string.h>

#include "mp3/decoder/Decoder.h"
#include "mp3/decoder/DecoderErrors.h"

namespace {

DecoderVariable* FindVariable(Decoder* decoder, const char* name)
{
    for (DecoderVariable* v = decoder->variables; v; v = v->next)
        if (strcmp(v->name, name) == 0)
            return v;
    return nullptr;
}

void TellWatchers(Decoder* decoder, const char* name, const void* value)
{
    for (DecoderWatcher* w = decoder->watchers; w; w = w->next)
        if (strcmp(w->name, name) == 0)
            w->callback(w->context, name, value);
}

void TellValue(Decoder* decoder, const DecoderVariable* v)
{
    TellWatchers(decoder, v->name, v->isInteger ? (const void*)&v->integer : v->text);
}

void FreeVariable(DecoderVariable* v)
{
    free(v->name);
    free(v->text);
    free(v);
}

DecoderVariable* NewVariable(Decoder* decoder, const char* name)
{
    DecoderVariable* v = (DecoderVariable*)calloc(1, sizeof(DecoderVariable));
    if (!v)
        return nullptr;
    v->name = strdup(name);
    if (!v->name) {
        free(v);
        return nullptr;
    }
    v->next = decoder->variables;
    decoder->variables = v;
    return v;
}

} // namespace

int SetIntegerVariable(Decoder* decoder, const char* name, int value)
{
    if (!decoder || !name)
        return kErrInvalidParameters;
    DecoderVariable* v = FindVariable(decoder, name);
    if (v && !v->isInteger)
        return kErrVariableType;
    if (!v) {
        v = NewVariable(decoder, name);
        if (!v)
            return kErrOutOfMemory;
        v->isInteger = 1;
    }
    v->integer = value;
    TellValue(decoder, v);
    return 0;
}

int GetIntegerVariable(Decoder* decoder, const char* name, int* value)
{
    if (!decoder || !name || !value)
        return kErrInvalidParameters;
    DecoderVariable* v = FindVariable(decoder, name);
    if (!v)
        return kErrNoSuchVariable;
    if (!v->isInteger)
        return kErrVariableType;
    *value = v->integer;
    return 0;
}

int SetStringVariable(Decoder* decoder, const char* name, const char* text)
{
    if (!decoder || !name || !text)
        return kErrInvalidParameters;
    DecoderVariable* v = FindVariable(decoder, name);
    if (v && v->isInteger)
        return kErrVariableType;
    char* copy = strdup(text);
    if (!copy)
        return kErrOutOfMemory;
    if (!v) {
        v = NewVariable(decoder, name);
        if (!v) {
            free(copy);
            return kErrOutOfMemory;
        }
    }
    free(v->text);
    v->text = copy;
    TellValue(decoder, v);
    return 0;
}

int GetStringVariable(Decoder* decoder, const char* name, char* text, int size)
{
    if (!decoder || !name || !text || size < 1)
        return kErrInvalidParameters;
    DecoderVariable* v = FindVariable(decoder, name);
    if (!v)
        return kErrNoSuchVariable;
    if (v->isInteger)
        return kErrVariableType;
    strncpy(text, v->text, size - 1);
    text[size - 1] = '\0';
    return 0;
}

int UnsetVariable(Decoder* decoder, const char* name)
{
    if (!decoder || !name)
        return kErrInvalidParameters;
    for (DecoderVariable** link = &decoder->variables; *link; link = &(*link)->next) {
        DecoderVariable* v = *link;
        if (strcmp(v->name, name) != 0)
            continue;
        TellWatchers(decoder, name, nullptr);
        *link = v->next;
        FreeVariable(v);
        return 0;
    }
    return kErrNoSuchVariable;
}

int AddWatcher(Decoder* decoder, const char* name, void* context, DecoderWatcherCallback callback,
               DecoderWatcher** handle)
{
    if (!decoder || !name || !callback)
        return kErrInvalidParameters;
    DecoderWatcher* w = (DecoderWatcher*)calloc(1, sizeof(DecoderWatcher));
    if (!w)
        return kErrOutOfMemory;
    w->name = strdup(name);
    if (!w->name) {
        free(w);
        return kErrOutOfMemory;
    }
    w->context = context;
    w->callback = callback;
    w->next = decoder->watchers;
    decoder->watchers = w;
    if (handle)
        *handle = w;
    return 0;
}

int RemoveWatcher(Decoder* decoder, DecoderWatcher* handle)
{
    if (!decoder || !handle)
        return kErrInvalidParameters;
    for (DecoderWatcher** link = &decoder->watchers; *link; link = &(*link)->next) {
        if (*link != handle)
            continue;
        *link = handle->next;
        free(handle->name);
        free(handle);
        return 0;
    }
    return kErrFailed;
}

void FreeDecoderEnvironment(Decoder* decoder)
{
    while (DecoderVariable* v = decoder->variables) {
        decoder->variables = v->next;
        FreeVariable(v);
    }
    while (DecoderWatcher* w = decoder->watchers) {
        decoder->watchers = w->next;
        free(w->name);
        free(w);
    }
}

int GetIntegerSetting(Decoder* decoder, const char* name, int fallback)
{
    int value;
    return GetIntegerVariable(decoder, name, &value) == 0 ? value : fallback;
}
