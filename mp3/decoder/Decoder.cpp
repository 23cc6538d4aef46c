#include "mp3/decoder/Decoder.h"

#include <math.h>
#include <stdlib.h>
#include <string.h>

#include "mp3/decoder/DecoderErrors.h"
#include "mp3/decoder/DecoderFilters.h"
#include "mp3/decoder/DecoderInput.h"
#include "mp3/decoder/FileInput.h"
#include "mp3/decoder/FileOutput.h"
#include "mp3/decoder/NetworkInput.h"
#include "mp3/decoder/WaveOutput.h"
#include "mp3/decoder/Id3v2Header.h"
#include "mp3/decoder/XingHeader.h"

namespace {

const int kEqualizerBands = 32;
const float kEqualizerScale = 32.0f;
const int kSeekTableScale = 256;
const int kSeekTableLast = 99;

void ReportInternal(Decoder* decoder, const char* detail)
{
    ReportDebug(decoder, 0, 0, "internal error", detail);
}

// What an operation requires of the part it works on.
enum PartState { kPartClosed, kPartOpen };

int CheckPart(Decoder* decoder, const DecoderPart& part, DecoderSide side, PartState wanted)
{
    bool input = side == kInputSide;
    bool wantOpen = wanted == kPartOpen;
    if (!part.module) {
        ReportInternal(decoder, input ? "null input module" : "null output module");
        return kErrInternal;
    }
    if (!part.instance) {
        ReportInternal(decoder, input ? "null input device" : "null output device");
        return kErrInternal;
    }
    if ((part.open != 0) != wantOpen) {
        const char* detail = wantOpen ? (input ? "input not open" : "output not open")
                                      : (input ? "input not closed" : "output not closed");
        ReportInternal(decoder, detail);
        return kErrInternal;
    }
    return 0;
}

// A record for a new module, or none when an operation it needs is missing (which
// is reported) or memory runs out.
DecoderModuleRecord* NewModuleRecord(Decoder* decoder, const char* missing)
{
    if (missing) {
        ReportInternal(decoder, missing);
        return nullptr;
    }
    return (DecoderModuleRecord*)calloc(1, sizeof(DecoderModuleRecord));
}

int AddModule(DecoderModuleRecord** list, int* count, DecoderModuleRecord* record)
{
    record->id = *list ? (*list)->id + 1 : 0;
    record->next = *list;
    *list = record;
    (*count)++;
    return record->id;
}

DecoderModuleRecord* FindModuleById(DecoderModuleRecord* list, int id)
{
    for (DecoderModuleRecord* m = list; m; m = m->next)
        if (m->id == id)
            return m;
    return nullptr;
}

void FreeModules(DecoderModuleRecord* list)
{
    while (list) {
        DecoderModuleRecord* next = list->next;
        free(list);
        list = next;
    }
}

// What a module without a query operation answers.
int DefaultQuery(DecoderModuleInfo* info, int flags)
{
    if (flags & kQueryNames) {
        strcpy(info->name, "unknown module name");
        info->description[0] = '\0';
    }
    if (flags & kQueryDeviceCount)
        info->device = 1;
    if ((flags & kQueryDevice) && !(flags & (kQueryNames | kQueryDeviceCount))) {
        if (info->device > 0)
            return kErrInvalidParameters;
        strcpy(info->name, "unknown device name");
        info->description[0] = '\0';
        info->flags = kDevicePattern;
    }
    return 0;
}

int QueryModule(DecoderModuleRecord* list, int id, DecoderSide side, DecoderModuleInfo* info, int flags)
{
    bool input = side == kInputSide;
    DecoderModuleRecord* m = FindModuleById(list, id);
    if (!m)
        return kErrModuleNotFound;
    int (*query)(DecoderModuleInfo*, int) = input ? m->input.query : m->output.query;
    return query ? query(info, flags) : DefaultQuery(info, flags);
}

// The module for name: by id, or with id -1 the newest whose probe accepts it.
int ChooseModule(DecoderModuleRecord* list, const char* name, int id, DecoderSide side,
                 DecoderModuleRecord** module)
{
    bool input = side == kInputSide;
    if (id != -1) {
        *module = FindModuleById(list, id);
        return *module ? 0 : kErrModuleNotFound;
    }
    for (DecoderModuleRecord* m = list; m; m = m->next) {
        int (*probe)(const char*) = input ? m->input.probe : m->output.probe;
        if (probe && probe(name) == 0) {
            *module = m;
            return 0;
        }
    }
    return input ? kErrUnsupportedInput : kErrUnsupportedOutput;
}

void ReleasePart(DecoderPart* part, DecoderSide side)
{
    bool input = side == kInputSide;
    free(part->name);
    part->name = nullptr;
    if (!part->instance)
        return;
    if (input) {
        if (part->open)
            part->module->input.close(part->instance);
        part->module->input.destroy(part->instance);
    } else {
        if (part->open)
            part->module->output.close(part->instance);
        part->module->output.destroy(part->instance);
    }
    part->instance = nullptr;
    part->module = nullptr;
    part->open = 0;
}

int SelectPart(Decoder* decoder, DecoderPart* part, DecoderSide side, const char* name, int id)
{
    bool input = side == kInputSide;
    if (!name)
        name = "";
    DecoderModuleRecord* module;
    int code = ChooseModule(input ? decoder->inputModules : decoder->outputModules, name, id, side, &module);
    if (code < 0)
        return code;
    if (part->instance && part->module == module && part->name && strcmp(part->name, name) == 0)
        return 0;
    ReleasePart(part, side);
    part->name = strdup(name);
    if (!part->name)
        return kErrOutOfMemory;
    code = input ? module->input.create(&part->instance, name, module, decoder)
                 : module->output.create(&part->instance, name, module, decoder);
    if (code < 0) {
        part->instance = nullptr;
        return code;
    }
    part->module = module;
    part->capabilities = 0;
    return 0;
}

int Companded(int sample)
{
    // Falls logarithmically from 126 at zero to 31 at the positive end, and from 254
    // just below zero to 159 at the negative end.
    const double kSteps = 95.0;
    const double kMaxIndex = 1023.0;
    int index = sample / 32;
    int magnitude = index >= 0 ? index : -index - 1;
    int step = (int)(kSteps * log1p(255.0 * magnitude / kMaxIndex) / log(256.0));
    return index >= 0 ? 126 - step : 254 - step;
}

// Turns the frame's 16-bit samples into what the output accepts; returns the bytes.
int ConvertSamples(Decoder* decoder, unsigned char* buffer, int samples)
{
    const short* in = (const short*)buffer;
    int caps = decoder->output.capabilities;
    if (caps & kOutput16Bit) {
        decoder->bytesPerSample = 2;
        return samples * 2;
    }
    decoder->bytesPerSample = 1;
    for (int i = 0; i < samples; i++)
        buffer[i] = (unsigned char)((caps & kOutput8BitCompanded) ? Companded(in[i]) : in[i] / 256 + 128);
    return samples;
}

void UpdateTimecode(Decoder* decoder, double time)
{
    if (time < 0)
        time = 0;
    int whole = (int)time;
    decoder->timecode.hours = whole / 3600;
    decoder->timecode.minutes = whole % 3600 / 60;
    decoder->timecode.seconds = whole % 60;
    decoder->timecode.hundredths = (int)((time - whole) * 100);
}

void UpdateStatus(Decoder* decoder, const MpegHeader& header)
{
    decoder->frames++;
    MpegStreamInfo& info = decoder->info;
    if (!decoder->seekTable) {
        MpegStreamInfo current;
        GetMpegStreamInfo(header, &current);
        if (current.version != info.version || current.layer != info.layer ||
            current.frequency != info.frequency || current.mode != info.mode) {
            info = current;
            decoder->infoChanged = 1;
        }
        int average = info.bitrate ? (info.bitrate * 31 + current.bitrate) / 32 : current.bitrate;
        if (average != info.bitrate) {
            info.bitrate = average;
            decoder->infoChanged = 1;
        }
        if (info.bitrate)
            decoder->duration = decoder->size / (info.bitrate * 1000.0 / 8.0);
    }
    double time = 0;
    if (decoder->size) {
        decoder->fraction = (double)decoder->bytesRead / decoder->size;
        time = decoder->duration * decoder->fraction;
    } else if (info.bitrate) {
        time = decoder->bytesRead * 8.0 / (info.bitrate * 1000.0);
    }
    // With a variable bit rate the average, and with it the estimate, moves both ways;
    // the time shown while playing on does not.
    if (time < decoder->playedTime)
        time = decoder->playedTime;
    decoder->playedTime = time;
    UpdateTimecode(decoder, time);
    decoder->delay = 0;
    if (decoder->output.open && (decoder->output.capabilities & kOutputReportsDelay))
        OutputChainStatus(decoder->outputChain, &decoder->delay);
}

// Where the frames of a seekable input begin: after an ID3v2 tag at its start.
unsigned FirstFrameOffset(Decoder* decoder)
{
    unsigned char header[kId3v2HeaderBytes];
    int count = InputChainRead(decoder->inputChain, header, sizeof(header));
    unsigned tag = count == kId3v2HeaderBytes ? Id3v2TagBytes(header) : 0;
    return tag < decoder->size ? tag : 0;
}

// Reads the first frame of a seekable input for a "Xing" or "VBRI" header: duration
// and seek table.
void ReadVbrHeader(Decoder* decoder)
{
    unsigned start = FirstFrameOffset(decoder);
    InputChainSeek(decoder->inputChain, start);
    unsigned char first[kXingProbeBytes];
    int count = InputChainRead(decoder->inputChain, first, sizeof(first));
    if (count > 0) {
        double duration = 0;
        int vbr = 0;
        MpegStreamInfo info;
        if (ReadXingHeader(decoder->size - start, first, count, &info, &duration, &decoder->seekTable, &vbr)) {
            decoder->info = info;
            decoder->duration = duration;
            decoder->infoChanged = 1;
        }
    }
    InputChainSeek(decoder->inputChain, 0);
}

} // namespace

