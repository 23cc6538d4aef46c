// Loading a device definition from a *.cde file or text, and saving it.
#include "devices/manager/Device.h"

#include "platform/runtime/FileReplacement.h"

#include <math.h>
#include <stdlib.h>
#include <string.h>

#include "devices/port/LowLevelText.h"

namespace {

const char kDefaultName[] = "dev1";
const char kDefaultDescription[] = "Unknown";
const double kNoCarrier = -1.0;
const int kNoRepeat = -1;
const int kMostRepeats = 1000;
const double kTolerance = 0.3;
// The interface unit's shortest sample period: it can neither send nor receive
// a shorter duration, and a pattern that short would cut every received
// duration into countless symbols.
const double kShortestTimingUs = 49;

const char* const kTimingKeywords[CDevice::kTimings] = {
    "pause", "sleep", "zero", "one", "two", "three", "start", "startalt", "stop",
};

// The timing keys written for each kind of IR device, in file order.
const CDevice::Timing kIRTimingOrder[] = {
    CDevice::kPause, CDevice::kSleep, CDevice::kZero, CDevice::kOne, CDevice::kTwo,
    CDevice::kThree, CDevice::kStart, CDevice::kStartAlt, CDevice::kStop,
};

struct TypeRule
{
    const char* type;
    bool receive;
    bool transmit;
};

const TypeRule kTypes[] = {
    {"cm11a", false, false}, {"devrx", true, false}, {"devrxtx", true, true},
    {"devtx", false, true}, {"kelto", false, false}, {"ir", false, false},
    {"irtxonly", false, false}, {"lowlevel", false, false}, {"timer", false, false},
    {"tavlin", false, false},
};

bool ReadWholeFile(const char* path, CString& text)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD size = GetFileSize(file, nullptr);
    bool read = size != INVALID_FILE_SIZE;
    if (read && size > 0) {
        DWORD got = 0;
        char* buffer = text.GetBufferSetLength(int(size));
        read = ReadFile(file, buffer, size, &got, nullptr) && got == size;
        text.ReleaseBuffer(read ? int(size) : 0);
    }
    CloseHandle(file);
    return read;
}

// The text before and behind the first separator, each trimmed of white space.
bool SplitTrimmed(const CString& line, char separator, CString& before, CString& behind)
{
    int at = line.Find(separator);
    if (at < 0)
        return false;
    before = line.Left(at);
    behind = line.Mid(at + 1);
    before.TrimLeft();
    before.TrimRight();
    behind.TrimLeft();
    behind.TrimRight();
    return true;
}

// A name that starts from no folder of its own: not "\\x", "/x" or "C:...".
bool IsRelative(const CString& name)
{
    return !name.IsEmpty() && name[0] != '\\' && name[0] != '/' &&
           !(name.GetLength() > 1 && name[1] == ':');
}

CString FullPath(const char* path)
{
    char full[MAX_PATH];
    DWORD length = GetFullPathNameA(path, sizeof full, full, nullptr);
    return length > 0 && length < sizeof full ? CString(full) : CString(path);
}

} // namespace

// The handler of a keyword: slot is the timing text it sets, where it sets one.
struct CDevice::KeywordRule
{
    const char* keyword;
    int (CDevice::*handler)(const CString& value, int deviceNumber, int slot);
    int slot;
};

// Tested in this order; the first keyword equal to the line's wins.
const CDevice::KeywordRule CDevice::kKeywords[] = {
    {"desc", &CDevice::SetDescription, 0},
    {"name", &CDevice::SetNameValue, 0},
    {"group", &CDevice::SetGroup, 0},
    {"carrier", &CDevice::SetCarrier, 0},
    {"repeat", &CDevice::SetRepeat, 0},
    {"pause", &CDevice::SetTiming, kPause},
    {"sleep", &CDevice::SetTiming, kSleep},
    {"zero", &CDevice::SetTiming, kZero},
    {"one", &CDevice::SetTiming, kOne},
    {"two", &CDevice::SetTiming, kTwo},
    {"three", &CDevice::SetTiming, kThree},
    {"start", &CDevice::SetTiming, kStart},
    {"startalt", &CDevice::SetTiming, kStartAlt},
    {"stop", &CDevice::SetTiming, kStop},
    {"prefix", &CDevice::AddPrefix, 0},
    {"suffix", &CDevice::AddSuffix, 0},
    {"include", &CDevice::Include, 0},
    {"type", &CDevice::SetTypeValue, 0},
};

