// The records through which the decoder object meets its input and output modules and
// their filters: operation tables filled by registration functions, module records and
// filter chain nodes.
#pragma once

struct Decoder;

// Module information (query): device count or device index, device flags, texts.
struct DecoderModuleInfo {
    int device;
    int flags;
    char name[255];
    char description[255];
};

// Query flags.
const int kQueryNames = 1;
const int kQueryDeviceCount = 2;
const int kQueryDevice = 4;
// Device flags.
const int kDevicePattern = 1;
const int kDeviceDefault = 2;

// Input capability: the input can seek.
const int kInputSeekable = 1;

struct DecoderModuleRecord;

// Input module operations, in registration order; a missing optional one is null.
struct InputModuleDescriptor {
    int (*probe)(const char* name);
    int (*query)(DecoderModuleInfo* info, int flags);
    int (*create)(void** instance, const char* name, DecoderModuleRecord* module, Decoder* decoder);
    int (*destroy)(void* instance);
    int (*open)(void* instance);
    int (*close)(void* instance);
    int (*read)(void* instance, unsigned char* buffer, int size);
    int (*seek)(void* instance, unsigned offset);
    int (*capabilities)(void* instance);
    unsigned (*size)(void* instance);
    int (*sendMessage)(void* instance, int id, const unsigned char* bytes, int length);
};

// The control record an output's set control and get control use.
struct OutputControl {
    int bytesPerSample;
    int rate;
    int channels; // 0 mono, 1 stereo
    int masterLevel;
    int pcmLevel;
    int balance;
    int ports;
};

// Output control flags.
const int kControlRate = 0x2;
const int kControlChannels = 0x4;
const int kControlMaster = 0x8;
const int kControlPcm = 0x10;
const int kControlBalance = 0x20;
const int kControlPorts = 0x40;
const int kControlMute = 0x80;
const int kControlUnmute = 0x100;
const int kControlReset = 0x200;
const int kControlPause = 0x400;
const int kControlRestart = 0x800;
const int kControlDrain = 0x1000;

// Output capabilities.
const int kOutput8BitCompanded = 0x10000;
const int kOutput16Bit = 0x20000;
const int kOutputReportsDelay = 0x400000;
const int kOutputDefaultCaps = (int)0x8fbfffff;

struct OutputModuleDescriptor {
    int (*probe)(const char* name);
    int (*query)(DecoderModuleInfo* info, int flags);
    int (*create)(void** instance, const char* name, DecoderModuleRecord* module, Decoder* decoder);
    int (*destroy)(void* instance);
    int (*open)(void* instance);
    int (*close)(void* instance);
    int (*write)(void* instance, unsigned char* buffer, int size, int bytesPerSample, int channels,
                 int rate);
    unsigned char* (*getBuffer)(void* instance, int size);
    int (*setControl)(void* instance, OutputControl* control, int flags);
    int (*getControl)(void* instance, OutputControl* control, int flags);
    int (*status)(void* instance, int* delay);
    int (*capabilities)(void* instance);
    int (*sendMessage)(void* instance, int id, const unsigned char* bytes, int length);
};

// One registered module: its id, its operations and the link to the next (older) one.
struct DecoderModuleRecord {
    int id;
    InputModuleDescriptor input;   // for an input module
    OutputModuleDescriptor output; // for an output module
    DecoderModuleRecord* next;
};

struct InputFilterNode;
struct OutputFilterNode;

// Filter operations get their own chain node and pass a call on with the chain
// functions of DecoderFilters.h on node->next.
struct InputFilterDescriptor {
    const char* (*name)();
    int (*create)(void** instance, int id, Decoder* decoder);
    int (*destroy)(void* instance);
    int (*open)(InputFilterNode* node);
    int (*close)(InputFilterNode* node);
    int (*read)(InputFilterNode* node, unsigned char* buffer, int size);
    int (*seek)(InputFilterNode* node, unsigned offset);
    int (*capabilities)(InputFilterNode* node);
    unsigned (*size)(InputFilterNode* node);
    int (*sendMessage)(InputFilterNode* node, int id, const unsigned char* bytes, int length);
};

struct OutputFilterDescriptor {
    const char* (*name)();
    int (*create)(void** instance, int id, Decoder* decoder);
    int (*destroy)(void* instance);
    int (*open)(OutputFilterNode* node);
    int (*close)(OutputFilterNode* node);
    int (*write)(OutputFilterNode* node, unsigned char* buffer, int size, int bytesPerSample,
                 int channels, int rate);
    unsigned char* (*getBuffer)(OutputFilterNode* node, int size);
    int (*setControl)(OutputFilterNode* node, OutputControl* control, int flags);
    int (*getControl)(OutputFilterNode* node, OutputControl* control, int flags);
    int (*status)(OutputFilterNode* node, int* delay);
    int (*capabilities)(OutputFilterNode* node);
    int (*sendMessage)(OutputFilterNode* node, int id, const unsigned char* bytes, int length);
};

// A chain ends with a last node (id 0, no filter) that calls the current module.
struct InputFilterNode {
    int id;
    InputFilterDescriptor ops;
    void* instance;
    Decoder* decoder;
    InputFilterNode* next;
};

struct OutputFilterNode {
    int id;
    OutputFilterDescriptor ops;
    void* instance;
    Decoder* decoder;
    OutputFilterNode* next;
};