void ReportDebug(Decoder* decoder, int module, int level, const char* message, const char* detail)
{
    if (decoder && decoder->debugReport)
        decoder->debugReport(decoder->reportContext, module, level, message, detail);
}

void ReportEvent(Decoder* decoder, int module, int code, int value, const char* text)
{
    if (decoder && decoder->eventReport)
        decoder->eventReport(decoder->reportContext, module, code, value, text);
}

int CreateDecoder(Decoder** result)
{
    *result = nullptr;
    Decoder* decoder = (Decoder*)calloc(1, sizeof(Decoder));
    if (!decoder)
        return kErrOutOfMemory;
    decoder->output.capabilities = kOutputDefaultCaps;
    decoder->channelsFlag = -1;
    decoder->inputChain = NewInputChain(decoder);
    decoder->outputChain = NewOutputChain(decoder);
    decoder->internalPcm = (short*)malloc(kDecoderFrameBytes);
    if (!decoder->inputChain || !decoder->outputChain || !decoder->internalPcm ||
        CreateMpegEngine(&decoder->engine, decoder) != 0) {
        DestroyDecoder(decoder);
        return kErrOutOfMemory;
    }
    *result = decoder;
    return 0;
}

void DestroyDecoder(Decoder* decoder)
{
    if (!decoder)
        return;
    ReleasePart(&decoder->input, kInputSide);
    FreeInputChain(decoder->inputChain);
    FreeModules(decoder->inputModules);
    ReleasePart(&decoder->output, kOutputSide);
    FreeOutputChain(decoder->outputChain);
    FreeModules(decoder->outputModules);
    DeleteMpegEngine(decoder->engine);
    free(decoder->seekTable);
    free(decoder->internalPcm);
    free(decoder->equalizer[0]);
    free(decoder->equalizer[1]);
    FreeDecoderEnvironment(decoder);
    free(decoder);
}

