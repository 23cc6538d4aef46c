// One device definition: what kind of equipment it is, on which unit and ports
// it sits, how its IR codes are timed and its table of named codes. Loaded from
// a device definition file (*.cde) or the same text in memory, and written back
// by the device-file editor. It turns command words into LOWLEVEL text for the
// interface unit and decodes received IR timings with its timing patterns.
#pragma once

#include <afx.h>

#include <atomic>
#include <vector>

#include "devices/util/Error.h"
#include "devices/manager/TextCallback.h"
#include "devices/timer/TimerList.h"

struct DeviceCode
{
    CString data;   // bit text, symbol text or raw IR timings, by device type
    CString name;   // lower case
};

struct IRPattern
{
    std::vector<double> durations;   // us; marks positive, spaces negative
    double total = 0;                // sum of the magnitudes
    char symbol = 'X';               // "0"-"3", "S", "E", "P", "Z"; "X" when empty
};

class CDevice
{
public:
    // The IR timing texts, in the order their patterns are built.
    enum Timing
    {
        kPause,
        kSleep,
        kZero,
        kOne,
        kTwo,
        kThree,
        kStart,
        kStartAlt,
        kStop,
        kTimings
    };
    enum { kMaxPatterns = 9 };
    // The most symbols one received code decodes to; the longest codes in use
    // have a few hundred.
    enum { kMostSymbols = 1024 };

    CDevice();
    ~CDevice();
    CDevice(const CDevice&) = delete;
    CDevice& operator=(const CDevice&) = delete;

    // Loading: 1 on success, 0 with the reason in the error text (reported).
    int Load(const char* fileOrText, int deviceNumber, BOOL fromFile);
    int ReadDeviceFile(const char* fileOrText, int deviceNumber, BOOL fromFile);
    int ParseDeviceText(const char* text, BOOL fromFile, int deviceNumber);
    int Save(const char* file);

    int AddCode(const char* data, const char* name);
    BOOL DeleteCode(int n);

    // Sending and receiving
    int BuildPatterns();
    // LOWLEVEL text for a command, empty when the command is not recognised.
    CString ComposeCommand(const char* command);
    CString BuildIRTimings(const char* symbols);
    // Symbols decoded from received IR timings, at most kMostSymbols; score gets
    // the mean step score.
    CString MatchPattern(const char* data, double* score);
    // Timer devices: sets or clears an alarm; false for other devices. A
    // refused alarm leaves its reason in reason when given.
    bool TimerCommand(const char* command, CString* reason = nullptr);
    // Due alarm texts, each handed to the listener and returned behind a blank.
    CString PollTimers();
    // True when code n's prefix + data + suffix opens the received symbols.
    BOOL CodeMatches(int n, const char* symbols) const;
    // Length of code n's prefix + data + suffix.
    int PatternLength(int n) const;
    // Length of the leading run of symbols of that pattern: its fixed part.
    // Letters behind it stand for the variable fields a received code carries.
    int LeadLength(int n) const;

    // The device-file editor's changes. Timing changes count for decoding once
    // BuildPatterns has run.
    void SetTypeWord(const char* type);
    void SetDescriptionText(const char* text) { m_description = text; }
    void SetCarrierHz(double carrier) { m_carrier = carrier; }
    void SetTimingText(Timing t, const char* text) { m_timings[t] = text; }
    void SetRepeatCount(int repeat) { m_repeat = repeat; }
    void SetTolerance(double tolerance) { m_tolerance = tolerance; }
    // Code n's data and name (lower-cased as AddCode does); false when out of range.
    BOOL SetCode(int n, const char* data, const char* name);
    // Drops every prefix and suffix line, so that they are neither applied nor saved.
    void ClearPrefixAndSuffix();

