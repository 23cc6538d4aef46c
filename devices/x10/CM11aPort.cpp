#include "devices/x10/CM11aPort.h"

#include <ctype.h>
#include <stdio.h>
#include <stdlib.h>

#include "devices/util/HexText.h"
#include "devices/util/TextFields.h"

namespace {

const int kBaudRate = 4800;
// No flow control; small queues.
const SerialSetup kLineSetup = {2048, false, 100, false};
const int kMaxTries = 6;
// Clock frames start here, so each of them is sent once.
const int kClockTries = 5;
const time_t kAnswerSeconds = 5;
const int kHouses = 16;
const int kMaxUnit = 16;

// Bytes of the CM11a serial protocol.
const BYTE kAddressHeader = 0x04;
const BYTE kFunctionHeader = 0x06;
const BYTE kExtendedHeader = 0x07;
const BYTE kExtendedFunction = 7;
const BYTE kChecksumRight = 0x00;
const BYTE kPoll = 0x5A;
const BYTE kPollAnswer = 0xC3;
const BYTE kClockRequest = 0xA5;
const BYTE kClockHeader = 0x9B;
const BYTE kClockFlags = 0x60;
const BYTE kReady = 0x55;
const BYTE kStatusRequest = 0x8B;
const int kStatusBytes = 14;
const int kVersionByte = 7;
const int kMaxUpload = 9;
// Bytes taken from the line in one call: a line full of noise still leaves the
// monitoring thread to the other ports.
const int kMaxBytesPerCall = 64;

// The X10 code of house "a".."p" or of unit 1-16, by index.
const BYTE kX10Codes[kHouses] = {6, 14, 2, 10, 1, 9, 5, 13, 7, 15, 3, 11, 0, 8, 4, 12};

int DecodeX10(int code)
{
    for (int i = 0; i < kHouses; ++i)
        if (kX10Codes[i] == code)
            return i;
    return 0;
}

time_t SystemSeconds()
{
    return time(nullptr);
}

enum Action
{
    kRaw,
    kFunction,        // address frames, then the function
    kLevelFunction,   // the same, with the level in the function frame
    kExtendedCode,
    kNothing,
    kAddressOnly,
    kStatus
};

// How an uploaded function reports its arguments.
enum Values
{
    kHouseLetter,
    kUnits,
    kUnitsAndByte,
    kUnitsAndTwoBytes,
    kLastUnit
};

} // namespace

struct CCM11aPort::FunctionWord
{
    const char* word;
    Action action;
    int function;
};

// Matched as substrings in this order: the first match decides.
const CCM11aPort::FunctionWord CCM11aPort::kFunctionWords[] = {
    {"raw", kRaw, 0},
    {"all_units_off", kFunction, 0},
    {"all_lights_on", kFunction, 1},
    {"all_lights_off", kFunction, 6},
    {"ext_code", kExtendedCode, kExtendedFunction},
    {"hail_req", kFunction, 8},
    {"hail_ack", kFunction, 9},
    {"ps_dim1", kFunction, 10},
    {"ps_dim2", kFunction, 11},
    {"ext_data", kNothing, 0},
    {"status_on", kFunction, 13},
    {"status_off", kFunction, 14},
    {"status_req", kFunction, 15},
    {"bright", kLevelFunction, 5},
    {"dim", kLevelFunction, 4},
    {"off", kFunction, 3},
    {"on", kFunction, 2},
    {"addr", kAddressOnly, 0},
    {"status", kStatus, 0},
};

struct CCM11aPort::UploadFunction
{
    const char* word;
    Values values;
};

// By X10 function code.
const CCM11aPort::UploadFunction CCM11aPort::kUploadFunctions[16] = {
    {"all_units_off", kHouseLetter},
    {"all_lights_on", kHouseLetter},
    {"on", kUnits},
    {"off", kUnits},
    {"dim", kUnitsAndByte},
    {"bright", kUnitsAndByte},
    {"all_lights_off", kHouseLetter},
    {"ext_code", kUnitsAndTwoBytes},
    {"hail_req", kUnits},
    {"hail_ack", kUnits},
    {"ps_dim1", kUnitsAndByte},
    {"ps_dim2", kUnitsAndByte},
    {"ext_data", kUnitsAndTwoBytes},
    {"status_on", kLastUnit},
    {"status_off", kLastUnit},
    {"status_req", kUnits},
};