int RegisterBuiltinInputModules(Decoder* decoder)
{
    int code = RegisterFileInputModule(decoder);
    return code < 0 ? code : RegisterNetworkInputModule(decoder);
}

int RegisterBuiltinOutputModules(Decoder* decoder)
{
    int code = RegisterFileOutputModule(decoder);
    return code < 0 ? code : RegisterWaveOutputModule(decoder);
}

int AddInputModule(Decoder* decoder, const InputModuleDescriptor* d)
{
    const char* missing = !d->create || !d->destroy ? "null 'new' method in module"
                          : !d->open                ? "null 'open' method in module"
                          : !d->close               ? "null 'close' method in module"
                          : !d->read                ? "null 'read' method in module"
                                                    : nullptr;
    DecoderModuleRecord* record = NewModuleRecord(decoder, missing);
    if (!record)
        return missing ? kErrInternal : kErrOutOfMemory;
    record->input = *d;
    return AddModule(&decoder->inputModules, &decoder->inputModuleCount, record);
}

int AddOutputModule(Decoder* decoder, const OutputModuleDescriptor* d)
{
    const char* missing = !d->create || !d->destroy ? "null 'new' method in module"
                          : !d->open                ? "null 'open' method in module"
                          : !d->close               ? "null 'close' method in module"
                          : !d->write               ? "null 'write' method in module"
                                                    : nullptr;
    DecoderModuleRecord* record = NewModuleRecord(decoder, missing);
    if (!record)
        return missing ? kErrInternal : kErrOutOfMemory;
    record->output = *d;
    return AddModule(&decoder->outputModules, &decoder->outputModuleCount, record);
}

