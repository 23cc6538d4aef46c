#include "server/ServerCommandLine.h"
#include <ctype.h>
#include <string.h>
#include <string>

namespace {
struct FlagName
{
    const char* name;
    bool CTavlinServCommandLineInfo::*flag;
};
// The server's own flags, compared lower-cased, then the switches COM uses
// (compared without case, like every other parameter).
const FlagName kFlags[] = {
    {"regserver", &CTavlinServCommandLineInfo::m_register},
    {"r", &CTavlinServCommandLineInfo::m_register},
    {"unregserver", &CTavlinServCommandLineInfo::m_unregister},
    {"u", &CTavlinServCommandLineInfo::m_unregister},
    {"invisible", &CTavlinServCommandLineInfo::m_invisible},
    {"i", &CTavlinServCommandLineInfo::m_invisible},
    {"noicon", &CTavlinServCommandLineInfo::m_noTrayIcon},
    {"n", &CTavlinServCommandLineInfo::m_noTrayIcon},
    {"embedding", &CTavlinServCommandLineInfo::m_runEmbedded},
    {"automation", &CTavlinServCommandLineInfo::m_runAutomated},
};
}

void CTavlinServCommandLineInfo::ParseParam(const char* param, bool flag)
{
    if (!flag)
        return;
    std::string lower(param);
    for (char& c : lower)
        c = char(tolower(static_cast<unsigned char>(c)));
    for (const FlagName& entry : kFlags) {
        if (lower == entry.name)
            this->*entry.flag = true;
    }
}

void CTavlinServCommandLineInfo::ParseCommandLine(const char* commandLine)
{
    const char* p = commandLine ? commandLine : "";
    for (;;) {
        while (*p == ' ' || *p == '\t')
            ++p;
        if (!*p)
            return;
        std::string word;
        bool quoted = false;
        for (; *p && (quoted || (*p != ' ' && *p != '\t')); ++p) {
            if (*p == '"')
                quoted = !quoted;
            else
                word += *p;
        }
        bool flag = !word.empty() && (word[0] == '-' || word[0] == '/');
        ParseParam(flag ? word.c_str() + 1 : word.c_str(), flag);
    }
}
