// Device files as the learner edits them: the two editable types load and
// save byte for byte (an IR file's prefix and suffix folded into its codes),
// other files are refused with their reason, and codes convert between raw
// timings and pattern digits.
#include "tests/support/TestFramework.h"

#include <string>

#include "devices/manager/Device.h"
#include "irteach/IrCodeConversion.h"
#include "tests/support/MessageBoxScript.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestData.h"

namespace {

std::string Fixture(const char* name)
{
    return SourcePath(std::string("irteach/tests/data/") + name);
}

TEST(IrCodeConversionTest, EditableFilesLoadAndSaveByteForByte)
{
    const struct
    {
        const char* file;
        const char* saved;
        IrMode mode;
    } cases[] = {
        {"tv-irtxonly.cde", "tv-irtxonly.saved.cde", kIrTxOnlyMode},
        {"vcr-ir.cde", "vcr-ir.saved.cde", kIrMode},
    };
    CTempFolder folder("irconversion");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        CString message;
        std::unique_ptr<CDevice> device = LoadEditableDevice(WindowsPath(Fixture(c.file)).c_str(), message);
        ASSERT_TRUE(device) << message;
        EXPECT_EQ(c.mode, ModeOf(*device));
        EXPECT_TRUE(device->GetPrefix().IsEmpty());
        EXPECT_TRUE(device->GetSuffix().IsEmpty());
        ASSERT_TRUE(device->Save(folder.WindowsPath(c.saved).c_str()));
        EXPECT_EQ(ReadBytes(Fixture(c.saved)), ReadBytes(folder.UnixPath(c.saved)));
    }
}

TEST(IrCodeConversionTest, OtherFilesAreRefusedWithTheirReason)
{
    const struct
    {
        const char* file;
        const char* message;   // the learner's own
        const char* loaderBox; // what the loader told the user
    } cases[] = {
        {"lowlevel.cde", "Only the IRTXONLY and IR device file types are currently supported by this program", ""},
        {"shopping.txt", "", "Error loading device: improper / no device type specified"},
        {"missing.cde", "", "Couldn't open device file "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        CMessageBoxScript boxes;
        CString message;
        EXPECT_FALSE(LoadEditableDevice(WindowsPath(Fixture(c.file)).c_str(), message));
        EXPECT_STREQ(c.message, message);
        std::vector<ShownMessageBox> shown = boxes.Shown();
        if (!*c.loaderBox) {
            EXPECT_TRUE(shown.empty());
        } else {
            ASSERT_EQ(1u, shown.size());
            EXPECT_EQ(0u, shown[0].text.find(c.loaderBox)) << shown[0].text;
        }
    }
}

TEST(IrCodeConversionTest, DigitsExpandIntoTheFrameAndDecodeBack)
{
    CDevice device;
    ASSERT_TRUE(device.Load("type=ir\nstart=9000 -4500\nstop=560 -20000\nzero=560 -560\none=560 -1690\n"
                            "sleep=-60000\n01:a\n:b\n",
                            0, FALSE));
    device.SetTolerance(0.1);
    ConvertToTxOnly(device);
    EXPECT_EQ("irtxonly", device.GetType());
    EXPECT_STREQ("9000 -4500  560 -560 560 -1690 560 -20000 -60000", device.GetCode(0).data);
    EXPECT_STREQ("", device.GetCode(1).data);
    ConvertToIR(device);
    EXPECT_EQ("ir", device.GetType());
    EXPECT_STREQ("01", device.GetCode(0).data);
    EXPECT_STREQ("", device.GetCode(1).data);
}

TEST(IrCodeConversionTest, AFoldedIrFileSurvivesBothConversions)
{
    CMessageBoxScript boxes;
    CString message;
    std::unique_ptr<CDevice> device = LoadEditableDevice(WindowsPath(Fixture("vcr-ir.cde")).c_str(), message);
    ASSERT_TRUE(device);
    ConvertToTxOnly(*device);
    // A repeat: the frame twice, the pause between.
    EXPECT_EQ(0, device->GetCode(0).data.Find("9000 -4500"));
    EXPECT_LT(0, device->GetCode(0).data.Find("-40000 9000 -4500"));
    ConvertToIR(*device);
    EXPECT_STREQ("0010010111", device->GetCode(0).data);
    EXPECT_STREQ("0010110011", device->GetCode(1).data);
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST(IrCodeConversionTest, DecodingNeedsBothOneAndZero)
{
    const struct
    {
        const char* one;
        const char* zero;
        bool possible;
    } cases[] = {
        {"560 -1690", "560 -560", true},
        {"", "560 -560", false},
        {"560 -1690", "", false},
        {"", "", false},
    };
    for (const auto& c : cases) {
        CDevice device;
        device.SetTimingText(CDevice::kOne, c.one);
        device.SetTimingText(CDevice::kZero, c.zero);
        EXPECT_EQ(c.possible, CanConvertToIR(device)) << c.one << "|" << c.zero;
    }
}

} // namespace
