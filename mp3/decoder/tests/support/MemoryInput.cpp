#include "mp3/decoder/tests/support/MemoryInput.h"

#include <stdio.h>

#include "mp3/decoder/Decoder.h"
#include "mp3/decoder/DecoderErrors.h"

namespace {

// A module's operations carry no context of their own, so the input's name is the
// address of the stream it reads.
int Create(void** instance, const char* name, DecoderModuleRecord*, Decoder*)
{
    void* stream = nullptr;
    if (sscanf(name, "%p", &stream) != 1 || !stream)
        return kErrInvalidParameters;
    *instance = stream;
    return 0;
}

// The stream belongs to its MemoryInput: nothing to make, free, open or close.
int Nothing(void*) { return 0; }

int ReadStream(void* instance, unsigned char* buffer, int size)
{
    return ((MemoryStream*)instance)->Read(buffer, size);
}

} // namespace

MemoryInput::MemoryInput()
{
    if (CreateDecoder(&m_decoder) != 0)
        return;
    InputModuleDescriptor d = {};
    d.create = Create;
    d.destroy = Nothing;
    d.open = Nothing;
    d.close = Nothing;
    d.read = ReadStream;
    int module = AddInputModule(m_decoder, &d);
    char name[32];
    snprintf(name, sizeof(name), "%p", (void*)static_cast<MemoryStream*>(this));
    if (module < 0 || SelectInput(m_decoder, name, module) != 0 || OpenInput(m_decoder) != 0) {
        DestroyDecoder(m_decoder);
        m_decoder = nullptr;
    }
}

MemoryInput::~MemoryInput()
{
    DestroyDecoder(m_decoder);
}
