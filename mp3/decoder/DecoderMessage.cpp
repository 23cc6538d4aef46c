#include "mp3/decoder/DecoderMessage.h"

#include <stdlib.h>
#include <string.h>

#include "mp3/decoder/DecoderErrors.h"

namespace {

// How a code travels as a window message.
enum WireKind {
    kWireWord,       // numbers in wParam (one as a whole value, several bytes from the lowest);
                     // a text, two texts or a blob in lParam as a heap block
    kWireLongL,      // one long in lParam
    kWireTwoLongs,   // wParam the first long, lParam the second
    kWireNack,       // wParam the command code, lParam the error code
    kWireStreamInfo, // bytes in wParam, bitrate and frequency in lParam's halves
    kWireReport,     // bytes from wParam's lowest, a short in its high half, text in lParam
    kWireNone,       // no window-message form: nothing is posted
};

struct MessageShape {
    const char* format; // argument order; null: cannot be built
    WireKind wire;
};

const MessageShape kShapes[kLastMessageCode + 1] = {
    {nullptr, kWireWord},                                          // 0
    {"", kWireWord},        {"l", kWireLongL},   {"", kWireWord},   // 1 Exit, 2 Ping, 3 Play
    {"", kWireWord},        {"", kWireWord},     {"ll", kWireTwoLongs}, // 4 Pause, 5 Stop, 6 Seek
    {"c", kWireWord},       {"", kWireWord},     {"sB", kWireWord}, // 7-9
    {"cs", kWireWord},      {"cs", kWireWord},   {"", kWireWord},   // 10-12
    {"c", kWireWord},       {"s", kWireWord},    {"", kWireWord},   // 13-15
    {"c", kWireWord},       {"", kWireWord},     {"sB", kWireWord}, // 16-18
    {"", kWireWord},        {"", kWireWord},     {"", kWireWord},   // 19-21
    {"", kWireWord},        {"cs", kWireWord},   {"cs", kWireWord}, // 22-24
    {"", kWireWord},        {"c", kWireWord},    {"s", kWireWord},  // 25-27
    {"", kWireWord},        {"l", kWireWord},    {"", kWireWord},   // 28-30
    {"cl", kWireWord},      {"c", kWireWord},    {"cc", kWireWord}, // 31-33
    {"c", kWireWord},       {"c", kWireWord},    {"c", kWireWord},  // 34-36
    {"", kWireWord},        {"s", kWireWord},    {"", kWireWord},   // 37-39
    {"l", kWireLongL},      {"", kWireWord},     {"l", kWireLongL}, // 40-42
    {"", kWireWord},        {"c", kWireWord},    {"", kWireWord},   // 43-45
    {"s", kWireWord},       {"", kWireWord},     {"bbb", kWireWord}, // 46-48
    {"", kWireWord},        {"b", kWireWord},    {"", kWireWord},   // 49-51
    {"b", kWireWord},       {"", kWireWord},     {"b", kWireWord},  // 52-54
    {"", kWireWord},        {"b", kWireWord},    {"", kWireWord},   // 55-57
    {"B", kWireWord},       {"", kWireWord},     {"l", kWireLongL}, // 58-60
    {"", kWireWord},        {"b", kWireWord},    {"", kWireWord},   // 61-63
    {"", kWireWord},        {"b", kWireWord},    {"bs", kWireNack}, // 64 Ready, 65 Ack, 66 Nack
    {"l", kWireLongL},      {"", kWireWord},     {"b", kWireWord},  // 67-69
    {"l", kWireWord},       {"cl", kWireWord},   {"cc", kWireWord}, // 70-72
    {"b", kWireWord},       {"c", kWireWord},    {"l", kWireWord},  // 73-75
    {"ll", kWireTwoLongs},  {"l", kWireLongL},   {"bbbb", kWireWord}, // 76-78
    {"l", kWireLongL},      {"l", kWireWord},    {"bbssb", kWireStreamInfo}, // 79-81
    {"s", kWireWord},       {"bbcc", kWireWord}, {"bbbcc", kWireWord}, // 82-84
    {"cs", kWireWord},      {"b", kWireWord},    {"c", kWireWord},  // 85-87
    {"l", kWireWord},       {nullptr, kWireWord}, {"b", kWireWord}, // 88, 89 (stream form only), 90
    {"b", kWireWord},       {"b", kWireWord},    {"b", kWireWord},  // 91-93
    {"b", kWireWord},       {"b", kWireWord},    {"s", kWireWord},  // 94-96
    {"bbcc", kWireWord},    {"bbbcc", kWireWord}, {"cs", kWireWord}, // 97-99
    {"b", kWireWord},       {"B", kWireWord},    {"l", kWireLongL}, // 100-102
    {"b", kWireWord},       {"bbsc", kWireReport}, {"bbc", kWireWord}, // 103-105
    {"bsc", kWireReport},   {"llsB", kWireNone}, {"lll", kWireNone}, // 106-108
    {nullptr, kWireNone},   {nullptr, kWireNone}, {nullptr, kWireNone}, // 109-111
    {"llsB", kWireNone},    {"lll", kWireNone},                     // 112, 113
};

// The volume record lists master, pcm, balance in the stream; its arguments run the
// other way.
const char kVolumeStreamFormat[] = "bbb";
// The byte-stream form knows the triple no one sends.
const char kVolumeTripleFormat[] = "bbb";

const MessageShape* Shape(int code)
{
    if (code < 1 || code > kLastMessageCode || !kShapes[code].format)
        return nullptr;
    return &kShapes[code];
}

bool IsNumber(char letter) { return letter == 'b' || letter == 's' || letter == 'l'; }

int FixedBlobLength(int code) { return code == kMsgSetCodecEqualizer || code == kMsgCodecEqualizer ? kEqualizerBytes : 0; }

// Shorts are signed (module ids, error codes), except the stream information's
// bitrate and frequency: 48000 Hz does not fit a signed short.
bool UnsignedShorts(int code) { return code == kMsgInputStreamInfo; }

int Truncate(int code, char letter, int value)
{
    if (letter == 'b')
        return (unsigned char)value;
    if (letter == 's')
        return UnsignedShorts(code) ? (unsigned short)value : (short)value;
    return value;
}

// Heap block of one or two texts (each with its NUL); an absent text counts as empty.
char* CopyTexts(const char* first, const char* second, bool two)
{
    first = first ? first : "";
    second = second ? second : "";
    size_t a = strlen(first) + 1;
    size_t b = two ? strlen(second) + 1 : 0;
    char* block = (char*)malloc(a + b);
    if (!block)
        return nullptr;
    memcpy(block, first, a);
    if (two)
        memcpy(block + a, second, b);
    return block;
}

// Heap block of a 16-bit big-endian length and the bytes; none for no bytes.
int CopyBlob(const DecoderField& f, LPARAM* lParam)
{
    *lParam = 0;
    if (!f.bytes || f.length <= 0)
        return 0;
    unsigned char* block = (unsigned char*)malloc(f.length + 2);
    if (!block)
        return kErrOutOfMemory;
    block[0] = (unsigned char)(f.length >> 8);
    block[1] = (unsigned char)f.length;
    memcpy(block + 2, f.bytes, f.length);
    *lParam = (LPARAM)block;
    return 0;
}

int EncodeWord(const DecoderMessage* m, const char* format, WPARAM* wParam, LPARAM* lParam)
{
    int numbers = 0, texts = 0;
    const DecoderField* text = nullptr;
    const DecoderField* blob = nullptr;
    for (int i = 0; format[i]; i++) {
        if (IsNumber(format[i]))
            numbers++;
        else if (format[i] == 'c')
            text = texts++ ? text : &m->fields[i];
        else
            blob = &m->fields[i];
    }
    WPARAM word = 0;
    int byte = 0;
    for (int i = 0; format[i]; i++) {
        if (!IsNumber(format[i]))
            continue;
        if (numbers == 1)
            word = (WPARAM)(INT_PTR)m->fields[i].value;
        else
            word |= (WPARAM)(m->fields[i].value & 0xff) << (8 * byte++);
    }
    *wParam = word;
    *lParam = 0;
    if (blob)
        return CopyBlob(*blob, lParam);
    if (texts) {
        char* block = CopyTexts(text->text, texts == 2 ? text[1].text : nullptr, texts == 2);
        if (!block)
            return kErrOutOfMemory;
        *lParam = (LPARAM)block;
    }
    return 0;
}

// Copies a text into the area at offset; returns the offset after its NUL.
int CopyIntoArea(const char* text, char* area, int at, int size)
{
    int room = size - 1 - at;
    int n = (int)strlen(text);
    if (n > room)
        n = room;
    memcpy(area + at, text, n);
    area[at + n] = '\0';
    return at + n + 1;
}

void DecodeLParam(DecoderMessage* m, const char* format, LPARAM lParam, char* area, int size)
{
    int firstText = -1, secondText = -1, blob = -1;
    for (int i = 0; format[i]; i++) {
        if (format[i] == 'c')
            (firstText < 0 ? firstText : secondText) = i;
        else if (format[i] == 'B')
            blob = i;
    }
    area[size - 1] = '\0';
    if (blob >= 0) {
        const unsigned char* block = (const unsigned char*)lParam;
        if (block) {
            int length = block[0] << 8 | block[1];
            if (length > size)
                length = size;
            memcpy(area, block + 2, length);
            m->fields[blob].bytes = (const unsigned char*)area;
            m->fields[blob].length = length;
        }
    } else if (firstText >= 0) {
        const char* block = lParam ? (const char*)lParam : "";
        int next = CopyIntoArea(block, area, 0, size);
        m->fields[firstText].text = area;
        if (secondText >= 0) {
            const char* second = lParam ? block + strlen(block) + 1 : "";
            if (next < size - 1) {
                CopyIntoArea(second, area, next, size);
                m->fields[secondText].text = area + next;
            } else {
                m->fields[secondText].text = area + size - 1;
            }
        }
    }
    free((void*)lParam);
}

void DecodeWord(DecoderMessage* m, const char* format, WPARAM wParam)
{
    int numbers = 0;
    for (int i = 0; format[i]; i++)
        numbers += IsNumber(format[i]);
    int byte = 0;
    for (int i = 0; format[i]; i++) {
        if (!IsNumber(format[i]))
            continue;
        int value = numbers == 1 ? (int)(INT_PTR)wParam : (int)((wParam >> (8 * byte++)) & 0xff);
        m->fields[i].value = Truncate(m->code, format[i], value);
    }
}

void Put16(unsigned char* p, int v)
{
    p[0] = (unsigned char)(v >> 8);
    p[1] = (unsigned char)v;
}

int Get16(const unsigned char* p) { return p[0] << 8 | p[1]; }

// The argument index of the field at stream position i.
int StreamField(int code, int i, int count)
{
    return code == kMsgSetOutputVolume ? count - 1 - i : i;
}

} // namespace