CDevice::CDevice()
    : m_carrier(kNoCarrier), m_description(kDefaultDescription), m_mayReceive(FALSE),
      m_mayTransmit(FALSE), m_cm11a(FALSE), m_kelto(FALSE), m_timer(0), m_timerList(nullptr), m_inUse(0),
      m_name(kDefaultName), m_unit(-1), m_portMask(0), m_repeat(kNoRepeat), m_startToggle(0),
      m_tolerance(kTolerance), m_numPatterns(0), m_scoringMode(0), m_stopLoading(false)
{
}

// The device manager frees a device only after its last use has been released.
CDevice::~CDevice()
{
    delete m_timerList;
}

bool CDevice::TimerCommand(const char* command, CString* reason)
{
    return m_timerList && m_timerList->Command(command, reason);
}

CString CDevice::PollTimers()
{
    CString result;
    if (!m_timerList)
        return result;
    for (CString due; !(due = m_timerList->NextDue()).IsEmpty();) {
        CString text = m_name + ":" + due;
        if (m_listener.object)
            m_listener.Invoke(text);
        result += text + " ";
    }
    return result;
}

int CDevice::Load(const char* fileOrText, int deviceNumber, BOOL fromFile)
{
    m_stopLoading = false;
    if (!ReadDeviceFile(fileOrText, deviceNumber, fromFile) || !BuildPatterns())
        return 0;
    if (deviceNumber != 0 && int(m_prefixLines.size()) <= deviceNumber &&
        int(m_suffixLines.size()) <= deviceNumber)
        return m_error.Fail("Error loading device: couldn't find prefixes / suffixes for device #%d",
                            deviceNumber);
    if (!ApplyType())
        return m_error.Fail("Error loading device: improper / no device type specified (must be CM11a, "
                            "DEVRX, DEVRXTX, DEVTX, KELTO, IR, IRTXONLY, LOWLEVEL, TIMER, or TAVLIN)");
    return 1;
}

BOOL CDevice::ApplyType()
{
    m_mayReceive = FALSE;
    m_mayTransmit = FALSE;
    for (const TypeRule& rule : kTypes) {
        if (m_type != rule.type)
            continue;
        m_mayReceive = rule.receive;
        m_mayTransmit = rule.transmit;
        m_cm11a = m_type == "cm11a";
        m_kelto = m_type == "kelto";
        m_timer = m_type == "timer";
        if (m_timer && !m_timerList)
            m_timerList = new CTimerList;
        return TRUE;
    }
    return FALSE;
}

int CDevice::ReadDeviceFile(const char* fileOrText, int deviceNumber, BOOL fromFile)
{
    if (!fromFile)
        return ParseDeviceText(fileOrText, fromFile, deviceNumber);
    CString full = ResolvePath(fileOrText);
    CString text;
    if (!ReadWholeFile(full, text))
        return m_error.Fail("Couldn't open device file %s", fileOrText);
    m_reading.push_back(full);
    int parsed = ParseDeviceText(text, fromFile, deviceNumber);
    m_reading.pop_back();
    return parsed;
}

int CDevice::ParseDeviceText(const char* text, BOOL fromFile, int deviceNumber)
{
    const char* line = text;
    while (*line) {
        const char* end = strchr(line, '\n');
        int length = end ? int(end - line) : int(strlen(line));
        if (!ParseLine(CString(line, length), fromFile, deviceNumber))
            return 0;
        line += end ? length + 1 : length;
    }
    return 1;
}