int QueryInputModule(Decoder* decoder, int id, DecoderModuleInfo* info, int flags)
{
    return QueryModule(decoder->inputModules, id, kInputSide, info, flags);
}

int QueryOutputModule(Decoder* decoder, int id, DecoderModuleInfo* info, int flags)
{
    return QueryModule(decoder->outputModules, id, kOutputSide, info, flags);
}

int SelectInput(Decoder* decoder, const char* name, int module)
{
    return SelectPart(decoder, &decoder->input, kInputSide, name, module);
}

void ReleaseInput(Decoder* decoder) { ReleasePart(&decoder->input, kInputSide); }

int OpenInput(Decoder* decoder)
{
    int code = CheckPart(decoder, decoder->input, kInputSide, kPartClosed);
    if (code)
        return code;
    code = InputChainOpen(decoder->inputChain);
    if (code < 0)
        return code;
    decoder->bytesRead = 0;
    if (!decoder->size)
        decoder->size = InputChainSize(decoder->inputChain);
    memset(&decoder->info, 0, sizeof(decoder->info));
    memset(&decoder->timecode, 0, sizeof(decoder->timecode));
    decoder->playedTime = 0;
    decoder->infoChanged = 0;
    decoder->fraction = 0;
    decoder->frames = 0;
    ResetMpegEngine(decoder->engine);
    decoder->input.open = 1;
    decoder->input.capabilities = InputChainCapabilities(decoder->inputChain);
    free(decoder->seekTable);
    decoder->seekTable = nullptr;
    if (decoder->input.capabilities & kInputSeekable)
        ReadVbrHeader(decoder);
    return 0;
}

int CloseInput(Decoder* decoder)
{
    int code = CheckPart(decoder, decoder->input, kInputSide, kPartOpen);
    if (code)
        return code;
    ResetMpegBitReader(&decoder->engine->reader);
    decoder->input.capabilities = 0;
    decoder->size = 0;
    decoder->duration = 0;
    decoder->input.open = 0;
    free(decoder->seekTable);
    decoder->seekTable = nullptr;
    return InputChainClose(decoder->inputChain);
}

int ReadInput(Decoder* decoder, unsigned char* buffer, int size)
{
    if (!decoder->input.open)
        return kErrInternal;
    int count = InputChainRead(decoder->inputChain, buffer, size);
    if (count < 0)
        return count;
    if (count == 0)
        return kErrInputEnd;
    decoder->bytesRead += count;
    return count;
}

int SeekInput(Decoder* decoder, unsigned offset)
{
    int code = CheckPart(decoder, decoder->input, kInputSide, kPartOpen);
    if (code)
        return code;
    if (!(decoder->input.capabilities & kInputSeekable) || !decoder->size)
        return kErrFailed;
    if (offset > decoder->size)
        offset = decoder->size;
    decoder->bytesRead = offset;
    decoder->fraction = (double)offset / decoder->size;
    decoder->playedTime = decoder->duration * decoder->fraction;
    UpdateTimecode(decoder, decoder->playedTime);
    ResetMpegEngine(decoder->engine);
    return InputChainSeek(decoder->inputChain, offset);
}