const char* DecoderMessageFormat(int code)
{
    const MessageShape* shape = Shape(code);
    return shape ? shape->format : nullptr;
}

void BuildDecoderMessage(DecoderMessage* m, int code, va_list arguments)
{
    memset(m, 0, sizeof(*m));
    const MessageShape* shape = Shape(code);
    if (!shape)
        return;
    m->code = code;
    const char* format = shape->format;
    for (int i = 0; format[i]; i++) {
        DecoderField& f = m->fields[i];
        if (IsNumber(format[i])) {
            f.value = Truncate(code, format[i], va_arg(arguments, int));
        } else if (format[i] == 'c') {
            f.text = va_arg(arguments, const char*);
        } else {
            f.length = FixedBlobLength(code);
            if (!f.length)
                f.length = va_arg(arguments, int);
            f.bytes = va_arg(arguments, const unsigned char*);
        }
    }
}

int EncodeWindowMessage(const DecoderMessage* m, WPARAM* wParam, LPARAM* lParam)
{
    *wParam = 0;
    *lParam = 0;
    const MessageShape* shape = Shape(m->code);
    if (!shape)
        return kErrInvalidMessage;
    const DecoderField* f = m->fields;
    switch (shape->wire) {
    case kWireNone:
        return 1;
    case kWireLongL:
        *lParam = (LPARAM)(INT_PTR)f[0].value;
        return 0;
    case kWireTwoLongs:
        *wParam = (WPARAM)(INT_PTR)f[0].value;
        *lParam = (LPARAM)(INT_PTR)f[1].value;
        return 0;
    case kWireNack:
        *wParam = (WPARAM)f[0].value;
        *lParam = (LPARAM)(INT_PTR)f[1].value;
        return 0;
    case kWireStreamInfo:
        *wParam = (WPARAM)(f[0].value | f[1].value << 8 | f[4].value << 16);
        *lParam = (LPARAM)((f[2].value & 0xffff) | (f[3].value & 0xffff) << 16);
        return 0;
    case kWireReport: {
        const char* format = shape->format;
        WPARAM word = 0;
        int byte = 0;
        const char* text = nullptr;
        for (int i = 0; format[i]; i++) {
            if (format[i] == 'b')
                word |= (WPARAM)(f[i].value & 0xff) << (8 * byte++);
            else if (format[i] == 's')
                word |= (WPARAM)(f[i].value & 0xffff) << 16;
            else
                text = f[i].text;
        }
        char* block = CopyTexts(text, nullptr, false);
        if (!block)
            return kErrOutOfMemory;
        *wParam = word;
        *lParam = (LPARAM)block;
        return 0;
    }
    case kWireWord:
        return EncodeWord(m, shape->format, wParam, lParam);
    }
    return kErrInvalidMessage;
}