int CDevice::ParseLine(CString line, BOOL fromFile, int deviceNumber)
{
    line.TrimRight('\r');
    line.MakeLower();
    int comment = line.Find('#');
    if (comment >= 0)
        line = line.Left(comment);
    CString keyword;
    CString value;
    if (SplitTrimmed(line, '=', keyword, value)) {
        for (const KeywordRule& rule : kKeywords) {
            if (keyword == rule.keyword) {
                if (rule.handler == &CDevice::Include && !fromFile)
                    return 1;
                return (this->*rule.handler)(value, deviceNumber, rule.slot);
            }
        }
        return m_error.Fail("Unknown keyword [%s] reading device file", static_cast<const char*>(keyword));
    }
    CString data;
    CString name;
    if (SplitTrimmed(line, ':', data, name))
        AddCode(data, name);
    return 1;
}

int CDevice::SetDescription(const CString& value, int, int)
{
    m_description = value;
    return 1;
}

int CDevice::SetNameValue(const CString& value, int, int)
{
    m_name = value;
    return 1;
}

int CDevice::SetGroup(const CString& value, int, int)
{
    m_group = value;
    return 1;
}

int CDevice::SetCarrier(const CString& value, int, int)
{
    m_carrier = strtod(value, nullptr);
    return 1;
}

// Every repetition is composed into the IR text, so a count without bound would
// make the text grow without bound.
int CDevice::SetRepeat(const CString& value, int, int)
{
    long repeat = strtol(value, nullptr, 10);
    if (repeat > kMostRepeats)
        return m_error.Fail("%ld is to many repetitions (%d is the most)", repeat, kMostRepeats);
    m_repeat = repeat < kNoRepeat ? kNoRepeat : int(repeat);
    return 1;
}

int CDevice::SetTiming(const CString& value, int, int slot)
{
    for (double duration : ParseIRTimings(value)) {
        if (fabs(duration) < kShortestTimingUs)
            return m_error.Fail("%s=%s holds %gus, less than one sample period (%.0lfus is the shortest)",
                                kTimingKeywords[slot], static_cast<const char*>(value), duration,
                                kShortestTimingUs);
    }
    m_timings[slot] = value;
    return 1;
}

// Line k is kept while k <= the device number: the line at the device number's
// position, or the last when there are fewer. Every line is remembered for saving.
static void AddNumberedLine(const CString& value, int deviceNumber, std::vector<CString>& lines,
                            CString& kept)
{
    if (int(lines.size()) <= deviceNumber)
        kept = value;
    lines.push_back(value);
}

int CDevice::AddPrefix(const CString& value, int deviceNumber, int)
{
    AddNumberedLine(value, deviceNumber, m_prefixLines, m_prefix);
    return 1;
}

int CDevice::AddSuffix(const CString& value, int deviceNumber, int)
{
    AddNumberedLine(value, deviceNumber, m_suffixLines, m_suffix);
    return 1;
}

// The current folder belongs to the whole process and is never changed: a
// relative name is taken from the folder of the file that names it (the
// current folder for the file loading starts with).
CString CDevice::ResolvePath(const char* name) const
{
    CString path(name);
    if (!m_reading.empty() && IsRelative(path)) {
        const CString& including = m_reading.back();
        path = including.Left(including.ReverseFind('\\') + 1) + path;
    }
    return FullPath(path);
}

// A file that cannot be read is reported and loading goes on; an include of a
// file that is itself being read stops it.
int CDevice::Include(const CString& value, int deviceNumber, int)
{
    CString full = ResolvePath(value);
    for (const CString& reading : m_reading) {
        if (reading.CompareNoCase(full) == 0) {
            m_stopLoading = true;
            return m_error.Fail("Device file %s includes itself", static_cast<const char*>(full));
        }
    }
    ReadDeviceFile(value, deviceNumber, TRUE);
    return m_stopLoading ? 0 : 1;
}