CCM11aPort::CCM11aPort(int comPort, BOOL messageBox)
    : m_openFailed(FALSE), m_functionSeen(FALSE), m_house(0), m_lastUnit(1),
      m_awaitingChecksum(FALSE), m_awaitingUpload(FALSE), m_ready(TRUE), m_awaitingStatus(FALSE),
      m_lastTransmit(0), m_expectedChecksum(0), m_version(0), m_baudRate(kBaudRate),
      m_comPort(comPort), m_line(m_error, kLineSetup), m_clock(SystemSeconds)
{
    m_error.m_messageBox = messageBox;
    m_openFailed = !m_line.Open(comPort, kBaudRate);
}

BOOL CCM11aPort::Write(const BYTE* bytes, int n)
{
    return m_line.Write(bytes, n);
}

CString CCM11aPort::GetQueueHead()
{
    CSingleLock lock(&m_queueLock, TRUE);
    if (m_queue.empty())
        return CString();
    return FormatHex(m_queue.front().bytes.data(), int(m_queue.front().bytes.size()));
}

X10Frame CCM11aPort::NewFrame(const BYTE* bytes, int n, BOOL expectsChecksum)
{
    return X10Frame{std::vector<BYTE>(bytes, bytes + n), expectsChecksum, FALSE, 0};
}

void CCM11aPort::Queue(const X10Frame& frame, bool atFront)
{
    CSingleLock lock(&m_queueLock, TRUE);
    m_queue.insert(atFront ? m_queue.begin() : m_queue.end(), frame);
}

int CCM11aPort::SendCommand(const char* command)
{
    CString text(command);
    text.MakeLower();
    int open = text.Find('[');
    int close = text.Find(']');
    if (open < 0 || close < 0)
        return 1;
    CString word = text.Left(open);
    CString args = close > open ? text.Mid(open + 1, close - open - 1) : CString();

    const FunctionWord* match = nullptr;
    for (const FunctionWord& entry : kFunctionWords) {
        if (word.Find(entry.word) >= 0) {
            match = &entry;
            break;
        }
    }
    if (!match || match->action == kNothing)
        return 1;
    if (match->action == kRaw) {
        std::vector<BYTE> bytes = HexTextToBytes(args);
        if (!bytes.empty())
            Queue(NewFrame(bytes.data(), int(bytes.size()), TRUE));
        return 1;
    }
    if (match->action == kStatus) {
        X10Frame frame = NewFrame(&kStatusRequest, 1, FALSE);
        frame.expectsStatus = TRUE;
        Queue(frame);
        return 1;
    }

    Address address;
    if (!ParseAddress(args, address))
        return 1;
    QueueAddressFrames(address);
    BYTE houseCode = kX10Codes[address.house] << 4;
    if (match->action == kExtendedCode) {
        BYTE frame[] = {kExtendedHeader, BYTE(houseCode + kExtendedFunction), BYTE(address.level),
                        BYTE(address.command)};
        Queue(NewFrame(frame, sizeof frame, TRUE));
    } else if (match->action != kAddressOnly) {
        int level = match->action == kLevelFunction ? address.level : 0;
        BYTE frame[] = {BYTE((level << 3) + kFunctionHeader), BYTE(houseCode + match->function)};
        Queue(NewFrame(frame, sizeof frame, TRUE));
    }
    return 1;
}

// "units[,level[,command]]": units are a house letter with an optional unit
// number 1-16, separated by "|", "&" or blanks, all of one house.
BOOL CCM11aPort::ParseAddress(const CString& args, Address& address)
{
    address.house = -1;
    address.units.clear();
    address.level = int(strtol(GetField(args, 1), nullptr, 10));
    address.command = int(strtol(GetField(args, 2), nullptr, 10));

    CString units = GetField(args, 0);
    units.Replace('|', ' ');
    units.Replace('&', ' ');
    const char* p = units;
    while (*p) {
        while (*p == ' ')
            ++p;
        const char* element = p;
        while (*p && *p != ' ')
            ++p;
        if (*element < 'a' || *element >= 'a' + kHouses)
            continue;
        int house = *element - 'a';
        if (address.house >= 0 && address.house != house)
            return m_error.Fail("Multiple housecodes not allowed in an address.");
        address.house = house;
        // The number must follow the letter: a blank would start the next element.
        long unit = isdigit(BYTE(element[1])) ? strtol(element + 1, nullptr, 10) : 0;
        if (unit >= 1 && unit <= kMaxUnit)
            address.units.push_back(int(unit));
    }
    if (address.house < 0)
        return m_error.Fail("Command contains no housecode.");
    return TRUE;
}