void DecodeWindowMessage(DecoderMessage* m, UINT number, WPARAM wParam, LPARAM lParam, char* area, int size)
{
    memset(m, 0, sizeof(*m));
    m->code = (int)(number - kDecoderMessageBase);
    const MessageShape* shape = Shape(m->code);
    if (m->code < kMsgPing || m->code > kMsgErrorReport || !shape)
        return;
    DecoderField* f = m->fields;
    switch (shape->wire) {
    case kWireNone:
        return;
    case kWireLongL:
        f[0].value = (int)lParam;
        return;
    case kWireTwoLongs:
    case kWireNack:
        f[0].value = (int)wParam;
        f[1].value = (int)lParam;
        return;
    case kWireStreamInfo:
        f[0].value = wParam & 0xff;
        f[1].value = wParam >> 8 & 0xff;
        f[4].value = wParam >> 16 & 0xff;
        f[2].value = (int)(lParam & 0xffff);
        f[3].value = (int)(lParam >> 16 & 0xffff);
        return;
    case kWireReport: {
        const char* format = shape->format;
        int byte = 0;
        for (int i = 0; format[i]; i++) {
            if (format[i] == 'b')
                f[i].value = (int)(wParam >> (8 * byte++) & 0xff);
            else if (format[i] == 's')
                f[i].value = (short)(wParam >> 16 & 0xffff);
        }
        DecodeLParam(m, format, lParam, area, size);
        return;
    }
    case kWireWord:
        DecodeWord(m, shape->format, wParam);
        DecodeLParam(m, shape->format, lParam, area, size);
        return;
    }
}

