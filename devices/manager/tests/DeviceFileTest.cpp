// Device definition files: keywords, codes, comments, includes, numbered
// devices, every device type, the loader's errors, and saving without loss.
#include "tests/support/TestFramework.h"

#include "tests/support/DebugCapture.h"
#include "devices/manager/tests/DeviceFiles.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/TempFolder.h"

#include <stdio.h>

#include "platform/crt/Random.h"

namespace {

// Everything a definition holds, for comparing one load with another.
void ExpectSameDevice(CDevice& a, CDevice& b, const char* what)
{
    EXPECT_EQ(a.GetType(), b.GetType()) << what;
    EXPECT_EQ(a.GetDescription(), b.GetDescription()) << what;
    EXPECT_EQ(a.GetName(), b.GetName()) << what;
    EXPECT_EQ(a.GetGroup(), b.GetGroup()) << what;
    EXPECT_DOUBLE_EQ(a.GetCarrier(), b.GetCarrier()) << what;
    EXPECT_EQ(a.GetRepeat(), b.GetRepeat()) << what;
    for (int t = 0; t < CDevice::kTimings; ++t)
        EXPECT_EQ(a.GetTiming(CDevice::Timing(t)), b.GetTiming(CDevice::Timing(t))) << what << " " << t;
    EXPECT_EQ(a.GetPrefix(), b.GetPrefix()) << what;
    EXPECT_EQ(a.GetSuffix(), b.GetSuffix()) << what;
    EXPECT_EQ(a.GetPrefixLines(), b.GetPrefixLines()) << what;
    EXPECT_EQ(a.GetSuffixLines(), b.GetSuffixLines()) << what;
    ASSERT_EQ(a.GetNumCodes(), b.GetNumCodes()) << what;
    for (int i = 0; i < a.GetNumCodes(); ++i) {
        EXPECT_EQ(a.GetCode(i).data, b.GetCode(i).data) << what;
        EXPECT_EQ(a.GetCode(i).name, b.GetCode(i).name) << what;
    }
    EXPECT_EQ(a.GetNumPatterns(), b.GetNumPatterns()) << what;
    EXPECT_EQ(a.MayReceive(), b.MayReceive()) << what;
    EXPECT_EQ(a.MayTransmit(), b.MayTransmit()) << what;
}

std::string ReadUnixFile(const std::string& path)
{
    std::string text;
    FILE* f = fopen(path.c_str(), "rb");
    if (!f)
        return text;
    char block[4096];
    for (size_t n; (n = fread(block, 1, sizeof block, f)) > 0;)
        text.append(block, n);
    fclose(f);
    return text;
}

TEST(DeviceFile, ReadsKeywordsCodesCommentsAndIncludes)
{
    CQuietDevice tv;
    ASSERT_EQ(1, tv.Load(FixturePath("nec_tv.cde").c_str(), 0, TRUE)) << tv.GetErrorText();
    EXPECT_EQ("ir", tv.GetType());
    EXPECT_EQ("my tv", tv.GetDescription());
    EXPECT_EQ("nec", tv.GetGroup());
    EXPECT_DOUBLE_EQ(38000, tv.GetCarrier());
    EXPECT_EQ(0, tv.GetRepeat());
    EXPECT_EQ("+9000 -4500", tv.GetTiming(CDevice::kStart));
    EXPECT_EQ("0000000011111111", tv.GetPrefix());
    const char* const names[] = {"power", "vol up", "vol_down", "mute"};
    ASSERT_EQ(4, tv.GetNumCodes());
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(names[i], tv.GetCode(i).name);
    EXPECT_EQ("1000000001111111", tv.GetCode(1).data);
}

TEST(DeviceFile, EveryTimingKeyBecomesAPatternInOrder)
{
    CQuietDevice keys;
    ASSERT_EQ(1, keys.Load(FixturePath("allkeys.cde").c_str(), 0, TRUE)) << keys.GetErrorText();
    const char symbols[] = "PZ0123SSE";
    ASSERT_EQ(9, keys.GetNumPatterns());
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(symbols[i], keys.GetPattern(i).symbol) << i;
    EXPECT_DOUBLE_EQ(6000, keys.GetPattern(6).total);
    EXPECT_EQ(0, keys.GetScoringMode());   // zero and one both begin with a mark
}

struct NumberCase
{
    int deviceNumber;
    const char* prefix;
    const char* suffix;
};

TEST(DeviceFile, DeviceNumberPicksPrefixAndSuffix)
{
    const NumberCase cases[] = {{0, "01", "0"}, {1, "10", "1"}, {2, "10", "2"}};
    for (const NumberCase& c : cases) {
        CQuietDevice keys;
        ASSERT_EQ(1, keys.Load(FixturePath("allkeys.cde").c_str(), c.deviceNumber, TRUE)) << c.deviceNumber;
        EXPECT_EQ(c.prefix, keys.GetPrefix()) << c.deviceNumber;
        EXPECT_EQ(c.suffix, keys.GetSuffix()) << c.deviceNumber;
    }
    CQuietDevice third;
    EXPECT_EQ(0, third.Load(FixturePath("allkeys.cde").c_str(), 3, TRUE));
    EXPECT_EQ("Error loading device: couldn't find prefixes / suffixes for device #3", third.GetErrorText());
}

struct TypeCase
{
    const char* text;
    BOOL receive;
    BOOL transmit;
    BOOL cm11a;
    BOOL kelto;
    BOOL timer;
};

TEST(DeviceFile, EveryTypeLoadsAndSavesWithoutLoss)
{
    const TypeCase cases[] = {
        {"type=IR\nzero=+500 -500\none=+500 -1500\n0101:a\n", FALSE, FALSE, FALSE, FALSE, FALSE},
        {"type=irtxonly\ncarrier=36000\nsleep=-9000\n+900 -900 +900:raw\n", FALSE, FALSE, FALSE, FALSE, FALSE},
        {"type=tavlin\nprefix=10\nsuffix=01\n0011:play\n", FALSE, FALSE, FALSE, FALSE, FALSE},
        {"type=lowlevel\ndesc=raw words\n", FALSE, FALSE, FALSE, FALSE, FALSE},
        {"type=devrx\ngroup=hall\n", TRUE, FALSE, FALSE, FALSE, FALSE},
        {"type=devtx\nrepeat=4\n", FALSE, TRUE, FALSE, FALSE, FALSE},
        {"type=devrxtx\nname=both\n", TRUE, TRUE, FALSE, FALSE, FALSE},
        {"type=cm11a\na1 on:lamp_on\n", FALSE, FALSE, TRUE, FALSE, FALSE},
        {"type=kelto\ncarrier=1\n", FALSE, FALSE, FALSE, TRUE, FALSE},
        {"type=timer\n", FALSE, FALSE, FALSE, FALSE, TRUE},
    };
    CTempFolder folder("d1-cde");
    ASSERT_TRUE(folder.IsValid());
    for (const TypeCase& c : cases) {
        // Descriptions are stored lower-cased, so the default one is not read back.
        CQuietDevice first;
        ASSERT_EQ(1, first.Load(CString("desc=Each type\n") + c.text, 0, FALSE)) << c.text;
        EXPECT_EQ(c.receive, first.MayReceive()) << c.text;
        EXPECT_EQ(c.transmit, first.MayTransmit()) << c.text;
        EXPECT_EQ(c.cm11a, first.IsCM11a()) << c.text;
        EXPECT_EQ(c.kelto, first.IsKelto()) << c.text;
        EXPECT_EQ(c.timer, first.IsTimer()) << c.text;
        ASSERT_EQ(1, first.Save(folder.WindowsPath("saved.cde").c_str())) << c.text;
        CQuietDevice second;
        ASSERT_EQ(1, second.Load(folder.WindowsPath("saved.cde").c_str(), 0, TRUE)) << c.text;
        ExpectSameDevice(first, second, c.text);
    }
}

TEST(DeviceFile, FixturesSurviveSaveAndLoad)
{
    const char* const fixtures[] = {"nec_tv.cde", "rc5_amp.cde", "allkeys.cde", "changer.cde"};
    CTempFolder folder("d1-cde");
    ASSERT_TRUE(folder.IsValid());
    for (const char* name : fixtures) {
        for (int number = 0; number < 2; ++number) {
            CQuietDevice first;
            if (!first.Load(FixturePath(name).c_str(), number, TRUE))
                continue;   // a device number the file has no prefixes for
            ASSERT_EQ(1, first.Save(folder.WindowsPath("saved.cde").c_str())) << name;
            CQuietDevice second;
            ASSERT_EQ(1, second.Load(folder.WindowsPath("saved.cde").c_str(), number, TRUE)) << name;
            ExpectSameDevice(first, second, name);
        }
    }
}

TEST(DeviceFile, SaveWritesTheKeysOfEachType)
{
    CTempFolder folder("d1-cde");
    ASSERT_TRUE(folder.IsValid());
    CQuietDevice bus;
    ASSERT_EQ(1, bus.Load("desc=Bus\ntype=tavlin\n0011:play\n", 0, FALSE));
    ASSERT_EQ(1, bus.Save(folder.WindowsPath("bus.cde").c_str()));
    EXPECT_EQ("desc=bus\ntype=tavlin\n0011:play\n", ReadUnixFile(folder.UnixPath("bus.cde")));

    CQuietDevice ir;
    ASSERT_EQ(1, ir.Load("type=ir\nzero=+100 -100\n1:x\n", 0, FALSE));
    ASSERT_EQ(1, ir.Save(folder.WindowsPath("ir.cde").c_str()));
    EXPECT_EQ("desc=Unknown\ntype=ir\ngroup=\ncarrier=-1.000000\nrepeat=-1\npause=\nsleep=\n"
              "zero=+100 -100\none=\ntwo=\nthree=\nstart=\nstartalt=\nstop=\n1:x\n",
              ReadUnixFile(folder.UnixPath("ir.cde")));
}

struct BadCase
{
    const char* text;
    int deviceNumber;
    const char* error;
};

TEST(DeviceFile, BadDefinitionsAreRefusedWithTheirText)
{
    const BadCase cases[] = {
        {"type=ir\ncolour=red\n", 0, "Unknown keyword [colour] reading device file"},
        {"type=infrared\n", 0, "Error loading device: improper / no device type specified (must be "
                               "CM11a, DEVRX, DEVRXTX, DEVTX, KELTO, IR, IRTXONLY, LOWLEVEL, TIMER, or TAVLIN)"},
        {"desc=no type\n", 0, "Error loading device: improper / no device type specified (must be "
                              "CM11a, DEVRX, DEVRXTX, DEVTX, KELTO, IR, IRTXONLY, LOWLEVEL, TIMER, or TAVLIN)"},
        {"type=ir\nprefix=1\nprefix=0\n", 2, "Error loading device: couldn't find prefixes / suffixes for device #2"},
        {"=\ntype=ir\n", 0, "Unknown keyword [] reading device file"},
        {"type=ir\nrepeat=5000\n", 0, "5000 is to many repetitions (1000 is the most)"},
        {"type=ir\nzero=+0.001\n", 0, "zero=+0.001 holds 0.001us, less than one sample period (49us is the shortest)"},
        {"type=ir\nzero=+500 -500\nstop=+500 -48 -0.5\n", 0,
         "stop=+500 -48 -0.5 holds -48.5us, less than one sample period (49us is the shortest)"},
    };
    for (const BadCase& c : cases) {
        CDebugCapture debug;
        CQuietDevice device;
        EXPECT_EQ(0, device.Load(c.text, c.deviceNumber, FALSE)) << c.text;
        EXPECT_EQ(c.error, device.GetErrorText()) << c.text;
        EXPECT_TRUE(debug.Contains(c.error)) << c.text;
    }
}

TEST(DeviceFile, OddLinesNeverStopTheLoader)
{
    // Junk, a lone colon, an empty value, numbers that are not numbers, no
    // newline at the end.
    CQuietDevice device;
    ASSERT_EQ(1, device.Load("type=ir\r\njunk line\n:\n\nzero=\ncarrier=abc\nrepeat=\n"
                             "one=+- -. x\n::name:with:colons", 0, FALSE)) << device.GetErrorText();
    ASSERT_EQ(2, device.GetNumCodes());
    EXPECT_EQ("", device.GetCode(0).name);
    EXPECT_EQ(":name:with:colons", device.GetCode(1).name);
    EXPECT_DOUBLE_EQ(0, device.GetCarrier());
    EXPECT_EQ(1, device.GetNumPatterns());   // "one" names no duration but is a pattern
    double score;
    EXPECT_EQ("", device.MatchPattern("+500 -500", &score));
}

// Definitions thrown together from keywords, timings and junk: loading either
// works or says why, and composing and decoding with whatever loaded finish.
TEST(DeviceFile, RandomDefinitionsNeverCrashTheLoaderOrTheComposer)
{
    const char* const pieces[] = {
        "type=ir\n", "type=tavlin\n", "type=irtxonly\n", "zero=", "one=", "two=", "start=",
        "startalt=", "stop=", "sleep=", "pause=", "prefix=", "suffix=", "repeat=", "carrier=",
        "+560 ", "-1690 ", "+9000 ", "-", "+", "nan ", "1e999 ", "0", "1", "2", "3", "12", ":", "=",
        "#", "[", "]", "\n", "\r\n", "x", " ", "01:a\n", "0123:b\n", "\x01", "\xff",
    };
    const int kPieces = sizeof pieces / sizeof pieces[0];
    MsSrand(7);
    for (int round = 0; round < 500; ++round) {
        CString text;
        for (int i = 0; i < 40; ++i)
            text += pieces[MsRand() % kPieces];
        CQuietDevice device;
        if (!device.Load(text, MsRand() % 3, FALSE)) {
            EXPECT_NE("No Error", device.GetErrorText()) << text;
            continue;
        }
        device.SetPortMask(0xFFF);
        for (int i = 0; i < device.GetNumCodes(); ++i)
            device.ComposeCommand(device.GetCode(i).name + "[1a]");
        double score;
        device.MatchPattern("+9000 -4500 +560 -560 +560 -1690 +560 -99999 +1", &score);
        EXPECT_GE(score, -1.0) << text;
    }
}

TEST(DeviceFile, IncludeOfItselfOrACycleStopsLoading)
{
    const char* const files[] = {"self.cde", "loop_a.cde"};
    for (const char* name : files) {
        CQuietDevice device;
        EXPECT_EQ(0, device.Load(FixturePath(name).c_str(), 0, TRUE)) << name;
        EXPECT_NE(-1, device.GetErrorText().Find("includes itself")) << name;
    }
}

TEST(DeviceFile, MissingIncludeIsReportedAndLoadingGoesOn)
{
    CDebugCapture debug;
    CQuietDevice device;
    ASSERT_EQ(1, device.Load(FixturePath("missing_include.cde").c_str(), 0, TRUE));
    EXPECT_TRUE(debug.Contains("Couldn't open device file not_there.cde"));
    ASSERT_EQ(1, device.GetNumCodes());
    EXPECT_EQ("kept", device.GetCode(0).name);
}

// An include is read from the folder of the file that names it; the current
// folder plays no part, so a missing folder is no file even when the current
// folder holds one of that name.
TEST(DeviceFile, IncludesAreReadFromTheFolderOfTheFileNamingThem)
{
    CQuietDevice nested;
    ASSERT_EQ(1, nested.Load(FixturePath("outer.cde").c_str(), 0, TRUE)) << nested.GetErrorText();
    ASSERT_EQ(2, nested.GetNumCodes());
    EXPECT_EQ("sub_leaf", nested.GetCode(0).name);
    EXPECT_EQ("top_leaf", nested.GetCode(1).name);

    char before[MAX_PATH];
    GetCurrentDirectoryA(sizeof before, before);
    ASSERT_TRUE(SetCurrentDirectoryA(FixturePath("").c_str()));
    std::string inMissingFolder = FixturePath("no_such_folder/nec_tv.cde");
    CQuietDevice missing;
    int loaded = missing.Load(inMissingFolder.c_str(), 0, TRUE);
    SetCurrentDirectoryA(before);
    EXPECT_EQ(0, loaded);
    EXPECT_EQ("Couldn't open device file " + inMissingFolder, std::string(missing.GetErrorText()));
}

TEST(DeviceFile, IncludeInTextIsIgnoredAndFolderIsRestored)
{
    char before[MAX_PATH];
    GetCurrentDirectoryA(sizeof before, before);
    CQuietDevice text;
    ASSERT_EQ(1, text.Load("type=tavlin\ninclude=nec_codes.cde\n", 0, FALSE));
    EXPECT_EQ(0, text.GetNumCodes());
    CQuietDevice file;
    ASSERT_EQ(1, file.Load(FixturePath("nec_tv.cde").c_str(), 0, TRUE));
    char after[MAX_PATH];
    GetCurrentDirectoryA(sizeof after, after);
    EXPECT_STREQ(before, after);
}

// A save that fails half-way (here: no file may grow past 1 KB) keeps the old
// file as it was.
TEST(DeviceFile, AFailedSaveLeavesTheOldFileWhole)
{
    CTempFolder folder("d1-cde");
    ASSERT_TRUE(folder.IsValid());
    std::string path = folder.WindowsPath("tv.cde");
    CQuietDevice device;
    ASSERT_EQ(1, device.Load("desc=TV\ntype=tavlin\n0011:play\n", 0, FALSE));
    ASSERT_EQ(1, device.Save(path.c_str()));
    const std::string saved = ReadUnixFile(folder.UnixPath("tv.cde"));
    for (int i = 0; i < 200; ++i)
        device.AddCode("00112233", ("code" + std::to_string(i)).c_str());
    int result;
    {
        CFileSizeLimit full(1024);
        ASSERT_TRUE(full.IsSet());
        result = device.Save(path.c_str());
    }
    EXPECT_EQ(0, result);
    EXPECT_EQ("Couldn't write device file " + path, std::string(device.GetErrorText()));
    EXPECT_EQ(saved, ReadUnixFile(folder.UnixPath("tv.cde")));
}

TEST(DeviceFile, MissingFileAndUnwritableSave)
{
    CQuietDevice device;
    EXPECT_EQ(0, device.Load("Z:\\no\\such\\folder\\tv.cde", 0, TRUE));
    EXPECT_EQ("Couldn't open device file Z:\\no\\such\\folder\\tv.cde", device.GetErrorText());
    ASSERT_EQ(1, device.Load("type=ir\n", 0, FALSE));
    EXPECT_EQ(0, device.Save("Z:\\no\\such\\folder\\tv.cde"));
    EXPECT_EQ("Couldn't open device file  Z:\\no\\such\\folder\\tv.cde", device.GetErrorText());
}

TEST(DeviceFile, CodesAreAddedDeletedAndNamed)
{
    CQuietDevice device;
    device.AddCode("0101", "Power");
    device.AddCode("0110", "Mute");
    EXPECT_EQ("power", device.GetCode(0).name);
    EXPECT_FALSE(device.DeleteCode(2));
    EXPECT_FALSE(device.DeleteCode(-1));
    EXPECT_TRUE(device.DeleteCode(0));
    ASSERT_EQ(1, device.GetNumCodes());
    EXPECT_EQ("mute", device.GetCode(0).name);
    EXPECT_EQ("vol_up_a_b_c_d_e_f", MakeCodeName("Vol Up:A[B]C/tD/nE/rF"));
}

} // namespace