void CCM11aPort::QueueAddressFrames(const Address& address)
{
    BYTE houseCode = kX10Codes[address.house] << 4;
    for (int unit : address.units) {
        BYTE frame[] = {kAddressHeader, BYTE(houseCode + kX10Codes[unit - 1])};
        Queue(NewFrame(frame, sizeof frame, TRUE));
    }
}

// The interface lost its clock (power failure): the local time goes first.
void CCM11aPort::QueueClock()
{
    if (ClockQueued())
        return;
    time_t now = m_clock();
    tm local;
    localtime_r(&now, &local);
    BYTE clock[] = {BYTE(local.tm_sec), BYTE((local.tm_hour % 2) * 60 + local.tm_min),
                    BYTE(local.tm_hour / 2), BYTE(local.tm_yday + 1), 0, kClockFlags};
    X10Frame time = NewFrame(clock, sizeof clock, TRUE);
    X10Frame header = NewFrame(&kClockHeader, 1, FALSE);
    time.tries = kClockTries;
    header.tries = kClockTries;
    Queue(time, true);
    Queue(header, true);
}

bool CCM11aPort::ClockQueued()
{
    CSingleLock lock(&m_queueLock, TRUE);
    return !m_queue.empty() && m_queue.front().bytes.size() == 1 && m_queue.front().bytes[0] == kClockHeader;
}

void CCM11aPort::DropFrontLocked()
{
    CSingleLock lock(&m_queueLock, TRUE);
    DropFront();
}

// Called under the queue lock.
void CCM11aPort::DropFront()
{
    if (m_queue.empty())
        return;
    m_queue.erase(m_queue.begin());
}

void CCM11aPort::Transmit()
{
    CSingleLock lock(&m_queueLock, TRUE);
    if (!m_queue.empty()) {
        X10Frame& frame = m_queue.front();
        if (frame.tries < kMaxTries) {
            if (frame.expectsChecksum) {
                int sum = 0;
                for (BYTE b : frame.bytes)
                    sum += b;
                m_expectedChecksum = sum & 0xFF;
                m_awaitingChecksum = TRUE;
                m_ready = FALSE;
            } else if (frame.expectsStatus) {
                m_awaitingStatus = TRUE;
                m_ready = FALSE;
            }
            Write(frame.bytes.data(), int(frame.bytes.size()));
            m_lastTransmit = m_clock();
            ++frame.tries;
            if (!frame.expectsChecksum)
                DropFront();
        } else {
            DropFront();
            m_awaitingChecksum = FALSE;
            m_ready = TRUE;
        }
    }
}

int CCM11aPort::ReadEvents(CString& out, int step)
{
    // A status reply that never comes would otherwise stop the queue for good.
    if ((m_awaitingChecksum || m_awaitingUpload || m_awaitingStatus) &&
        m_clock() - m_lastTransmit > kAnswerSeconds) {
        if (m_awaitingChecksum)
            DropFrontLocked();
        m_awaitingChecksum = FALSE;
        m_awaitingUpload = FALSE;
        m_awaitingStatus = FALSE;
        m_ready = TRUE;
    }
    bool came = false;
    BYTE byte;
    for (int n = 0; n < kMaxBytesPerCall && m_line.ReadByte(byte, step); ++n) {
        came = true;
        HandleByte(byte, out, step);
    }
    if (m_ready && !came)
        Transmit();
    return 1;
}

void CCM11aPort::HandleByte(BYTE byte, CString& out, int step)
{
    if (m_awaitingChecksum) {
        m_awaitingChecksum = FALSE;
        OnChecksum(byte);
    } else if (m_awaitingUpload && byte <= kMaxUpload) {
        m_awaitingUpload = FALSE;
        m_ready = TRUE;
        ReadUpload(byte, out, step);
    } else if (m_awaitingStatus) {
        m_awaitingStatus = FALSE;
        m_ready = TRUE;
        ReadStatus(byte, out, step);
    } else if (byte == kReady) {
        m_ready = TRUE;
    } else if (byte == kClockRequest) {
        m_ready = TRUE;
        QueueClock();
    } else if (byte == kPoll) {
        AskForUpload();
    }
}