int PackDecoderMessage(const DecoderMessage* m, unsigned char* buffer, int size)
{
    const char* format = m->code == kMsgOutputVolumeTriple ? kVolumeTripleFormat : DecoderMessageFormat(m->code);
    if (!format)
        return 0;
    int count = (int)strlen(format);
    int need = 3;
    for (int i = 0; i < count; i++) {
        const DecoderField& f = m->fields[StreamField(m->code, i, count)];
        switch (format[i]) {
        case 'b': need += 2; break;
        case 's': need += 3; break;
        case 'l': need += 5; break;
        case 'c': need += 3 + (int)strlen(f.text ? f.text : "") + 1; break;
        case 'B': need += 3 + (f.bytes ? f.length : 0); break;
        }
    }
    if (need > size)
        return -need;
    unsigned char* p = buffer;
    *p++ = (unsigned char)m->code;
    Put16(p, need - 1);
    p += 2;
    for (int i = 0; i < count; i++) {
        const DecoderField& f = m->fields[StreamField(m->code, i, count)];
        *p++ = (unsigned char)format[i];
        switch (format[i]) {
        case 'b':
            *p++ = (unsigned char)f.value;
            break;
        case 's':
            Put16(p, f.value);
            p += 2;
            break;
        case 'l':
            Put16(p, f.value >> 16);
            Put16(p + 2, f.value);
            p += 4;
            break;
        case 'c': {
            const char* text = f.text ? f.text : "";
            int n = (int)strlen(text) + 1;
            Put16(p, n);
            memcpy(p + 2, text, n);
            p += 2 + n;
            break;
        }
        case 'B': {
            int n = f.bytes ? f.length : 0;
            Put16(p, n);
            if (n)
                memcpy(p + 2, f.bytes, n);
            p += 2 + n;
            break;
        }
        }
    }
    return need;
}

int UnpackDecoderMessage(DecoderMessage* m, const unsigned char* block, int size)
{
    memset(m, 0, sizeof(*m));
    if (size < 1)
        return kErrInternal;
    int code = block[0];
    const char* format = code == kMsgOutputVolumeTriple ? kVolumeTripleFormat : DecoderMessageFormat(code);
    if (!format)
        return kErrInvalidMessage;
    if (size < 3)
        return kErrInternal;
    int length = Get16(block + 1);
    if (length < 2 || length + 1 > size)
        return kErrInternal;
    const unsigned char* p = block + 3;
    const unsigned char* end = block + 1 + length;
    int count = (int)strlen(format);
    for (int i = 0; i < count; i++) {
        DecoderField& f = m->fields[StreamField(code, i, count)];
        if (p >= end || *p != format[i])
            return kErrInternal;
        p++;
        int width = format[i] == 'b' ? 1 : format[i] == 'l' ? 4 : 2;
        if (end - p < width)
            return kErrInternal;
        if (format[i] == 'b') {
            f.value = *p;
        } else if (format[i] == 's') {
            f.value = Truncate(code, 's', Get16(p));
        } else if (format[i] == 'l') {
            f.value = (int)((unsigned)Get16(p) << 16 | Get16(p + 2));
        } else {
            int n = Get16(p);
            if (end - p - 2 < n)
                return kErrInternal;
            if (format[i] == 'c') {
                if (n < 1 || p[2 + n - 1] != '\0')
                    return kErrInternal;
                f.text = (const char*)p + 2;
            } else {
                f.bytes = n ? p + 2 : nullptr;
                f.length = n;
            }
            p += n;
        }
        p += width;
    }
    if (p != end)
        return kErrInternal;
    m->code = code;
    return 0;
}
