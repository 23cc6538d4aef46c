#include "mp3/decoder/DecoderPlayer.h"

#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "mp3/decoder/Decoder.h"
#include "mp3/decoder/DecoderChannel.h"
#include "mp3/decoder/DecoderErrors.h"
#include "mp3/decoder/DecoderFilters.h"

namespace {

const int kInitialRange = 400;
const int kInitialGranularity = 100;
const int kReportTextSize = 1024;
const int kEnvironmentTextSize = 1024;
const int kFeedbackSamples = 128;
const int kMicroseconds = 1000000;
// A stream input that has nothing yet is asked again after this pause, or at once
// when a command arrives.
const DWORD kStallPauseMs = 10;
const int kAllControls = kControlMaster | kControlPcm | kControlBalance | kControlPorts;

struct DecoderPlayer {
    Decoder* decoder;
    DecoderChannel* channel;
    int state;
    int mode;
    int range;
    int lastPosition;
    int granularity;
    DecoderTimecode lastTimecode;
    int lastDuration;
    int inputModule;
    char* inputName;
    int outputModule;
    char* outputName;
    int feedbackPeriod; // microseconds, 0 off
    LARGE_INTEGER lastFeedback;
    unsigned mask;
    int debugLevel;
    bool exiting;
};

struct MaskBit {
    int code;
    unsigned bit;
};

const MaskBit kMaskBits[] = {
    {kMsgErrorReport, 0x1},       {kMsgDebugReport, 0x2},        {kMsgModuleEvent, 0x4},
    {kMsgAck, 0x8},               {kMsgNack, 0x10},              {kMsgPlayerState, 0x20},
    {kMsgInputState, 0x40},       {kMsgInputName, 0x80},         {kMsgInputCaps, 0x100},
    {kMsgInputDuration, 0x200},   {kMsgInputPosition, 0x400},    {kMsgInputPositionRange, 0x800},
    {kMsgInputTimecode, 0x1000},  {kMsgInputTimecodeGranularity, 0x2000},
    {kMsgInputStreamInfo, 0x4000}, {kMsgOutputState, 0x8000},    {kMsgOutputName, 0x10000},
    {kMsgOutputCaps, 0x20000},    {kMsgOutputBalance, 0x80000},  {kMsgOutputPcmLevel, 0x100000},
    {kMsgOutputMasterLevel, 0x200000}, {kMsgOutputPorts, 0x400000},
};

bool Masked(const DecoderPlayer* p, int code)
{
    for (const MaskBit& m : kMaskBits)
        if (m.code == code)
            return !(p->mask & m.bit);
    return false;
}

void Notify(DecoderPlayer* p, int code, ...)
{
    if (Masked(p, code))
        return;
    va_list arguments;
    va_start(arguments, code);
    SendDecoderCommandV(p->channel, code, arguments);
    va_end(arguments);
}

const char* Text(const char* text) { return text ? text : ""; }

void SetState(DecoderPlayer* p, int state)
{
    if (p->state == state)
        return;
    p->state = state;
    Notify(p, kMsgPlayerState, state);
}

void ReportText(char* text, const char* message, const char* detail)
{
    if (detail && *detail)
        snprintf(text, kReportTextSize, "%s (%s)", Text(message), detail);
    else
        snprintf(text, kReportTextSize, "%s", Text(message));
}

void OnEvent(void* context, int module, int code, int value, const char* text)
{
    Notify((DecoderPlayer*)context, kMsgModuleEvent, module, code, value, Text(text));
}

void OnDebug(void* context, int module, int level, const char* message, const char* detail)
{
    DecoderPlayer* p = (DecoderPlayer*)context;
    if (level > p->debugLevel)
        return;
    char text[kReportTextSize];
    ReportText(text, message, detail);
    Notify(p, kMsgDebugReport, module, level, text);
}

void OnError(void* context, int module, int code, const char* message, const char* detail)
{
    char text[kReportTextSize];
    ReportText(text, message, detail);
    Notify((DecoderPlayer*)context, kMsgErrorReport, module, code, text);
}

int Control(DecoderPlayer* p, int flags)
{
    if (!p->decoder->output.open)
        return kErrInternal;
    OutputControl control = {};
    return SetOutputControl(p->decoder, &control, flags);
}

int StoreName(char** stored, const char* name)
{
    char* copy = strdup(name);
    if (!copy)
        return kErrOutOfMemory;
    free(*stored);
    *stored = copy;
    return 0;
}

void SendTimecode(DecoderPlayer* p)
{
    const DecoderTimecode& t = p->lastTimecode;
    Notify(p, kMsgInputTimecode, t.hours, t.minutes, t.seconds, t.hundredths);
}

void SendStreamInfo(DecoderPlayer* p)
{
    const MpegStreamInfo& i = p->decoder->info;
    Notify(p, kMsgInputStreamInfo, i.version, i.layer, i.bitrate, i.frequency, i.mode);
    p->decoder->infoChanged = 0;
}

int PlayCommand(DecoderPlayer* p);

// What opening differs in between the input and the output.
struct PartCommands {
    DecoderSide side;
    int (*select)(Decoder*, const char*, int);
    int (*open)(Decoder*);
    int (*close)(Decoder*);
    int stateCode;
    int nameCode;
    int capsCode;
};

const PartCommands kInputCommands = {kInputSide, SelectInput, OpenInput, CloseInput,
                                     kMsgInputState, kMsgInputName, kMsgInputCaps};
const PartCommands kOutputCommands = {kOutputSide, SelectOutput, OpenOutput, CloseOutput,
                                      kMsgOutputState, kMsgOutputName, kMsgOutputCaps};

// Closes the part when open, stores a new name, then selects and opens the part
// by the stored name and module, telling the client its state, name and
// capabilities.
int OpenPart(DecoderPlayer* p, const PartCommands& c, const char* name)
{
    Decoder* d = p->decoder;
    bool input = c.side == kInputSide;
    DecoderPart& part = input ? d->input : d->output;
    char** stored = input ? &p->inputName : &p->outputName;
    if (part.open)
        c.close(d);
    if (name && *name) {
        int code = StoreName(stored, name);
        if (code)
            return code;
    }
    int code = c.select(d, *stored, input ? p->inputModule : p->outputModule);
    if (code < 0)
        return code;
    code = c.open(d);
    if (code < 0) {
        Notify(p, c.stateCode, 1);
        SetState(p, kPlayerStopped);
        return code;
    }
    Notify(p, c.stateCode, 0);
    Notify(p, c.nameCode, Text(*stored));
    Notify(p, c.capsCode, part.capabilities);
    return 0;
}

int InputOpenCommand(DecoderPlayer* p, const char* name)
{
    int code = OpenPart(p, kInputCommands, name);
    if (code < 0)
        return code;
    Decoder* d = p->decoder;
    p->lastTimecode = DecoderTimecode{-1, -1, -1, -1};
    p->lastDuration = (int)d->duration;
    Notify(p, kMsgInputDuration, p->lastDuration);
    if (d->info.layer)
        SendStreamInfo(p);
    return p->state == kPlayerPlaying ? PlayCommand(p) : 0;
}

void GetVolumeCommand(DecoderPlayer* p)
{
    OutputControl control = {};
    if (p->decoder->output.open)
        GetOutputControl(p->decoder, &control, kAllControls);
    Notify(p, kMsgOutputBalance, control.balance);
    Notify(p, kMsgOutputPcmLevel, control.pcmLevel);
    Notify(p, kMsgOutputMasterLevel, control.masterLevel);
}

void GetPortsCommand(DecoderPlayer* p)
{
    OutputControl control = {};
    if (p->decoder->output.open)
        GetOutputControl(p->decoder, &control, kControlPorts);
    Notify(p, kMsgOutputPorts, control.ports);
}

int OutputOpenCommand(DecoderPlayer* p, const char* name)
{
    int code = OpenPart(p, kOutputCommands, name);
    if (code < 0)
        return code;
    GetVolumeCommand(p);
    GetPortsCommand(p);
    return 0;
}

int PlayCommand(DecoderPlayer* p)
{
    if (!p->decoder->input.open) {
        int code = InputOpenCommand(p, nullptr);
        if (code < 0)
            return code;
    }
    if (!p->decoder->output.open) {
        int code = OutputOpenCommand(p, nullptr);
        if (code < 0)
            return code;
    }
    Control(p, kControlRestart);
    SetState(p, kPlayerPlaying);
    return 0;
}

int PauseCommand(DecoderPlayer* p)
{
    if (!p->decoder->input.open)
        return kErrInternal;
    if (p->mode & kModeCloseOnPause) {
        if (Control(p, kControlReset) == 0)
            CloseOutput(p->decoder);
    } else {
        Control(p, kControlPause);
    }
    SetState(p, kPlayerPaused);
    return 0;
}

int StopCommand(DecoderPlayer* p)
{
    if (!p->decoder->input.open)
        return kErrInternal;
    if (Control(p, kControlReset) == 0 && (p->mode & kModeCloseOnStop))
        CloseOutput(p->decoder);
    SeekInputFraction(p->decoder, 0);
    SetState(p, kPlayerStopped);
    return 0;
}

int SeekCommand(DecoderPlayer* p, int offset, int range)
{
    if (range == 0)
        return kErrInvalidParameters;
    if (!p->decoder->input.open)
        return kErrFailed;
    if (p->state == kPlayerPlaying || p->state == kPlayerPaused)
        Control(p, kControlReset);
    int code = SeekInputFraction(p->decoder, (double)offset / range);
    Notify(p, kMsgInputPosition, offset, range);
    p->lastTimecode = p->decoder->timecode;
    SendTimecode(p);
    if (p->state == kPlayerInputEnd)
        SetState(p, kPlayerStopped);
    return code;
}

// A module reference: "function@" and the hexadecimal address of a registration
// function within the program, or a symbol and a library name ("symbol@library",
// or the library alone with the default symbol).
typedef void (*RegistrationFunction)(void* descriptor);

int ResolveReference(const char* reference, const char* defaultSymbol, RegistrationFunction* function)
{
    static const char kFunction[] = "function@";
    if (strncmp(reference, kFunction, strlen(kFunction)) == 0) {
        *function = (RegistrationFunction)(UINT_PTR)strtoull(reference + strlen(kFunction), nullptr, 16);
        return *function ? 0 : kErrSymbolNotFound;
    }
    const char* at = strchr(reference, '@');
    char symbol[256];
    const char* library = reference;
    if (at) {
        snprintf(symbol, sizeof(symbol), "%.*s", (int)(at - reference), reference);
        library = at + 1;
    } else {
        snprintf(symbol, sizeof(symbol), "%s", defaultSymbol);
    }
    HMODULE module = LoadLibraryA(library);
    if (!module)
        return kErrLibraryNotFound;
    *function = (RegistrationFunction)GetProcAddress(module, symbol);
    return *function ? 0 : kErrSymbolNotFound;
}

void SendFilterInfo(void* context, const char* name, int id)
{
    DecoderPlayer* p = (DecoderPlayer*)((void**)context)[0];
    int code = (int)(INT_PTR)((void**)context)[1];
    Notify(p, code, Text(name), id);
}

int FilterRegisterCommand(DecoderPlayer* p, DecoderSide side, const char* reference, int position)
{
    bool input = side == kInputSide;
    if (!reference || !*reference)
        return kErrInvalidParameters;
    RegistrationFunction function;
    int code = ResolveReference(reference, input ? "input_filter_register" : "output_filter_register", &function);
    if (code < 0)
        return code;
    int id;
    const char* name;
    if (input) {
        InputFilterDescriptor descriptor = {};
        function(&descriptor);
        id = AddInputFilter(p->decoder, &descriptor, position);
        name = descriptor.name ? descriptor.name() : "";
    } else {
        OutputFilterDescriptor descriptor = {};
        function(&descriptor);
        id = AddOutputFilter(p->decoder, &descriptor, position);
        name = descriptor.name ? descriptor.name() : "";
    }
    Notify(p, input ? kMsgInputFilterInfo : kMsgOutputFilterInfo, Text(name), id);
    return id;
}

int FiltersListCommand(DecoderPlayer* p, DecoderSide side)
{
    bool input = side == kInputSide;
    void* context[] = {p, (void*)(INT_PTR)(input ? kMsgInputFilterInfo : kMsgOutputFilterInfo)};
    if (input)
        ForEachInputFilter(p->decoder, SendFilterInfo, context);
    else
        ForEachOutputFilter(p->decoder, SendFilterInfo, context);
    return 0;
}

int ModuleRegisterCommand(DecoderPlayer* p, DecoderSide side, const char* reference)
{
    bool input = side == kInputSide;
    if (!reference || !*reference)
        return kErrInvalidParameters;
    RegistrationFunction function;
    int code = ResolveReference(reference, input ? "input_module_register" : "output_module_register", &function);
    if (code < 0)
        return code;
    if (input) {
        InputModuleDescriptor descriptor = {};
        function(&descriptor);
        code = AddInputModule(p->decoder, &descriptor);
    } else {
        OutputModuleDescriptor descriptor = {};
        function(&descriptor);
        code = AddOutputModule(p->decoder, &descriptor);
    }
    return code < 0 ? code : 0;
}

int ModuleQueryCommand(DecoderPlayer* p, DecoderSide side, int id)
{
    bool input = side == kInputSide;
    Decoder* d = p->decoder;
    int count = input ? d->inputModuleCount : d->outputModuleCount;
    if (id < 0 || id >= count)
        return kErrModuleNotFound;
    DecoderModuleInfo info = {};
    int (*query)(Decoder*, int, DecoderModuleInfo*, int) = input ? QueryInputModule : QueryOutputModule;
    if (query(d, id, &info, kQueryNames | kQueryDeviceCount) < 0)
        return 0;
    int devices = info.device;
    Notify(p, input ? kMsgInputModuleInfo : kMsgOutputModuleInfo, id, devices, info.name, info.description);
    for (int i = 0; i < devices; i++) {
        DecoderModuleInfo device = {};
        device.device = i;
        if (query(d, id, &device, kQueryDevice) == 0)
            Notify(p, input ? kMsgInputDeviceInfo : kMsgOutputDeviceInfo, id, i, device.flags, device.name,
                   device.description);
    }
    return 0;
}

int ModulesListCommand(DecoderPlayer* p, DecoderSide side)
{
    bool input = side == kInputSide;
    int count = input ? p->decoder->inputModuleCount : p->decoder->outputModuleCount;
    for (int id = 0; id < count; id++)
        ModuleQueryCommand(p, side, id);
    return 0;
}

int SetModuleCommand(int* stored, int count, int id)
{
    if (id < -1 || id >= count)
        return kErrModuleNotFound;
    *stored = id;
    return 0;
}

int SetVolumeCommand(DecoderPlayer* p, int balance, int pcm, int master)
{
    OutputControl control = {};
    int flags = 0;
    const int kMaxLevel = 100;
    if (balance <= kMaxLevel) {
        control.balance = balance;
        flags |= kControlBalance;
    }
    if (pcm <= kMaxLevel) {
        control.pcmLevel = pcm;
        flags |= kControlPcm;
    }
    if (master <= kMaxLevel) {
        control.masterLevel = master;
        flags |= kControlMaster;
    }
    return SetOutputControl(p->decoder, &control, flags);
}

int EnvironmentCommand(DecoderPlayer* p, int code, const DecoderField* f)
{
    Decoder* d = p->decoder;
    switch (code) {
    case kMsgSetEnvironmentInteger:
        return SetIntegerVariable(d, f[0].text, f[1].value);
    case kMsgGetEnvironmentInteger: {
        int value;
        int result = GetIntegerVariable(d, f[0].text, &value);
        if (result == 0)
            Notify(p, kMsgEnvironmentInteger, f[0].text, value);
        return result;
    }
    case kMsgSetEnvironmentString:
        return SetStringVariable(d, f[0].text, f[1].text);
    case kMsgGetEnvironmentString: {
        char value[kEnvironmentTextSize];
        int result = GetStringVariable(d, f[0].text, value, sizeof(value));
        if (result == 0)
            Notify(p, kMsgEnvironmentString, f[0].text, value);
        return result;
    }
    }
    return UnsetVariable(d, f[0].text);
}

int SetNameCommand(DecoderPlayer* p, DecoderSide side, const char* name)
{
    bool input = side == kInputSide;
    int code = StoreName(input ? &p->inputName : &p->outputName, Text(name));
    if (code)
        return code;
    if (input && p->decoder->input.open)
        return InputOpenCommand(p, nullptr);
    if (!input && p->decoder->output.open)
        return OutputOpenCommand(p, nullptr);
    return 0;
}

int EqualizerCommand(DecoderPlayer* p)
{
    signed char bytes[kEqualizerBytes];
    if (GetEqualizer(p->decoder, bytes) < 0)
        Notify(p, kMsgCodecEqualizer, nullptr);
    else
        Notify(p, kMsgCodecEqualizer, bytes);
    return 0;
}

int Run(DecoderPlayer* p, const DecoderMessage& m)
{
    const DecoderField* f = m.fields;
    Decoder* d = p->decoder;
    switch (m.code) {
    case kMsgPing: Notify(p, kMsgPong, f[0].value); return 0;
    case kMsgPlay: return PlayCommand(p);
    case kMsgPause: return PauseCommand(p);
    case kMsgStop: return StopCommand(p);
    case kMsgSeek: return SeekCommand(p, f[0].value, f[1].value);
    case kMsgInputOpen: return InputOpenCommand(p, f[0].text);
    case kMsgInputClose:
        SetState(p, kPlayerStopped);
        {
            int code = CloseInput(d);
            Notify(p, kMsgInputState, 1);
            return code;
        }
    case kMsgInputSendMessage: return SendInputMessage(d, f[0].value, f[1].bytes, f[1].length);
    case kMsgInputFilterRegister: return FilterRegisterCommand(p, kInputSide, f[0].text, f[1].value);
    case kMsgInputFilterUnregister: return RemoveInputFilter(d, f[0].text, f[1].value);
    case kMsgInputFiltersList: return FiltersListCommand(p, kInputSide);
    case kMsgInputModuleRegister: return ModuleRegisterCommand(p, kInputSide, f[0].text);
    case kMsgInputModuleQuery: return ModuleQueryCommand(p, kInputSide, f[0].value);
    case kMsgInputModulesList: return ModulesListCommand(p, kInputSide);
    case kMsgOutputOpen: return OutputOpenCommand(p, f[0].text);
    case kMsgOutputClose:
        SetState(p, kPlayerStopped);
        {
            int code = CloseOutput(d);
            Notify(p, kMsgOutputState, 1);
            return code;
        }
    case kMsgOutputSendMessage: return SendOutputMessage(d, f[0].value, f[1].bytes, f[1].length);
    case kMsgOutputMute: return Control(p, kControlMute);
    case kMsgOutputUnmute: return Control(p, kControlUnmute);
    case kMsgOutputReset: return Control(p, kControlReset);
    case kMsgOutputDrain: return Control(p, kControlDrain);
    case kMsgOutputFilterRegister: return FilterRegisterCommand(p, kOutputSide, f[0].text, f[1].value);
    case kMsgOutputFilterUnregister: return RemoveOutputFilter(d, f[0].text, f[1].value);
    case kMsgOutputFiltersList: return FiltersListCommand(p, kOutputSide);
    case kMsgOutputModuleRegister: return ModuleRegisterCommand(p, kOutputSide, f[0].text);
    case kMsgOutputModuleQuery: return ModuleQueryCommand(p, kOutputSide, f[0].value);
    case kMsgOutputModulesList: return ModulesListCommand(p, kOutputSide);
    case kMsgSetPlayerMode:
        p->mode = f[0].value;
        Notify(p, kMsgPlayerMode, p->mode);
        return 0;
    case kMsgGetPlayerMode: Notify(p, kMsgPlayerMode, p->mode); return 0;
    case kMsgSetEnvironmentInteger:
    case kMsgGetEnvironmentInteger:
    case kMsgSetEnvironmentString:
    case kMsgGetEnvironmentString:
    case kMsgUnsetEnvironment: return EnvironmentCommand(p, m.code, f);
    case kMsgSetInputName: return SetNameCommand(p, kInputSide, f[0].text);
    case kMsgGetInputName: Notify(p, kMsgInputName, Text(p->inputName)); return 0;
    case kMsgSetInputModule: return SetModuleCommand(&p->inputModule, d->inputModuleCount, f[0].value);
    case kMsgGetInputModule: Notify(p, kMsgInputModule, p->inputModule); return 0;
    case kMsgSetInputPositionRange:
        if (f[0].value == 0)
            return kErrInvalidParameters;
        p->range = f[0].value;
        return 0;
    case kMsgGetInputPositionRange: Notify(p, kMsgInputPositionRange, p->range); return 0;
    case kMsgSetInputTimecodeGranularity:
        if (f[0].value == 0)
            return kErrInvalidParameters;
        p->granularity = f[0].value;
        return 0;
    case kMsgGetInputTimecodeGranularity: Notify(p, kMsgInputTimecodeGranularity, p->granularity); return 0;
    case kMsgSetOutputName: return SetNameCommand(p, kOutputSide, f[0].text);
    case kMsgGetOutputName: Notify(p, kMsgOutputName, Text(p->outputName)); return 0;
    case kMsgSetOutputModule: return SetModuleCommand(&p->outputModule, d->outputModuleCount, f[0].value);
    case kMsgGetOutputModule: Notify(p, kMsgOutputModule, p->outputModule); return 0;
    case kMsgSetOutputVolume: return SetVolumeCommand(p, f[0].value, f[1].value, f[2].value);
    case kMsgGetOutputVolume: GetVolumeCommand(p); return 0;
    case kMsgSetOutputChannels:
        SetChannelMode(d, f[0].value);
        Control(p, kControlReset);
        return 0;
    case kMsgGetOutputChannels: Notify(p, kMsgOutputChannels, GetChannelMode(d)); return 0;
    case kMsgSetOutputPorts: {
        OutputControl control = {};
        control.ports = f[0].value;
        return SetOutputControl(d, &control, kControlPorts);
    }
    case kMsgGetOutputPorts: GetPortsCommand(p); return 0;
    case kMsgSetOutputFeedbackRate:
        p->feedbackPeriod = f[0].value ? kMicroseconds / f[0].value : 0;
        return 0;
    case kMsgGetOutputFeedbackRate:
        Notify(p, kMsgOutputFeedbackRate, p->feedbackPeriod ? kMicroseconds / p->feedbackPeriod : 0);
        return 0;
    case kMsgSetCodecQuality: return SetDownsampling(d, f[0].value);
    case kMsgGetCodecQuality: Notify(p, kMsgCodecQuality, GetDownsampling(d)); return 0;
    case kMsgSetCodecEqualizer: return SetEqualizer(d, (const signed char*)f[0].bytes);
    case kMsgGetCodecEqualizer: return EqualizerCommand(p);
    case kMsgSetNotificationMask: p->mask = f[0].value; return 0;
    case kMsgGetNotificationMask: Notify(p, kMsgNotificationMask, p->mask); return 0;
    case kMsgSetDebugLevel: p->debugLevel = f[0].value; return 0;
    case kMsgGetDebugLevel: Notify(p, kMsgDebugLevel, p->debugLevel); return 0;
    }
    return 0;
}

void Exit(DecoderPlayer* p)
{
    p->state = kPlayerStopped;
    DestroyDecoder(p->decoder);
    p->decoder = nullptr;
    free(p->inputName);
    free(p->outputName);
    p->inputName = p->outputName = nullptr;
    Notify(p, kMsgExited);
    p->exiting = true;
}

void RunCommand(DecoderPlayer* p, const DecoderMessage& m)
{
    if (m.code < kFirstCommand || m.code > kLastCommand)
        return;
    if (m.code == kMsgExit) {
        Exit(p);
        return;
    }
    int result = Run(p, m);
    if (result >= 0)
        Notify(p, kMsgAck, m.code);
    else
        Notify(p, kMsgNack, m.code, result);
}

LARGE_INTEGER NowMicroseconds()
{
    LARGE_INTEGER frequency, count, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&count);
    now.QuadPart = count.QuadPart / frequency.QuadPart * kMicroseconds +
                   count.QuadPart % frequency.QuadPart * kMicroseconds / frequency.QuadPart;
    return now;
}

