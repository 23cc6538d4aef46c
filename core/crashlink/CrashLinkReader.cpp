#include "core/crashlink/CrashLinkReader.h"

#include <string.h>

bool CCrashLinkReader::Read(CrashLinkMessage& message)
{
    message = CrashLinkMessage();
    return m_read(&message.header, sizeof message.header) && ReadPayload(message);
}

bool CCrashLinkReader::ReadPayload(CrashLinkMessage& m)
{
    switch (m.header.kind) {
    case kLinkHello:
        return m_read(&m.hello, sizeof m.hello) && ReadText(m.hello.modulePathLength, m.path) &&
               ReadText(m.hello.programNameLength, m.name);
    case kLinkThreadCreate:
        return m_read(&m.thread, sizeof m.thread) && ReadText(m.thread.nameLength, m.name);
    case kLinkText:
        return ReadText(m.header.value, m.text);
    case kLinkException:
        return m_read(&m.exception, sizeof m.exception);
    case kLinkDump:
        // A dump request without a value carries nothing.
        return m.header.value == 0 ||
               (m_read(&m.dump, sizeof m.dump) && ReadText(m.dump.textLength, m.text));
    default:
        return true;
    }
}

bool CCrashLinkReader::ReadText(DWORD length, std::string& text)
{
    if (length > kMaxLinkText) {
        SetLastError(ERROR_INVALID_DATA);
        return false;
    }
    text.assign(length, '\0');
    if (length && !m_read(&text[0], length))
        return false;
    text.resize(strnlen(text.c_str(), length));
    return true;
}
