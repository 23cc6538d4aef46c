// Code composition (command words to LOWLEVEL text) and the decoding of
// received IR timings into symbols with the device's timing patterns.
#include "devices/manager/Device.h"

#include <math.h>
#include <string.h>

#include "devices/manager/BitText.h"
#include "devices/port/LowLevelText.h"

namespace {

const char kPatternSymbols[CDevice::kTimings] = {'P', 'Z', '0', '1', '2', '3', 'S', 'S', 'E'};
const int kControlBusMask = 0x00F;
const int kIRMask = 0xFF0;
const int kIRPortShift = 4;
const int kControlBusPorts = 4;
const double kDefaultCarrier = 40000;   // the unit's own default
const char kBusPause[] = "ir[-5000] ";
const char kRawBusPause[] = "ir[-15000] ";
const double kBetterBy = 1.05;        // a pattern must beat the best by 5 %
const double kCloseScores = 0.1;
const double kRemainderFactor = 1.25;
const double kLongGapUs = 5000;
const double kShortLastRatio = 0.3;

// The leading run of characters out of set.
CString LeadingRun(const char* text, const char* set)
{
    return CString(text, int(strspn(text, set)));
}

CString Trimmed(CString text)
{
    text.TrimLeft();
    text.TrimRight();
    return text;
}

// The text between the first "[" and the first "]" behind it, trimmed.
CString Argument(const CString& command)
{
    int open = command.Find('[');
    int close = open < 0 ? -1 : command.Find(']', open);
    return close < 0 ? CString() : Trimmed(command.Mid(open + 1, close - open - 1));
}

} // namespace

int CDevice::BuildPatterns()
{
    m_numPatterns = 0;
    for (int t = 0; t < kTimings; ++t) {
        if (m_timings[t].IsEmpty())
            continue;
        if (m_numPatterns == kMaxPatterns)
            return m_error.Fail("Maximum number of patterns exceed in device file ");
        IRPattern& pattern = m_patterns[m_numPatterns++];
        pattern.durations = ParseIRTimings(m_timings[t]);
        pattern.symbol = kPatternSymbols[t];
        pattern.total = 0;
        for (double d : pattern.durations)
            pattern.total += fabs(d);
    }
    for (int i = m_numPatterns; i < kMaxPatterns; ++i)
        m_patterns[i] = IRPattern();
    std::vector<double> zero = ParseIRTimings(m_timings[kZero]);
    std::vector<double> one = ParseIRTimings(m_timings[kOne]);
    // Symbols that begin with opposite carrier states are scored pair by pair.
    m_scoringMode = !zero.empty() && !one.empty() && zero[0] * one[0] < 0 ? 1 : 0;
    return 1;
}

CString CDevice::ComposeCommand(const char* command)
{
    CString lower(command);
    lower.MakeLower();
    if (m_type == "lowlevel")
        return lower;
    CString word = lower.SpanExcluding("[]");
    if (word == "ir" || word == "flush")
        return lower;
    CString out;
    if (word == "sl" || word == "slb") {
        CString arg = Argument(lower);
        for (int p = 0; p < kControlBusPorts; ++p) {
            if (m_portMask & (1 << p)) {
                CString item;
                item.Format("%s%d[%s] ", static_cast<const char*>(word), p,
                            static_cast<const char*>(arg));
                out += item;
            }
        }
        return out + kRawBusPause;
    }
    const DeviceCode* code = nullptr;
    for (const DeviceCode& c : m_codes) {
        if (c.name == word) {
            code = &c;
            break;
        }
    }
    if (!code)
        return out;
    CString args = Argument(lower);
    if (m_portMask & kControlBusMask) {
        CString bits = LeadingRun(code->data, "01");
        int length = m_prefix.GetLength() + bits.GetLength() + m_suffix.GetLength() +
                     4 * args.GetLength();
        bool bytes = length % 8 == 0;
        CString data = bytes ? BitTextToHex(m_prefix + bits + m_suffix) + args
                             : m_prefix + bits + HexToBitText(args) + m_suffix;
        for (int p = 0; p < kControlBusPorts; ++p) {
            if (m_portMask & (1 << p)) {
                CString item;
                item.Format(bytes ? "sl%d[%s] " : "slb%d[%s] ", p, static_cast<const char*>(data));
                out += item;
            }
        }
        out += kBusPause;
    }
    if (m_portMask & kIRMask) {
        CString timings = m_type == "irtxonly" ? code->data + " " + m_timings[kSleep]
                                               : BuildIRTimings(code->data + args);
        // A definition without a carrier sends at the unit's default one.
        CString item;
        item.Format("carrier[%lf] irtxports[%d] ir[%s] ", m_carrier < 0 ? kDefaultCarrier : m_carrier,
                    m_portMask >> kIRPortShift, static_cast<const char*>(timings));
        out += item;
    }
    return out;
}

