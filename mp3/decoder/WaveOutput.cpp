#include "mp3/decoder/WaveOutput.h"

#include <windows.h>
#include <mmsystem.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "mp3/decoder/Decoder.h"
#include "mp3/decoder/DecoderErrors.h"
#include "mp3/decoder/ModuleInfo.h"

namespace {

const char kDevicePrefix[] = "/dev/wave/";
const size_t kDeviceNameLength = 11; // "/dev/wave/" and one digit
const char kPlaybackRate[] = "OUTPUT.WAVE.PLAYBACK-RATE";
const int kBufferCount = 64;
const int kBufferSize = kDecoderFrameBytes;
const int kCapabilities = 0x7fffff;
const int kDefaultRate = 44100;
const int kStereo = 1;
// A buffer that never reports done is given up after this many waits (tests shorten it).
const int kWaitStep = 10;
const int kMaxWaits = 5000;
int g_maxWaits = kMaxWaits;
// Unpreparing a buffer the device still holds is retried this often.
const int kMaxUnprepareTries = 500;
const float kLevelFactor = 655.35f;
const int kMaxLevel = 65535;

struct WaveBuffer {
    unsigned char* data;
    WAVEHDR header;
    bool inUse;
};

struct WaveOutput {
    DecoderModuleRecord* module;
    Decoder* decoder;
    int device; // -1 the wave mapper
    HWAVEOUT wave;
    HMIXEROBJ mixer;
    MIXERCONTROLA volume;
    WaveBuffer buffers[kBufferCount];
    int current;
    int lastSize;
    // Changed only through Interlocked calls: the device callback runs on the
    // driver's thread.
    LONG queued;
    float balance;
    DWORD savedVolume;
    bool muted;
    bool stuck;
    DecoderWatcher* watcher;
};

void Debug(WaveOutput* out, const char* message, const char* detail)
{
    ReportDebug(out->decoder, out->module->id, 0, message, detail);
}

void CALLBACK DeviceCallback(HWAVEOUT, UINT message, DWORD_PTR data, DWORD_PTR, DWORD_PTR)
{
    WaveOutput* out = (WaveOutput*)data;
    if (message == WOM_OPEN || message == WOM_CLOSE)
        InterlockedExchange(&out->queued, 0);
    else if (message == WOM_DONE)
        InterlockedDecrement(&out->queued);
}

void ReportStuck(WaveOutput* out)
{
    if (!out->stuck)
        Debug(out, "wave device stuck", "a buffer never finished playing");
    out->stuck = true;
}

// Waits until the device is done with buffer i and unprepares it. A device that
// never lets go is reported once, reset so that it hands its buffers back, and not
// waited for again until it is reopened: the player thread cannot hang in here.
void WaitForBuffer(WaveOutput* out, int i)
{
    WaveBuffer& b = out->buffers[i];
    if (b.header.dwFlags & WHDR_PREPARED) {
        for (int waits = 0; b.inUse && !(b.header.dwFlags & WHDR_DONE) && !out->stuck; waits++) {
            if (waits >= g_maxWaits) {
                ReportStuck(out);
                waveOutReset(out->wave);
            } else {
                Sleep(kWaitStep);
            }
        }
        for (int tries = 0; waveOutUnprepareHeader(out->wave, &b.header, sizeof(WAVEHDR)) == WAVERR_STILLPLAYING;
             tries++) {
            if (tries == kMaxUnprepareTries) {
                ReportStuck(out);
                b.header.dwFlags = 0;
                break;
            }
            if (out->stuck)
                waveOutReset(out->wave);
            Sleep(kWaitStep);
        }
    }
    b.inUse = false;
}

void WaitForAllBuffers(WaveOutput* out)
{
    if (!out->wave)
        return;
    waveOutRestart(out->wave);
    for (int i = 0; i < kBufferCount; i++)
        WaitForBuffer(out, i);
}

void CloseDevice(WaveOutput* out)
{
    if (!out->wave)
        return;
    WaitForAllBuffers(out);
    waveOutReset(out->wave);
    waveOutClose(out->wave);
    out->wave = nullptr;
}

int OpenDevice(WaveOutput* out, int rate, int channelsFlag)
{
    CloseDevice(out);
    out->stuck = false;
    WAVEFORMATEX format = {};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = (WORD)(channelsFlag + 1);
    format.nSamplesPerSec = rate;
    format.wBitsPerSample = 16;
    format.nBlockAlign = (WORD)(format.nChannels * 2);
    format.nAvgBytesPerSec = format.nChannels * rate * 2;
    UINT device = out->device < 0 ? WAVE_MAPPER : (UINT)out->device;
    MMRESULT result = waveOutOpen(&out->wave, device, &format, (DWORD_PTR)DeviceCallback, (DWORD_PTR)out,
                                  CALLBACK_FUNCTION | WAVE_ALLOWSYNC);
    if (result != MMSYSERR_NOERROR) {
        out->wave = nullptr;
        if (result == MMSYSERR_ALLOCATED)
            return kErrDeviceBusy;
        if (result == MMSYSERR_BADDEVICEID || result == MMSYSERR_NODRIVER)
            return kErrNoSuchDevice;
        return kErrOpenFailed;
    }
    // The device's own volume is the one to keep and restore.
    if (waveOutGetVolume(out->wave, &out->savedVolume) != MMSYSERR_NOERROR)
        out->savedVolume = 0;
    unsigned left = out->savedVolume & 0xffff;
    unsigned right = out->savedVolume >> 16;
    out->balance = left + right ? (float)right / (left + right) : 0.5f;
    return 0;
}

int OpenMixer(WaveOutput* out)
{
    MMRESULT r = mixerOpen((HMIXER*)&out->mixer, (UINT)(UINT_PTR)out->wave, 0, 0, MIXER_OBJECTF_HWAVEOUT);
    if (r != MMSYSERR_NOERROR) {
        out->mixer = nullptr;
        return r;
    }
    MIXERCAPSA caps;
    r = mixerGetDevCapsA((UINT_PTR)out->mixer, &caps, sizeof(caps));
    MIXERLINEA line = {};
    MIXERLINECONTROLSA controls = {};
    if (r == MMSYSERR_NOERROR) {
        char text[512];
        snprintf(text, sizeof(text), "mixer caps: mid=%d, pid=%d, version=%d.%d, name=%s, %d destinations",
                 caps.wMid, caps.wPid, caps.vDriverVersion >> 8, caps.vDriverVersion & 0xff, caps.szPname,
                 (int)caps.cDestinations);
        Debug(out, text, "");
        line.cbStruct = sizeof(line);
        line.dwComponentType = MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
        r = mixerGetLineInfoA(out->mixer, &line, MIXER_GETLINEINFOF_COMPONENTTYPE);
    }
    if (r == MMSYSERR_NOERROR) {
        controls.cbStruct = sizeof(controls);
        controls.dwLineID = line.dwLineID;
        controls.dwControlType = MIXERCONTROL_CONTROLTYPE_VOLUME;
        controls.cControls = 1;
        controls.cbmxctrl = sizeof(out->volume);
        controls.pamxctrl = &out->volume;
        r = mixerGetLineControlsA(out->mixer, &controls, MIXER_GETLINECONTROLSF_ONEBYTYPE);
    }
    if (r != MMSYSERR_NOERROR) {
        mixerClose((HMIXER)out->mixer);
        out->mixer = nullptr;
        return r;
    }
    char text[512];
    snprintf(text, sizeof(text), "mixer control: name=%s, min=%d, max=%d, steps=%d", out->volume.szName,
             (int)out->volume.Bounds.dwMinimum, (int)out->volume.Bounds.dwMaximum, (int)out->volume.Metrics.cSteps);
    Debug(out, text, "");
    return 0;
}

int MixerDetails(WaveOutput* out, DWORD* value, bool set)
{
    MIXERCONTROLDETAILS details = {};
    MIXERCONTROLDETAILS_UNSIGNED unsignedValue = {*value};
    details.cbStruct = sizeof(details);
    details.dwControlID = out->volume.dwControlID;
    details.cChannels = 1;
    details.cbDetails = sizeof(unsignedValue);
    details.paDetails = &unsignedValue;
    MMRESULT r = set ? mixerSetControlDetails(out->mixer, &details, MIXER_SETCONTROLDETAILSF_VALUE)
                     : mixerGetControlDetailsA(out->mixer, &details, MIXER_GETCONTROLDETAILSF_VALUE);
    *value = unsignedValue.dwValue;
    return r == MMSYSERR_NOERROR ? 0 : kErrFailed;
}

void RateWatcher(void* context, const char*, const void* value)
{
    WaveOutput* out = (WaveOutput*)context;
    if (out->wave)
        waveOutSetPlaybackRate(out->wave, value ? *(const int*)value : 0);
}

int Probe(const char* name)
{
    if (!name || !*name || strncmp(name, kDevicePrefix, strlen(kDevicePrefix)) == 0)
        return 0;
    return kErrFailed;
}

int Query(DecoderModuleInfo* info, int flags)
{
    int devices = (int)waveOutGetNumDevs();
    if (flags & kQueryNames) {
        SetModuleInfoText(info->name, "Win32 Sound Driver Interface");
        SetModuleInfoText(info->description, "Version 1.2");
    }
    if (flags & kQueryDeviceCount)
        info->device = devices + 1;
    if ((flags & kQueryDevice) && !(flags & (kQueryNames | kQueryDeviceCount))) {
        int n = info->device;
        if (n < 0 || n > devices)
            return kErrInvalidParameters;
        WAVEOUTCAPSA caps;
        if (waveOutGetDevCapsA(n == 0 ? WAVE_MAPPER : (UINT)(n - 1), &caps, sizeof(caps)) != MMSYSERR_NOERROR)
            return kErrFailed;
        snprintf(info->name, sizeof(info->name), "/dev/wave/%d", n);
        SetModuleInfoText(info->description, caps.szPname);
        info->flags = n == 0 ? kDeviceDefault : 0;
    }
    return 0;
}

void FreeBuffers(WaveOutput* out)
{
    for (WaveBuffer& b : out->buffers)
        free(b.data);
    free(out);
}

int Create(void** instance, const char* name, DecoderModuleRecord* module, Decoder* decoder)
{
    int device = -1;
    if (name && *name) {
        char digit = name[kDeviceNameLength - 1];
        if (strlen(name) != kDeviceNameLength || digit < '0' || digit > '9')
            return kErrNoSuchDevice;
        device = digit - '0' - 1;
    }
    WaveOutput* out = (WaveOutput*)calloc(1, sizeof(WaveOutput));
    if (!out)
        return kErrOutOfMemory;
    out->module = module;
    out->decoder = decoder;
    out->device = device;
    for (WaveBuffer& b : out->buffers) {
        b.data = (unsigned char*)calloc(1, kBufferSize);
        if (!b.data) {
            FreeBuffers(out);
            return kErrOutOfMemory;
        }
    }
    AddWatcher(decoder, kPlaybackRate, out, RateWatcher, &out->watcher);
    *instance = out;
    return 0;
}

int Destroy(void* instance)
{
    WaveOutput* out = (WaveOutput*)instance;
    if (out->watcher)
        RemoveWatcher(out->decoder, out->watcher);
    FreeBuffers(out);
    return 0;
}

int Open(void* instance)
{
    WaveOutput* out = (WaveOutput*)instance;
    out->wave = nullptr;
    out->mixer = nullptr;
    out->current = 0;
    out->lastSize = 0;
    InterlockedExchange(&out->queued, 0);
    out->balance = 0.5f;
    out->savedVolume = 0;
    out->muted = false;
    int code = OpenDevice(out, kDefaultRate, kStereo);
    if (code < 0)
        return code;
    for (WaveBuffer& b : out->buffers) {
        memset(&b.header, 0, sizeof(b.header));
        b.inUse = false;
    }
    int mixerError = OpenMixer(out);
    if (mixerError) {
        char detail[16];
        snprintf(detail, sizeof(detail), "%d", mixerError);
        Debug(out, "cannot open mixer", detail);
    }
    return 0;
}

int Close(void* instance)
{
    WaveOutput* out = (WaveOutput*)instance;
    CloseDevice(out);
    if (out->mixer)
        mixerClose((HMIXER)out->mixer);
    out->mixer = nullptr;
    return 0;
}

int Write(void* instance, unsigned char*, int size, int, int, int)
{
    WaveOutput* out = (WaveOutput*)instance;
    WaveBuffer& b = out->buffers[out->current];
    b.header.lpData = (LPSTR)b.data;
    b.header.dwBufferLength = size;
    b.header.dwFlags = 0;
    b.inUse = true;
    out->lastSize = size;
    out->current = (out->current + 1) % kBufferCount;
    if (waveOutPrepareHeader(out->wave, &b.header, sizeof(WAVEHDR)) != MMSYSERR_NOERROR ||
        waveOutWrite(out->wave, &b.header, sizeof(WAVEHDR)) != MMSYSERR_NOERROR) {
        b.inUse = false;
        return kErrFailed;
    }
    InterlockedIncrement(&out->queued);
    return size;
}

unsigned char* GetBuffer(void* instance, int)
{
    WaveOutput* out = (WaveOutput*)instance;
    WaitForBuffer(out, out->current);
    return out->buffers[out->current].data;
}

void ApplyVolume(WaveOutput* out, float level)
{
    out->savedVolume = WaveVolumeWord(level, out->balance);
    if (!out->muted && out->wave)
        waveOutSetVolume(out->wave, out->savedVolume);
}

int SetControl(void* instance, OutputControl* control, int flags)
{
    WaveOutput* out = (WaveOutput*)instance;
    int result = 0;
    if (flags & kControlReset) {
        if (out->wave)
            waveOutReset(out->wave);
        WaitForAllBuffers(out);
    }
    if (flags & kControlDrain)
        WaitForAllBuffers(out);
    if ((flags & kControlPause) && out->wave)
        waveOutPause(out->wave);
    if ((flags & kControlRestart) && out->wave)
        waveOutRestart(out->wave);
    if (flags & (kControlRate | kControlChannels))
        result = OpenDevice(out, control->rate, control->channels);
    if (flags & kControlMute) {
        out->muted = true;
        if (out->wave)
            waveOutSetVolume(out->wave, 0);
    }
    if (flags & kControlUnmute) {
        out->muted = false;
        if (out->wave)
            waveOutSetVolume(out->wave, out->savedVolume);
    }
    if ((flags & kControlMaster) && out->mixer) {
        DWORD min = out->volume.Bounds.dwMinimum;
        DWORD value = min + (out->volume.Bounds.dwMaximum - min) * control->masterLevel / 100;
        MixerDetails(out, &value, true);
    }
    if (flags & kControlBalance)
        out->balance = control->balance / 100.0f;
    if (flags & kControlPcm) {
        ApplyVolume(out, control->pcmLevel * kLevelFactor);
    } else if (flags & kControlBalance) {
        unsigned left = out->savedVolume & 0xffff;
        unsigned right = out->savedVolume >> 16;
        ApplyVolume(out, (float)(left > right ? left : right));
    }
    return result;
}

int GetControl(void* instance, OutputControl* control, int flags)
{
    WaveOutput* out = (WaveOutput*)instance;
    if ((flags & kControlMaster) && out->mixer) {
        DWORD value = 0;
        DWORD range = out->volume.Bounds.dwMaximum - out->volume.Bounds.dwMinimum;
        control->masterLevel = MixerDetails(out, &value, false) == 0 && range ? (int)((double)value / range * 100) : 0;
    }
    if (flags & kControlPcm) {
        unsigned left = out->savedVolume & 0xffff;
        unsigned right = out->savedVolume >> 16;
        control->pcmLevel = (left > right ? left : right) * 100 / kMaxLevel;
    }
    if (flags & kControlBalance)
        control->balance = (int)(out->balance * 100);
    return 0;
}

int Status(void*, int* delay)
{
    *delay = 0;
    return 0;
}

int Capabilities(void*) { return kCapabilities; }

} // namespace

unsigned WaveVolumeWord(float level, float balance)
{
    unsigned left, right;
    if (balance <= 0.5f) {
        left = (unsigned)level;
        right = (unsigned)(float)(2 * balance * level);
    } else {
        right = (unsigned)level;
        left = (unsigned)(float)(2 * (1 - balance) * level);
    }
    return left | right << 16;
}

void SetWaveOutputMaxWaits(int waits)
{
    g_maxWaits = waits > 0 ? waits : kMaxWaits;
}

int RegisterWaveOutputModule(Decoder* decoder)
{
    OutputModuleDescriptor d = {Probe, Query, Create, Destroy, Open, Close, Write, GetBuffer,
                                SetControl, GetControl, Status, Capabilities, nullptr};
    return AddOutputModule(decoder, &d);
}