int SeekInputFraction(Decoder* decoder, double f)
{
    f = f < 0 ? 0 : f > 1 ? 1 : f;
    if (!decoder->seekTable)
        return SeekInput(decoder, (unsigned)(decoder->size * f));
    double p = 100 * f;
    int i = (int)p;
    // Past the last entry the table ends at the full scale; the table has no entry
    // 100 to read.
    int upper;
    if (i >= kSeekTableLast) {
        i = kSeekTableLast;
        upper = kSeekTableScale;
    } else {
        upper = decoder->seekTable[i + 1];
    }
    int lower = decoder->seekTable[i];
    return SeekInput(decoder, (unsigned)(decoder->size * (lower + (p - i) * (upper - lower)) / kSeekTableScale));
}

int SeekInputTime(Decoder* decoder, double seconds)
{
    if (decoder->duration == 0)
        return SeekInputFraction(decoder, 0);
    return SeekInputFraction(decoder, (seconds > 0 ? seconds : 0) / decoder->duration);
}

int SeekInputTimecode(Decoder* decoder, const DecoderTimecode* t)
{
    if (!t)
        return kErrInvalidParameters;
    return SeekInputTime(decoder, 3600.0 * t->hours + 60.0 * t->minutes + t->seconds + t->hundredths / 100.0);
}

int SendInputMessage(Decoder* decoder, int id, const unsigned char* bytes, int length)
{
    int code = CheckPart(decoder, decoder->input, kInputSide, kPartOpen);
    return code ? code : InputChainSendMessage(decoder->inputChain, id, bytes, length);
}

int SelectOutput(Decoder* decoder, const char* name, int module)
{
    return SelectPart(decoder, &decoder->output, kOutputSide, name, module);
}

void ReleaseOutput(Decoder* decoder) { ReleasePart(&decoder->output, kOutputSide); }

int OpenOutput(Decoder* decoder)
{
    int code = CheckPart(decoder, decoder->output, kOutputSide, kPartClosed);
    if (code)
        return code;
    code = OutputChainOpen(decoder->outputChain);
    if (code < 0)
        return code;
    decoder->channelsFlag = -1;
    decoder->bytesPerSample = 0;
    decoder->rate = 0;
    ResetMpegSynthesis(decoder->engine->left);
    ResetMpegSynthesis(decoder->engine->right);
    decoder->output.capabilities = OutputChainCapabilities(decoder->outputChain);
    decoder->output.open = 1;
    return 0;
}

int CloseOutput(Decoder* decoder)
{
    int code = CheckPart(decoder, decoder->output, kOutputSide, kPartOpen);
    if (code)
        return code;
    decoder->output.capabilities = 0;
    decoder->output.open = 0;
    return OutputChainClose(decoder->outputChain);
}

int WriteOutput(Decoder* decoder, unsigned char* buffer, int size)
{
    int code = CheckPart(decoder, decoder->output, kOutputSide, kPartOpen);
    if (code)
        return code;
    return OutputChainWrite(decoder->outputChain, buffer, size, decoder->bytesPerSample,
                            decoder->channelsFlag, decoder->rate);
}

int SetOutputControl(Decoder* decoder, OutputControl* control, int flags)
{
    int code = CheckPart(decoder, decoder->output, kOutputSide, kPartOpen);
    return code ? code : OutputChainSetControl(decoder->outputChain, control, flags);
}

int GetOutputControl(Decoder* decoder, OutputControl* control, int flags)
{
    int code = CheckPart(decoder, decoder->output, kOutputSide, kPartOpen);
    if (code)
        return code;
    if (!control) {
        ReportInternal(decoder, "null control block");
        return kErrInternal;
    }
    return OutputChainGetControl(decoder->outputChain, control, flags);
}

int SendOutputMessage(Decoder* decoder, int id, const unsigned char* bytes, int length)
{
    int code = CheckPart(decoder, decoder->output, kOutputSide, kPartOpen);
    return code ? code : OutputChainSendMessage(decoder->outputChain, id, bytes, length);
}

