// Tool-bar buttons without a bar: a new button's geometry, menu-button
// mnemonics, and buttons made from button maps.
#include "tests/support/TestFramework.h"

#include "toolkit/toolbars/TkBtnMap.h"
#include "toolkit/toolbars/TkTBMenuBtn.h"

#include <memory>

namespace {

const char kFileText[] = "&File";

const TkBtnMapEntry kFirstMap[] = {
    {&TkTBMenuBtn::classTkTBMenuBtn, 100, TKBS_ALWAYS_ENABLED, {7, 1, kFileText, 0x3}},
    {&TkStdBtn::classTkStdBtn, 101, TBBS_CHECKBOX, {}},
    {NULL, 0, 0, {}},
};
const TkBtnMapEntry kSecondMap[] = {
    {&TkTBMenuBtn::classTkTBMenuBtn, 101, 0, {}},
    {&TkTBMenuBtn::classTkTBMenuBtn, 102, TBBS_DISABLED, {}},
    {NULL, 0, 0, {}},
};

}  // namespace

TEST(ToolBarButtonParts, NewButtonIsDefaultSizeAtNoPlace)
{
    TkStdBtn button;
    EXPECT_EQ(CRect(-1, -1, 22, 21), button.GetRect());
    EXPECT_EQ(0u, button.GetStyle());
    EXPECT_EQ(kTkBtnStandard, button.m_nKind);
    EXPECT_EQ(kTkBtnMenu, TkTBMenuBtn().m_nKind);
}

TEST(ToolBarButtonParts, MnemonicIsTheLetterAfterTheFirstAmpersand)
{
    const struct
    {
        const char* text;
        char mnemonic;
    } kCases[] = {
        {"&File", 'f'}, {"E&xit", 'x'}, {"&Play &list", 'p'}, {"Tail&", 0}, {"None", 0}, {"", 0},
    };
    for (const auto& c : kCases) {
        TkTBMenuBtn button;
        button.m_strText = c.text;
        button.UpdateMnemonic();
        EXPECT_EQ(c.mnemonic, button.m_chMnemonic) << c.text;
    }
}

// The first map answers for its ids; the second only for ids the first
// lacks; other ids make a plain button of style 0.
TEST(ToolBarButtonParts, ButtonMapsGiveClassStyleAndValues)
{
    const struct
    {
        UINT id;
        const TkBtnMapEntry* entry;
        const TkBtnFactory* factory;
        DWORD style;
    } kCases[] = {
        {100, &kFirstMap[0], &TkTBMenuBtn::classTkTBMenuBtn, TKBS_ALWAYS_ENABLED},
        {101, &kFirstMap[1], &TkStdBtn::classTkStdBtn, TBBS_CHECKBOX},
        {102, &kSecondMap[1], &TkTBMenuBtn::classTkTBMenuBtn, TBBS_DISABLED},
        {103, NULL, &TkStdBtn::classTkStdBtn, 0},
    };
    for (const auto& c : kCases) {
        const TkBtnMapEntry* entry = NULL;
        std::unique_ptr<TkStdBtn> button(TkCreateMappedButton(kFirstMap, kSecondMap, c.id, &entry));
        EXPECT_EQ(c.entry, entry) << c.id;
        EXPECT_EQ(c.factory, button->GetButtonClass()) << c.id;
        EXPECT_EQ(c.style, button->GetStyle()) << c.id;
        EXPECT_EQ(c.id, button->m_nID) << c.id;
    }
    // A pointer among the values comes back whole on this 64-bit build.
    EXPECT_EQ(kFileText, TkFindBtnMapEntry(kFirstMap, NULL, 100)->data.pszText);
    EXPECT_EQ(&kSecondMap[0], TkFindBtnMapEntry(NULL, kSecondMap, 101));
    EXPECT_TRUE(TkFindBtnMapEntry(NULL, NULL, 100) == NULL);
}

TEST(ToolBarButtonParts, MenuButtonMakesAPlainBaseButton)
{
    TkTBMenuBtn menu;
    std::unique_ptr<TkStdBtn> base(menu.CreateBaseButton());
    EXPECT_EQ(&TkStdBtn::classTkStdBtn, base->GetButtonClass());
    EXPECT_EQ(kTkBtnStandard, base->m_nKind);
}