// 128 samples of each channel, evenly spaced over the frame just decoded, as
// unsigned 8-bit samples.
void FeedbackStep(DecoderPlayer* p)
{
    LARGE_INTEGER now = NowMicroseconds();
    if (now.QuadPart <= p->lastFeedback.QuadPart + p->feedbackPeriod)
        return;
    p->lastFeedback = now;
    Decoder* d = p->decoder;
    int channels = d->channelsFlag + 1;
    int frames = d->bytesPerSample ? d->pcmBytes / d->bytesPerSample / channels : 0;
    unsigned char samples[2 * kFeedbackSamples] = {};
    for (int i = 0; frames && i < kFeedbackSamples; i++) {
        int frame = i * frames / kFeedbackSamples;
        for (int c = 0; c < 2; c++) {
            int index = frame * channels + (c < channels ? c : 0);
            samples[c * kFeedbackSamples + i] =
                d->bytesPerSample == 2 ? (unsigned char)((((short*)d->pcm)[index] + 32768) / 256) : d->pcm[index];
        }
    }
    long long stamp = now.QuadPart + d->delay;
    Notify(p, kMsgOutputFeedback, (int)(stamp / kMicroseconds), (int)(stamp % kMicroseconds), 2,
           (int)sizeof(samples), samples);
}