int SetChannelMode(Decoder* decoder, int mode)
{
    if (!decoder)
        return kErrInvalidParameters;
    decoder->options.channelMode = mode;
    return 0;
}

int GetChannelMode(Decoder* decoder) { return decoder ? decoder->options.channelMode : kErrInvalidParameters; }

int SetDownsampling(Decoder* decoder, int mode)
{
    if (!decoder)
        return kErrInvalidParameters;
    decoder->options.downsampling = mode;
    return 0;
}

int GetDownsampling(Decoder* decoder) { return decoder ? decoder->options.downsampling : kErrInvalidParameters; }

int SetEqualizer(Decoder* decoder, const signed char* bytes)
{
    if (!bytes) {
        for (float*& table : decoder->equalizer) {
            free(table);
            table = nullptr;
        }
        return 0;
    }
    for (int c = 0; c < 2; c++) {
        float*& table = decoder->equalizer[c];
        if (!table)
            table = (float*)malloc(kEqualizerBands * sizeof(float));
        if (!table)
            return kErrOutOfMemory;
        for (int i = 0; i < kEqualizerBands; i++) {
            float b = bytes[c * kEqualizerBands + i];
            table[i] = b >= 0 ? 1 + b / kEqualizerScale : 1 / (1 - b / kEqualizerScale);
        }
    }
    return 0;
}

int GetEqualizer(Decoder* decoder, signed char* bytes)
{
    int result = 0;
    for (int c = 0; c < 2; c++) {
        const float* table = decoder->equalizer[c];
        if (!table)
            result = kErrFailed;
        for (int i = 0; i < kEqualizerBands; i++) {
            float g = table ? table[i] : 1;
            bytes[c * kEqualizerBands + i] =
                (signed char)(g >= 1 ? (g - 1) * kEqualizerScale : (1 - 1 / g) * kEqualizerScale);
        }
    }
    return result;
}

int DecodeFrame(Decoder* decoder, unsigned char* buffer)
{
    if (!decoder->input.open) {
        ReportInternal(decoder, "input not open");
        return kErrInternal;
    }
    decoder->pcm = buffer ? buffer : (unsigned char*)decoder->internalPcm;
    decoder->engine->left->equalizer = decoder->equalizer[0];
    decoder->engine->right->equalizer = decoder->equalizer[1];
    MpegFrameOutput frame;
    int code = DecodeMpegFrame(decoder->engine, decoder->options, (short*)decoder->pcm, &frame);
    if (code)
        return code;
    int oldBytesPerSample = decoder->bytesPerSample;
    int oldChannelsFlag = decoder->channelsFlag;
    int oldRate = decoder->rate;
    decoder->pcmBytes = ConvertSamples(decoder, decoder->pcm, frame.sampleCount);
    decoder->channelsFlag = frame.channels - 1;
    decoder->rate = frame.frequency;
    decoder->formatChanges = 0;
    if (decoder->bytesPerSample != oldBytesPerSample)
        decoder->formatChanges |= kPcmSampleSizeChanged;
    if (decoder->channelsFlag != oldChannelsFlag)
        decoder->formatChanges |= kPcmChannelsChanged | kPcmRateChanged;
    if (decoder->rate != oldRate)
        decoder->formatChanges |= kPcmRateChanged;
    UpdateStatus(decoder, frame.header);
    return 0;
}

int DecodeStep(Decoder* decoder)
{
    if (!decoder->output.open) {
        ReportInternal(decoder, "output not open");
        return kErrInternal;
    }
    unsigned char* buffer = OutputChainGetBuffer(decoder->outputChain, kDecoderFrameBytes);
    int code = DecodeFrame(decoder, buffer);
    if (code)
        return code;
    if (decoder->formatChanges) {
        OutputControl control = {};
        control.bytesPerSample = decoder->bytesPerSample;
        control.rate = decoder->rate;
        control.channels = decoder->channelsFlag;
        OutputChainSetControl(decoder->outputChain, &control, decoder->formatChanges);
    }
    code = WriteOutput(decoder, decoder->pcm, decoder->pcmBytes);
    return code < 0 ? code : 0;
}