    const CString& GetType() const { return m_type; }
    double GetCarrier() const { return m_carrier; }
    CString GetDescription() const { return m_description; }
    const CString& GetName() const { return m_name; }
    void SetName(const char* name) { m_name = name; }
    int GetUnit() const { return m_unit; }
    void SetUnit(int unit) { m_unit = unit; }
    int GetPortMask() const { return m_portMask; }
    void SetPortMask(int mask) { m_portMask = mask; }
    const CString& GetGroup() const { return m_group; }
    const CString& GetPrefix() const { return m_prefix; }
    const CString& GetSuffix() const { return m_suffix; }
    // Every prefix and suffix line read, in order; the kept ones come from these.
    const std::vector<CString>& GetPrefixLines() const { return m_prefixLines; }
    const std::vector<CString>& GetSuffixLines() const { return m_suffixLines; }
    CString GetTiming(Timing t) const { return m_timings[t]; }
    int GetRepeat() const { return m_repeat; }
    int GetNumCodes() const { return int(m_codes.size()); }
    const DeviceCode& GetCode(int n) const { return m_codes[n]; }
    int GetNumPatterns() const { return m_numPatterns; }
    const IRPattern& GetPattern(int n) const { return m_patterns[n]; }
    int GetScoringMode() const { return m_scoringMode; }
    BOOL MayReceive() const { return m_mayReceive; }
    BOOL MayTransmit() const { return m_mayTransmit; }
    BOOL IsCM11a() const { return m_cm11a; }
    BOOL IsKelto() const { return m_kelto; }
    BOOL IsTimer() const { return m_timer; }
    CError& GetError() { return m_error; }
    CString GetErrorText() const { return m_error.m_text; }
    // Raised by whoever uses the device on another thread than its owner's.
    void AddUse() { ++m_inUse; }
    // The count left.
    LONG ReleaseUse() { return --m_inUse; }
    // Receives the device's event texts, before its user's listener.
    const TextCallback& GetListener() const { return m_listener; }
    void SetListener(const TextCallback& listener) { m_listener = listener; }

private:
    struct KeywordRule;
    static const KeywordRule kKeywords[];

    int MatchLead(int n, const char* symbols) const;
    int ParseLine(CString line, BOOL fromFile, int deviceNumber);
    int SetDescription(const CString& value, int deviceNumber, int slot);
    int SetNameValue(const CString& value, int deviceNumber, int slot);
    int SetGroup(const CString& value, int deviceNumber, int slot);
    int SetCarrier(const CString& value, int deviceNumber, int slot);
    int SetRepeat(const CString& value, int deviceNumber, int slot);
    int SetTiming(const CString& value, int deviceNumber, int slot);
    int AddPrefix(const CString& value, int deviceNumber, int slot);
    int AddSuffix(const CString& value, int deviceNumber, int slot);
    int Include(const CString& value, int deviceNumber, int slot);
    CString ResolvePath(const char* name) const;
    int SetTypeValue(const CString& value, int deviceNumber, int slot);
    BOOL ApplyType();
    void WriteSettings(CString& out) const;
    CString CarrierText() const;
    int ChoosePattern(std::vector<double>& received, size_t& p, bool startSeen,
                      double& score) const;
    double PatternScore(const std::vector<double>& received, size_t p,
                        const IRPattern& pattern) const;

    CString m_type;
    double m_carrier;
    CString m_description;
    std::vector<DeviceCode> m_codes;
    CError m_error;
    BOOL m_mayReceive;
    BOOL m_mayTransmit;
    BOOL m_cm11a;
    BOOL m_kelto;
    BYTE m_timer;
    CTimerList* m_timerList;   // timer devices only
    std::atomic<LONG> m_inUse;
    TextCallback m_listener;
    CString m_name;
    int m_unit;
    int m_portMask;
    CString m_prefix;
    CString m_suffix;
    std::vector<CString> m_prefixLines;
    std::vector<CString> m_suffixLines;
    CString m_timings[kTimings];
    int m_repeat;
    int m_startToggle;
    double m_tolerance;
    IRPattern m_patterns[kMaxPatterns];
    int m_numPatterns;
    int m_scoringMode;
    CString m_group;
    // Full paths of the files being read, innermost last: relative includes
    // are taken from the innermost's folder, and an include of one of them
    // would never end.
    std::vector<CString> m_reading;
    bool m_stopLoading;
};

// A text made fit to be a code name: lower case, and every blank, ":", "[",
// "]" and every "/t", "/n", "/r" replaced by "_".
CString MakeCodeName(const char* text);