void UpdateAfterFrame(DecoderPlayer* p)
{
    Decoder* d = p->decoder;
    int position = (int)(p->range * d->fraction);
    if (position != p->lastPosition) {
        p->lastPosition = position;
        Notify(p, kMsgInputPosition, position, p->range);
    }
    DecoderTimecode t = d->timecode;
    t.hundredths -= t.hundredths % p->granularity;
    const DecoderTimecode& last = p->lastTimecode;
    if (t.hours != last.hours || t.minutes != last.minutes || t.seconds != last.seconds ||
        t.hundredths != last.hundredths) {
        p->lastTimecode = t;
        SendTimecode(p);
    }
    if ((int)d->duration != p->lastDuration) {
        p->lastDuration = (int)d->duration;
        Notify(p, kMsgInputDuration, p->lastDuration);
    }
    if (d->infoChanged)
        SendStreamInfo(p);
    if (p->feedbackPeriod)
        FeedbackStep(p);
}

void StepAndUpdate(DecoderPlayer* p)
{
    int result = DecodeStep(p->decoder);
    if (result == 0) {
        UpdateAfterFrame(p);
    } else if (result == kErrInputEnd) {
        SetState(p, kPlayerInputEnd);
        if ((p->mode & kModeCloseAtEnd) && Control(p, kControlDrain) == 0) {
            CloseOutput(p->decoder);
            Notify(p, kMsgOutputState, 1);
        }
    } else if (result == kErrTimeout) {
        MsgWaitForMultipleObjectsEx(0, nullptr, kStallPauseMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    } else if (result != kErrInvalidFrame) {
        // An input or output that fails for good would fail again at once on every
        // step: report it and stop.
        OnError(p, 0, result, GetDecoderErrorText(result), nullptr);
        SetState(p, kPlayerStopped);
    }
}

int Start(DecoderPlayer* p, DecoderChannel* channel, DecoderFactory create)
{
    memset(p, 0, sizeof(*p));
    p->channel = channel;
    p->range = kInitialRange;
    p->granularity = kInitialGranularity;
    p->lastTimecode = DecoderTimecode{-1, -1, -1, -1};
    p->inputModule = -1;
    p->outputModule = -1;
    p->mask = ~0u;
    int code = create(&p->decoder);
    if (code < 0) {
        OnError(p, 0, code, GetDecoderErrorText(code), "cannot create the decoder");
        return code;
    }
    p->decoder->reportContext = p;
    p->decoder->eventReport = OnEvent;
    p->decoder->debugReport = OnDebug;
    p->decoder->errorReport = OnError;
    RegisterBuiltinInputModules(p->decoder);
    RegisterBuiltinOutputModules(p->decoder);
    Notify(p, kMsgReady);
    return 0;
}

} // namespace

int RunDecoderPlayer(DecoderChannel* channel, void* argument)
{
    DecoderPlayer player;
    DecoderPlayer* p = &player;
    DecoderFactory create = argument ? *(DecoderFactory*)argument : CreateDecoder;
    int started = Start(p, channel, create);
    if (started)
        return started;
    DecoderMessage m;
    while (!p->exiting) {
        int taken;
        while (!p->exiting && (taken = PeekDecoderMessage(channel, &m)) != 0) {
            if (taken < 0)
                return taken;
            RunCommand(p, m);
        }
        if (p->exiting)
            break;
        if (p->state != kPlayerPlaying) {
            int code = WaitDecoderMessage(channel, &m, -1);
            if (code < 0)
                return code;
            RunCommand(p, m);
            continue;
        }
        StepAndUpdate(p);
    }
    return 0;
}