int CDevice::SetTypeValue(const CString& value, int, int)
{
    m_type = value;
    m_type.MakeLower();
    return 1;
}

int CDevice::AddCode(const char* data, const char* name)
{
    DeviceCode code;
    code.data = data;
    code.name = name;
    code.name.MakeLower();
    m_codes.push_back(code);
    return 1;
}

BOOL CDevice::DeleteCode(int n)
{
    if (n < 0 || n >= int(m_codes.size()))
        return FALSE;
    m_codes.erase(m_codes.begin() + n);
    return TRUE;
}

void CDevice::SetTypeWord(const char* type)
{
    m_type = type;
    m_type.MakeLower();
    ApplyType();
}

BOOL CDevice::SetCode(int n, const char* data, const char* name)
{
    if (n < 0 || n >= int(m_codes.size()))
        return FALSE;
    m_codes[n].data = data;
    m_codes[n].name = name;
    m_codes[n].name.MakeLower();
    return TRUE;
}

void CDevice::ClearPrefixAndSuffix()
{
    m_prefix.Empty();
    m_suffix.Empty();
    m_prefixLines.clear();
    m_suffixLines.clear();
}

CString CDevice::CarrierText() const
{
    CString text;
    text.Format("carrier=%lf\n", m_carrier);
    return text;
}

// Everything a later load needs: an IR device writes all its keys, an IR
// sender its carrier and sleep, and every device any other key it was given.
void CDevice::WriteSettings(CString& out) const
{
    bool ir = m_type == "ir";
    bool sender = m_type == "irtxonly";
    if (m_name != kDefaultName)
        out += "name=" + m_name + "\n";
    if (ir || !m_group.IsEmpty())
        out += "group=" + m_group + "\n";
    if (ir || sender || m_carrier != kNoCarrier)
        out += CarrierText();
    if (ir || m_repeat != kNoRepeat) {
        CString repeat;
        repeat.Format("repeat=%d\n", m_repeat);
        out += repeat;
    }
    for (Timing t : kIRTimingOrder) {
        if (ir || (sender && t == kSleep) || !m_timings[t].IsEmpty())
            out += CString(kTimingKeywords[t]) + "=" + m_timings[t] + "\n";
    }
    for (const CString& prefix : m_prefixLines)
        out += "prefix=" + prefix + "\n";
    for (const CString& suffix : m_suffixLines)
        out += "suffix=" + suffix + "\n";
}

// The definition goes to a new file that replaces the old one only when it is
// written whole.
int CDevice::Save(const char* file)
{
    CFileReplacement replacement(file);
    HANDLE handle = replacement.Begin()
                        ? CreateFileA(replacement.GetTempPath(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr)
                        : INVALID_HANDLE_VALUE;
    if (handle == INVALID_HANDLE_VALUE)
        return m_error.Fail("Couldn't open device file  %s", file);
    CString out = "desc=" + m_description + "\n" + "type=" + m_type + "\n";
    WriteSettings(out);
    for (const DeviceCode& code : m_codes)
        out += code.data + ":" + code.name + "\n";
    DWORD written = 0;
    BOOL wrote = WriteFile(handle, static_cast<const char*>(out), DWORD(out.GetLength()), &written,
                           nullptr) && written == DWORD(out.GetLength());
    CloseHandle(handle);
    if (!wrote || !replacement.Commit())
        return m_error.Fail("Couldn't write device file %s", file);
    return 1;
}

CString MakeCodeName(const char* text)
{
    CString name(text);
    name.MakeLower();
    name.Replace("/t", "_");
    name.Replace("/n", "_");
    name.Replace("/r", "_");
    for (char c : {' ', ':', '[', ']'})
        name.Replace(c, '_');
    return name;
}
