// The reporter's reading of the crash link: one whole message at a time, its
// header and then the records and texts its kind carries. It only reads: what
// a message asks for (handles to wait on, threads to suspend, a file to
// write) is the reporter's to do.
#pragma once

#include "core/crashlink/CrashLinkProtocol.h"

#include <functional>
#include <string>

// A longer text never comes from a sound sender: the stream is garbled.
const DWORD kMaxLinkText = 4096;

struct CrashLinkMessage
{
    CrashLinkHeader header = {};
    HelloRecord hello = {};           // kLinkHello
    ThreadRecord thread = {};         // kLinkThreadCreate
    DumpRequest dump = {};            // kLinkDump with a value
    ExceptionReport exception = {};   // kLinkException
    // Texts end at their first NUL. kLinkHello: the module path and the
    // program name; kLinkThreadCreate: the name; kLinkText and kLinkDump: the text.
    std::string path;
    std::string name;
    std::string text;
};

class CCrashLinkReader
{
public:
    // read fills the buffer with exactly count bytes or fails.
    typedef std::function<bool(void* buffer, DWORD count)> ReadBytes;

    explicit CCrashLinkReader(const ReadBytes& read) : m_read(read) {}

    // false when the stream ended or failed within the message, or a text was
    // too long (ERROR_INVALID_DATA): the stream can no longer be trusted.
    // message.header holds the header once it was read.
    bool Read(CrashLinkMessage& message);

private:
    bool ReadPayload(CrashLinkMessage& message);
    bool ReadText(DWORD length, std::string& text);

    ReadBytes m_read;
};
