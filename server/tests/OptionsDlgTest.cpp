// The ports the server probes: a first run asks (message box, then the options
// dialog with every box clear) and keeps what was ticked; a cancelled first
// run saves nothing; stored masks tick their boxes.
#include "tests/support/TestFramework.h"

#include "tests/support/MessageBoxScript.h"
#include "server/OptionsDlg.h"

namespace {

const char kOptionsKey[] = "Software\\Halvane\\tavlinserv\\Options";

// The registry's options as they were before the test, put back after.
class OptionsDlgTest : public ::testing::Test
{
protected:
    OptionsDlgTest() { m_saved.Load(); }
    ~OptionsDlgTest() override
    {
        if (m_saved.NeverChosen())
            RegDeleteKeyA(HKEY_CURRENT_USER, kOptionsKey);
        else
            m_saved.Save();
    }

    static void Forget() { RegDeleteKeyA(HKEY_CURRENT_USER, kOptionsKey); }

    // What the user does in the dialog once it shows: the timer fires in its loop.
    static void CALLBACK Answer(HWND, UINT, UINT_PTR id, DWORD)
    {
        HWND dialog = FindWindowA(nullptr, "Options");
        if (!dialog)
            return;
        KillTimer(nullptr, id);
        for (int box = IDC_TAVLIN_COM1; box <= IDC_KELTO_COM8; ++box)
            s_cleared = s_cleared && IsDlgButtonChecked(dialog, box) == BST_UNCHECKED;
        CheckDlgButton(dialog, IDC_TAVLIN_COM2, BST_CHECKED);
        PostMessageA(dialog, WM_COMMAND, s_button, 0);
    }

    PortOptions m_saved;
    static int s_button;
    static bool s_cleared;
};

int OptionsDlgTest::s_button = IDOK;
bool OptionsDlgTest::s_cleared = true;

TEST_F(OptionsDlgTest, AFirstRunAsksAndKeepsWhatWasTickedOrNothingWhenCancelled)
{
    const struct
    {
        int button;
        int tavlinMask;
    } cases[] = {{IDCANCEL, PortOptions::kNeverChosen}, {IDOK, 2}};
    for (const auto& c : cases) {
        Forget();
        s_button = c.button;
        s_cleared = true;
        CMessageBoxScript boxes;
        SetTimer(nullptr, 0, 20, Answer);
        COptionsDlg options;
        ASSERT_EQ(1u, boxes.Shown().size());
        EXPECT_EQ("TavlinServ needs to know which COM ports your devices are connected to the first time it is run. "
                  "If you are unsure, you can select multiple ports",
                  boxes.Shown()[0].text);
        EXPECT_TRUE(s_cleared);
        PortOptions stored;
        stored.Load();
        EXPECT_EQ(c.tavlinMask, stored.tavlinMask);
        EXPECT_EQ(0, stored.cm11aMask);
        EXPECT_EQ(0, stored.keltoMask);
        EXPECT_EQ(c.tavlinMask, options.m_masks.tavlinMask);
    }
}

TEST_F(OptionsDlgTest, StoredMasksTickTheirBoxesAndSaveBack)
{
    PortOptions stored;
    stored.tavlinMask = 5;
    stored.cm11aMask = 0x80;
    stored.keltoMask = 0x02;
    stored.Save();
    COptionsDlg options;
    BOOL expectedTavlin[8] = {TRUE, FALSE, TRUE};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(expectedTavlin[i], options.m_tavlin[i]) << i;
        EXPECT_EQ(i == 7, options.m_cm11a[i] != FALSE) << i;
        EXPECT_EQ(i == 1, options.m_kelto[i] != FALSE) << i;
    }
    options.m_tavlin[0] = FALSE;
    options.m_kelto[4] = TRUE;
    options.SavePortMasks();
    PortOptions saved;
    saved.Load();
    EXPECT_EQ(4, saved.tavlinMask);
    EXPECT_EQ(0x80, saved.cm11aMask);
    EXPECT_EQ(0x12, saved.keltoMask);
}

} // namespace