CString CDevice::BuildIRTimings(const char* symbols)
{
    static const Timing kSymbolTimings[] = {kZero, kOne, kTwo, kThree};
    CString all = m_prefix + symbols + m_suffix;
    CString body;
    for (int i = 0; i < all.GetLength(); ++i) {
        char c = all[i];
        if (c >= '0' && c <= '3')
            body += " " + m_timings[kSymbolTimings[c - '0']];
    }
    const CString& start = m_startToggle && !m_timings[kStartAlt].IsEmpty() ? m_timings[kStartAlt]
                                                                            : m_timings[kStart];
    m_startToggle = !m_startToggle;
    CString sequence = start + " " + body + " " + m_timings[kStop];
    CString out = sequence;
    for (int i = 0; i < m_repeat; ++i)
        out += " " + m_timings[kPause] + " " + sequence;
    return out + " " + m_timings[kSleep];
}

CString CDevice::MatchPattern(const char* data, double* score)
{
    std::vector<double> received = ParseIRTimings(data);
    CString symbols;
    bool startSeen = false;
    double total = 0;
    int steps = 0;
    size_t p = 0;
    while (p < received.size() && symbols.GetLength() < kMostSymbols) {
        double stepScore;
        int chosen = ChoosePattern(received, p, startSeen, stepScore);
        char symbol = chosen < 0 ? 'X' : m_patterns[chosen].symbol;
        if (symbol == 'E' || symbol == 'P' || symbol == 'Z' || (symbol == 'S' && startSeen))
            break;
        if (symbol == 'S')
            startSeen = true;
        else if (symbol != 'X')
            symbols += symbol;
        total += stepScore;
        ++steps;
    }
    if (score)
        *score = steps ? total / steps : 0;
    return symbols;
}

// The best pattern at p, or -1; moves p to the next symbol. A received duration
// much longer than the pattern's last one keeps its remainder for the next.
int CDevice::ChoosePattern(std::vector<double>& received, size_t& p, bool startSeen,
                           double& score) const
{
    double best = m_tolerance;
    int chosen = -1;
    for (int i = 0; i < m_numPatterns; ++i) {
        const IRPattern& pattern = m_patterns[i];
        if (pattern.symbol == 'S' && startSeen)
            continue;
        double s = PatternScore(received, p, pattern);
        bool longerAndClose = chosen >= 0 &&
                              fabs(s - best) / (fabs(s) + fabs(best)) < kCloseScores &&
                              pattern.total > m_patterns[chosen].total;
        if (s > kBetterBy * best || longerAndClose) {
            best = s;
            chosen = i;
        }
    }
    if (chosen < 0) {
        ++p;
        score = -1;
        return -1;
    }
    const std::vector<double>& q = m_patterns[chosen].durations;
    p += q.size() - 1;
    double last = q.back();
    if (p < received.size() && received[p] * last > 0 &&
        fabs(received[p]) > kRemainderFactor * fabs(last))
        received[p] -= last;
    else
        ++p;
    score = best;
    return chosen;
}

// 1 for a perfect fit, lower the further the received durations from p lie from
// the pattern's; -1 when they begin with the other carrier state.
double CDevice::PatternScore(const std::vector<double>& received, size_t p,
                             const IRPattern& pattern) const
{
    const std::vector<double>& q = pattern.durations;
    if (q.empty() || p >= received.size() || received[p] * q[0] < 0)
        return -1;
    size_t n = received.size() - p < q.size() ? received.size() - p : q.size();
    double num = 0;
    double den = 0;
    double sum = 0;
    for (size_t i = 0; i < n; ++i) {
        double r = fabs(received[p + i]);
        double d = fabs(q[i]);
        double difference = fabs(r - d);
        bool last = i == q.size() - 1;
        if (m_scoringMode == 0) {
            // A long trailing gap fits the pattern's last duration.
            if (last && r > kLongGapUs && r > d) {
                den += d;
            } else {
                num += difference;
                den += (r + d) / 2;
            }
        } else {
            double t = difference / (last ? (r > d ? r : d) : (r < d ? r : d));
            if (last && d / r < kShortLastRatio)
                t /= 2;
            sum += 1 - t;
        }
    }
    if (m_scoringMode == 0)
        return den > 0 ? 1 - num / den : -1;
    return sum / q.size();
}

// Walks the three parts in place: the monitoring thread runs this for every
// code of every device on every received code.
BOOL CDevice::CodeMatches(int n, const char* symbols) const
{
    if (PatternLength(n) > int(strlen(symbols)))
        return FALSE;
    // A pattern without a leading run would otherwise open every received code.
    return MatchLead(n, symbols) > 0;
}

int CDevice::LeadLength(int n) const
{
    return MatchLead(n, nullptr);
}

// The length of the pattern's leading run of fixed symbols ('0' to '3'), or -1 when
// symbols (at least as long as the pattern) does not start with that run.
int CDevice::MatchLead(int n, const char* symbols) const
{
    const CString* parts[] = {&m_prefix, &m_codes[n].data, &m_suffix};
    int lead = 0;
    for (const CString* part : parts) {
        for (int i = 0; i < part->GetLength(); ++i, ++lead) {
            char c = (*part)[i];
            if (c < '0' || c > '3')
                return lead;
            if (symbols && symbols[lead] != c)
                return -1;
        }
    }
    return lead;
}

int CDevice::PatternLength(int n) const
{
    return m_prefix.GetLength() + m_codes[n].data.GetLength() + m_suffix.GetLength();
}
