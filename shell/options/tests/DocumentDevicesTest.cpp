// The device page on the real document, with an interface unit on a pty:
// Add defines the device on the document's road at once, Delete deletes it,
// both refresh the views with hint 5, and the unit list offers the unit.
#include "shell/options/tests/DeviceListSteps.h"
#include "tests/support/doc/DocFixture.h"

#include "shell/options/DocOptionsHost.h"
#include "tests/support/MessageBoxScript.h"
#include "tests/support/PtySerial.h"
#include "tests/support/TavlinSimulator.h"

namespace {

// The document checks COM1 to COM8 only.
const int kUnitPort = 7;

class OptionsDocumentTest : public DocFixture
{
protected:
    OptionsDocumentTest() : m_pty(kUnitPort), m_unit(m_pty, 38400, 3.0)
    {
        Option("COM Ports to Check", 1 << (kUnitPort - 1));
        Option("Auto Locate Players", 0);
    }

    int Hints5(const Texts& trace) { return (int)std::count(trace.begin(), trace.end(), "hint 5"); }

    CPtySerial m_pty;
    CTavlinSimulator m_unit;
};

TEST_F(OptionsDocumentTest, AddAndDeleteDefineAndDeleteTheDevice)
{
    WriteFile("amp.cde", "type=devtx\n");
    Open();
    m_doc->RunStartup();
    ASSERT_EQ(1, m_doc->GetDevicePath().GetNumTavlins());
    m_trace.Take();
    const int devices = m_doc->GetDevicePath().GetNumDevices();
    CDocOptionsHost host(*m_doc);
    CStepDriver steps;
    int units = 0, devicesAfterAdd = 0;
    std::vector<ListRow> afterAdd, afterDelete;
    Texts traceAfterAdd;
    steps.Wait([] { return OptionsTest::Sheet() != NULL; });
    steps.Then([] { OptionsTest::ShowPage(5); });
    steps.Then([] { PostMessageA(OptionsTest::Item(IDC_DEV_ADD), BM_CLICK, 0, 0); });
    steps.Wait([&] {
        HWND dialog = CStepDriver::Find(kEditTitle);
        if (dialog)
            units = (int)SendDlgItemMessageA(dialog, IDC_DEV_UNIT, CB_GETCOUNT, 0, 0);
        return dialog != NULL;
    });
    steps.Wait(EditDevice("amp", "amp.cde", 0, 0, { IDC_DEV_IR0 }));
    steps.Wait(EditClosed());
    steps.Then([&] {
        afterAdd = DeviceRows();
        devicesAfterAdd = m_doc->GetDevicePath().GetNumDevices();
        traceAfterAdd = m_trace.Take();
        SelectDevice(0);
    });
    steps.Then([] { OptionsTest::Click(IDC_DEV_DELETE); });
    steps.Then([&] { afterDelete = DeviceRows(); });
    steps.Then([] { OptionsTest::PressOK(); });
    steps.Start();
    EXPECT_EQ(IDOK, RunOptionsSheet(m_doc->GetOptions(), host, OptionsTest::kTitle));
    EXPECT_TRUE(steps.Finished());

    EXPECT_EQ(1, units);
    EXPECT_EQ((std::vector<ListRow>{ { "amp", "amp.cde", "1", "1", "ir0 ", CDevicesPage::kImageDefined } }), afterAdd);
    EXPECT_EQ(devices + 1, devicesAfterAdd);
    EXPECT_EQ(1, Hints5(traceAfterAdd));
    EXPECT_TRUE(afterDelete.empty());
    EXPECT_EQ(devices, m_doc->GetDevicePath().GetNumDevices());
    EXPECT_EQ(1, Hints5(m_trace.Take()));
    EXPECT_TRUE(m_doc->GetOptions().m_page6.m_devices.empty());
    Close();
}

// A device file the document cannot read is listed as failed.
TEST_F(OptionsDocumentTest, AFileThatCannotBeReadIsListedAsFailed)
{
    Open();
    m_doc->RunStartup();
    CDocOptionsHost host(*m_doc);
    CStepDriver steps;
    std::vector<ListRow> rows;
    steps.Wait([] { return OptionsTest::Sheet() != NULL; });
    steps.Then([] { OptionsTest::ShowPage(5); });
    steps.Then([] { PostMessageA(OptionsTest::Item(IDC_DEV_ADD), BM_CLICK, 0, 0); });
    steps.Wait(EditDevice("gone", "missing.cde", 0, 0, {}));
    steps.Wait(EditClosed());
    steps.Then([&] { rows = DeviceRows(); });
    steps.Then([] { OptionsTest::PressCancel(); });
    CMessageBoxScript boxes;
    steps.Start();
    EXPECT_EQ(IDCANCEL, RunOptionsSheet(m_doc->GetOptions(), host, OptionsTest::kTitle));
    ASSERT_EQ(1u, rows.size());
    EXPECT_EQ(CDevicesPage::kImageFailed, rows[0].image);
    Close();
}

} // namespace
