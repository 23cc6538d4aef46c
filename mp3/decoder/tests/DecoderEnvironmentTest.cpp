// The decoder's variables and the watchers that hear of their changes.
#include "tests/support/TestFramework.h"

#include <string>
#include <vector>

#include "mp3/decoder/Decoder.h"
#include "mp3/decoder/DecoderErrors.h"

namespace {

struct Heard {
    std::string watcher;
    std::string name;
    bool removed;
    int integer;
    std::string text;
};

struct Listener {
    std::string label;
    bool integer;
    std::vector<Heard>* log;
};

void Watch(void* context, const char* name, const void* value)
{
    Listener* l = (Listener*)context;
    Heard h{l->label, name, value == nullptr, 0, ""};
    if (value && l->integer)
        h.integer = *(const int*)value;
    else if (value)
        h.text = (const char*)value;
    l->log->push_back(h);
}

class DecoderEnvironment : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_EQ(0, CreateDecoder(&m_decoder)); }
    void TearDown() override { DestroyDecoder(m_decoder); }

    Decoder* m_decoder = nullptr;
    std::vector<Heard> m_log;
};

TEST_F(DecoderEnvironment, VariablesKeepTheirType)
{
    char text[16];
    int value = 0;
    EXPECT_EQ(0, SetStringVariable(m_decoder, "NAME", "first"));
    EXPECT_EQ(kErrVariableType, SetIntegerVariable(m_decoder, "NAME", 5));
    EXPECT_EQ(kErrVariableType, GetIntegerVariable(m_decoder, "NAME", &value));
    EXPECT_EQ(0, GetStringVariable(m_decoder, "NAME", text, sizeof(text)));
    EXPECT_STREQ("first", text);

    EXPECT_EQ(0, SetIntegerVariable(m_decoder, "RATE", 7));
    EXPECT_EQ(kErrVariableType, SetStringVariable(m_decoder, "RATE", "x"));
    EXPECT_EQ(kErrVariableType, GetStringVariable(m_decoder, "RATE", text, sizeof(text)));
    EXPECT_EQ(0, GetIntegerVariable(m_decoder, "RATE", &value));
    EXPECT_EQ(7, value);

    // Names are compared with case.
    EXPECT_EQ(kErrNoSuchVariable, GetIntegerVariable(m_decoder, "rate", &value));
    EXPECT_EQ(kErrNoSuchVariable, UnsetVariable(m_decoder, "rate"));
    EXPECT_EQ(kErrInvalidParameters, SetIntegerVariable(nullptr, "RATE", 1));
    EXPECT_EQ(kErrInvalidParameters, SetIntegerVariable(m_decoder, nullptr, 1));
}

TEST_F(DecoderEnvironment, LongTextIsCutToTheCallersArea)
{
    std::string longText(3000, 'x');
    ASSERT_EQ(0, SetStringVariable(m_decoder, "LONG", longText.c_str()));
    char text[1024];
    ASSERT_EQ(0, GetStringVariable(m_decoder, "LONG", text, sizeof(text)));
    EXPECT_EQ(std::string(1023, 'x'), text);
}

TEST_F(DecoderEnvironment, WatchersHearSetsAndRemovalNewestFirst)
{
    Listener older{"older", false, &m_log};
    Listener newer{"newer", false, &m_log};
    Listener other{"other", true, &m_log};
    DecoderWatcher *a, *b, *c;
    ASSERT_EQ(0, AddWatcher(m_decoder, "TITLE", &older, Watch, &a));
    ASSERT_EQ(0, AddWatcher(m_decoder, "TITLE", &newer, Watch, &b));
    ASSERT_EQ(0, AddWatcher(m_decoder, "COUNT", &other, Watch, &c));

    SetStringVariable(m_decoder, "TITLE", "one");
    SetStringVariable(m_decoder, "TITLE", "two");
    SetIntegerVariable(m_decoder, "COUNT", 42);
    UnsetVariable(m_decoder, "TITLE");

    const struct {
        const char* watcher;
        bool removed;
        const char* text;
    } expected[] = {
        {"newer", false, "one"}, {"older", false, "one"}, {"newer", false, "two"},
        {"older", false, "two"}, {"other", false, ""},    {"newer", true, ""},
        {"older", true, ""},
    };
    ASSERT_EQ(sizeof(expected) / sizeof(expected[0]), m_log.size());
    for (size_t i = 0; i < m_log.size(); i++) {
        EXPECT_EQ(expected[i].watcher, m_log[i].watcher) << i;
        EXPECT_EQ(expected[i].removed, m_log[i].removed) << i;
        EXPECT_EQ(expected[i].text, m_log[i].text) << i;
    }
    EXPECT_EQ(42, m_log[4].integer);

    // The variable set twice exists once.
    char text[8];
    EXPECT_EQ(kErrNoSuchVariable, GetStringVariable(m_decoder, "TITLE", text, sizeof(text)));

    // The older watcher is found below the newer one; a removed one is gone.
    EXPECT_EQ(0, RemoveWatcher(m_decoder, a));
    EXPECT_EQ(kErrFailed, RemoveWatcher(m_decoder, a));
    EXPECT_EQ(kErrInvalidParameters, RemoveWatcher(m_decoder, nullptr));
    m_log.clear();
    SetStringVariable(m_decoder, "TITLE", "three");
    ASSERT_EQ(1u, m_log.size());
    EXPECT_EQ("newer", m_log[0].watcher);
    EXPECT_EQ(kErrInvalidParameters, AddWatcher(m_decoder, "TITLE", &older, nullptr, &a));
}

} // namespace
