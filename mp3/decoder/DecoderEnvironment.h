// The decoder's environment: named integer and text variables, and watchers that
// modules install to hear when a variable of a name is set or removed.
#pragma once

struct Decoder;

// Called with the name and a pointer to the new value (the text, or the 32-bit
// integer), or null when the variable is removed.
typedef void (*DecoderWatcherCallback)(void* context, const char* name, const void* value);

struct DecoderVariable {
    char* name;
    int isInteger; // 1 integer, 0 text
    int integer;
    char* text;
    DecoderVariable* next;
};

struct DecoderWatcher {
    char* name;
    void* context;
    DecoderWatcherCallback callback;
    DecoderWatcher* next;
};

int SetIntegerVariable(Decoder* decoder, const char* name, int value);
int GetIntegerVariable(Decoder* decoder, const char* name, int* value);
int SetStringVariable(Decoder* decoder, const char* name, const char* text);
// Copies the text into text (size bytes with the NUL; a longer text is cut).
int GetStringVariable(Decoder* decoder, const char* name, char* text, int size);
int UnsetVariable(Decoder* decoder, const char* name);
int AddWatcher(Decoder* decoder, const char* name, void* context, DecoderWatcherCallback callback,
               DecoderWatcher** handle);
int RemoveWatcher(Decoder* decoder, DecoderWatcher* handle);
// Frees every variable and watcher without telling anyone.
void FreeDecoderEnvironment(Decoder* decoder);

// An integer setting, or fallback when it is not an integer variable.
int GetIntegerSetting(Decoder* decoder, const char* name, int fallback);