void CCM11aPort::OnChecksum(BYTE byte)
{
    if (byte == m_expectedChecksum) {
        Write(&kChecksumRight, 1);
        DropFrontLocked();
    } else if (byte == kPoll) {
        AskForUpload();
    } else {
        Transmit();
    }
}

void CCM11aPort::AskForUpload()
{
    Write(&kPollAnswer, 1);
    m_awaitingUpload = TRUE;
    m_ready = FALSE;
    m_lastTransmit = m_clock();
}

// length counts the mask byte and the data bytes.
void CCM11aPort::ReadUpload(int length, CString& out, int step)
{
    BYTE upload[kMaxUpload];
    int got = m_line.ReadExact(upload, length, step, length * step);
    if (got < length) {
        m_error.Fail("CM11a upload cut short: %d of %d bytes came", got, length);
        return;
    }
    DecodeUpload(upload, length, out);
}

void CCM11aPort::ReadStatus(BYTE first, CString& out, int step)
{
    BYTE reply[kStatusBytes];
    reply[0] = first;
    int got = m_line.ReadExact(reply + 1, kStatusBytes - 1, step, (kStatusBytes - 1) * step);
    if (got < kStatusBytes - 1) {
        m_error.Fail("CM11a status reply cut short: %d of %d bytes came", got + 1, kStatusBytes);
        return;
    }
    out += " status[" + FormatHex(reply, kStatusBytes) + "]";
    m_version = reply[kVersionByte] & 0x0F;
}

CString CCM11aPort::UnitsText() const
{
    CString text;
    char item[8];
    for (int unit : m_units) {
        snprintf(item, sizeof item, "%c%d", 'a' + m_house, unit);
        if (!text.IsEmpty())
            text += ' ';
        text += item;
    }
    if (text.IsEmpty())
        text = char('a' + m_house);
    return text;
}

// bytes[0] is the mask: bit i set means data byte i (from bytes[1]) is a
// function, else an address. Functions with values take them from the data
// bytes that follow, which the walk then skips.
void CCM11aPort::DecodeUpload(const BYTE* bytes, int n, CString& out)
{
    BYTE mask = bytes[0];
    for (int i = 1; i < n; ++i) {
        int house = DecodeX10(bytes[i] >> 4);
        if (!((mask >> (i - 1)) & 1)) {
            if (m_functionSeen || house != m_house)
                m_units.clear();
            m_functionSeen = FALSE;
            m_house = house;
            m_lastUnit = DecodeX10(bytes[i] & 0x0F) + 1;
            m_units.push_back(m_lastUnit);
            continue;
        }
        if (house != m_house) {
            m_units.clear();
            m_house = house;
        }
        m_functionSeen = TRUE;
        const UploadFunction& function = kUploadFunctions[bytes[i] & 0x0F];
        int values = function.values == kUnitsAndByte ? 1 : function.values == kUnitsAndTwoBytes ? 2 : 0;
        if (i + values >= n) {
            m_error.Fail("CM11a upload cut short: %s lacks its data bytes", function.word);
            return;
        }
        CString text;
        switch (function.values) {
        case kHouseLetter:
            text.Format(" %s[%c]", function.word, 'a' + m_house);
            break;
        case kUnits:
            text.Format(" %s[%s]", function.word, static_cast<const char*>(UnitsText()));
            break;
        case kUnitsAndByte:
            text.Format(" %s[%s,%d]", function.word, static_cast<const char*>(UnitsText()),
                        bytes[i + 1]);
            break;
        case kUnitsAndTwoBytes:
            text.Format(" %s[%s,%d,%d]", function.word, static_cast<const char*>(UnitsText()),
                        bytes[i + 1], bytes[i + 2]);
            break;
        case kLastUnit:
            text.Format(" %s[%c%d]", function.word, 'a' + m_house, m_lastUnit);
            break;
        }
        out += text;
        i += values;
    }
}
