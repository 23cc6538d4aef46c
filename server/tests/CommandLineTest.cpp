// The server's command line: its own flags in either case and with either
// prefix, and the switches COM adds when it starts the server.
#include "tests/support/TestFramework.h"
#include "server/ServerCommandLine.h"

namespace {

TEST(ServerCommandLineTest, FlagsFromTheCommandLine)
{
    struct Case
    {
        const char* line;
        CTavlinServCommandLineInfo expected;
    };
    auto flags = [](bool reg, bool unreg, bool invisible, bool noIcon, bool embedded) {
        CTavlinServCommandLineInfo info;
        info.m_register = reg;
        info.m_unregister = unreg;
        info.m_invisible = invisible;
        info.m_noTrayIcon = noIcon;
        info.m_runEmbedded = embedded;
        return info;
    };
    const Case cases[] = {
        {"", flags(false, false, false, false, false)},
        {"/regserver", flags(true, false, false, false, false)},
        {"-R", flags(true, false, false, false, false)},
        {"/UnRegServer", flags(false, true, false, false, false)},
        {"-u", flags(false, true, false, false, false)},
        {"/invisible -n", flags(false, false, true, true, false)},
        {"-I /NOICON", flags(false, false, true, true, false)},
        {"-Embedding", flags(false, false, false, false, true)},
        {"regserver u", flags(false, false, false, false, false)},   // no prefix: no flag
        {"/x \"/r\"", flags(true, false, false, false, false)},
    };
    for (const Case& c : cases) {
        CTavlinServCommandLineInfo info;
        info.ParseCommandLine(c.line);
        EXPECT_EQ(c.expected.m_register, info.m_register) << c.line;
        EXPECT_EQ(c.expected.m_unregister, info.m_unregister) << c.line;
        EXPECT_EQ(c.expected.m_invisible, info.m_invisible) << c.line;
        EXPECT_EQ(c.expected.m_noTrayIcon, info.m_noTrayIcon) << c.line;
        EXPECT_EQ(c.expected.m_runEmbedded, info.m_runEmbedded) << c.line;
    }
}

}  // namespace
