#include "core/players/ChangerKeypad.h"

#include "core/players/ChangerLink.h"
#include "core/players/ChangerStateStore.h"

#include <ctype.h>
#include <string.h>

namespace {

const char kEF[] = ":sl[EF]";
// The changers of this type take the track key for a blank.
const int kTrackKeyBlankType = 27;

} // namespace

// Front-panel keys and how each is framed.
struct CChangerKeypad::KeyRule
{
    const char* key;
    KeyFamily family;
    const char* lastPause;   // the pause that ends a key with EF
};

const CChangerKeypad::KeyRule CChangerKeypad::kKeys[] = {
    {"disc", kKeyPauseEF, ":ir[-5000] "},
    {"enter", kKeyPauseEF, ":ir[-5000] "},
    {"clear", kKeyPauseEF, ":ir[-5000] "},
    {"memo_input", kKeyPauseEF, ":ir[-5000] "},
    {"memo_scan", kKeyPauseEF, ":ir[-5000] "},
    {"up_arrow", kKeyPauseEF, ":ir[-5000] "},
    {"block", kKeyPauseEF, ":ir[-100000] "},
    {"track", kKeyPauseEF, ":ir[-5000] "},
    {"down_arrow", kKeyEF, ":ir[-5000] "},
    {"left_arrow", kKeyEF, ":ir[-5000] "},
    {"right_arrow", kKeyEF, ":ir[-5000] "},
    {"player_select", kKeyEF, ":ir[-5000] "},
    {"program", kKeyOnly, nullptr},
    {"continue", kKeyOnly, nullptr},
    {"repeat", kKeyOnly, nullptr},
};

BOOL CChangerKeypad::SendKey(const char* key)
{
    const CString& c = m_link.GetAddress().controlDevice;
    const CString& s = m_link.GetAddress().sendDevice;
    for (const KeyRule& rule : kKeys) {
        if (strcmp(rule.key, key) != 0)
            continue;
        if (rule.family == kKeyOnly)
            return m_link.Send(c + ":" + key + " " + s + ":ir[-100000] ");
        if (rule.family == kKeyEF)
            return m_link.Send(c + ":" + key + " " + c + kEF + " " + s + rule.lastPause);
        CString text = c + ":" + key + "  " + s + ":ir[-5000] " + c + kEF + " " + s + rule.lastPause;
        if (strcmp(key, "track") == 0)
            text += " " + s + ":ir[-5000] ";
        return m_link.Send(text);
    }
    return FALSE;
}

BOOL CChangerKeypad::KeyDisc() { return SendKey("disc"); }
BOOL CChangerKeypad::KeyEnter() { return SendKey("enter"); }
BOOL CChangerKeypad::KeyClear() { return SendKey("clear"); }
BOOL CChangerKeypad::KeyMemoInput() { return SendKey("memo_input"); }
BOOL CChangerKeypad::KeyMemoScan() { return SendKey("memo_scan"); }
BOOL CChangerKeypad::KeyUpArrow() { return SendKey("up_arrow"); }
BOOL CChangerKeypad::KeyBlock() { return SendKey("block"); }
BOOL CChangerKeypad::KeyTrack() { return SendKey("track"); }
BOOL CChangerKeypad::KeyDownArrow() { return SendKey("down_arrow"); }
BOOL CChangerKeypad::KeyLeftArrow() { return SendKey("left_arrow"); }
BOOL CChangerKeypad::KeyRightArrow() { return SendKey("right_arrow"); }
BOOL CChangerKeypad::KeyPlayerSelect() { return SendKey("player_select"); }
BOOL CChangerKeypad::KeyProgram() { return SendKey("program"); }
BOOL CChangerKeypad::KeyContinue() { return SendKey("continue"); }
BOOL CChangerKeypad::KeyRepeat() { return SendKey("repeat"); }

BOOL CChangerKeypad::KeyDigit(int digit)
{
    const char* c = m_link.GetAddress().controlDevice;
    const char* s = m_link.GetAddress().sendDevice;
    CString text;
    text.Format("%s:%d  %s:ir[-5000]  %s%s %s:ir[-5000] ", c, digit, s, c, kEF, s);
    return m_link.Send(text);
}

BOOL CChangerKeypad::KeyDiscNumber(int disc)
{
    BOOL sent = KeyDisc();
    if (disc > 99)
        sent = KeyDigit(disc / 100 % 10) && sent;
    if (disc > 9)
        sent = KeyDigit(disc / 10 % 10) && sent;
    return KeyDigit(disc % 10) && sent;
}

void CChangerKeypad::SendOpeningSequence()
{
    const char* const kSteps[][2] = {
        {"9222", "-50000"}, {"9A61FE00", "-50000"}, {"920F", "-50000"}, {"9A700340000100", "-100000"},
    };
    const CString& c = m_link.GetAddress().controlDevice;
    for (const auto& step : kSteps)
        m_link.Send(c + ":sl[" + step[0] + "] " + c + ":ir[" + step[1] + "]");
}

void CChangerKeypad::SendShortClose()
{
    const CString& c = m_link.GetAddress().controlDevice;
    m_link.Send(c + ":sl[920F] " + c + ":ir[-100000]");
}

void CChangerKeypad::KeyPresses(int key, int times)
{
    for (int i = 0; i < times; ++i)
        KeyDigit(key);
}

void CChangerKeypad::KeyCharacter(char ch, int* charMode)
{
    const char kUpper = 0, kLower = 1, kDigits = 2;
    int wanted = *charMode;
    int key = -1;
    int presses = 0;
    bool enter = true;
    if (isalpha(BYTE(ch))) {
        wanted = isupper(BYTE(ch)) ? kUpper : kLower;
        int i = toupper(BYTE(ch)) - 'A';
        if (i == 'Q' - 'A' || i == 'Z' - 'A') {
            key = 0;
            presses = i == 'Q' - 'A' ? 1 : 2;
        } else {
            if (i > 'P' - 'A')
                --i;
            key = i / 3 + 2;
            presses = i % 3 + 1;
        }
    } else if (isdigit(BYTE(ch))) {
        wanted = kDigits;
        key = ch - '0';
        presses = 1;
        enter = false;
    } else if (ch >= 0x21 && ch <= 0x7E) {
        if (wanted == kDigits)
            wanted = kUpper;
        int position = 0;
        for (char c = 0x21; c < ch; ++c)
            position += isalnum(BYTE(c)) ? 0 : 1;
        key = 1;
        presses = position + 1;
    } else {
        enter = false;
    }
    while (*charMode != wanted) {
        KeyDisc();
        *charMode = (*charMode + 1) % 3;
    }
    if (key < 0) {
        // A space.
        if (m_store.Get().typeCode == kTrackKeyBlankType)
            KeyTrack();
        else
            KeyBlock();
        return;
    }
    KeyPresses(key, presses);
    if (enter)
        KeyEnter();
}

void CChangerKeypad::KeyTextField(const char* text)
{
    const int kFieldLength = 13;
    KeyClear();
    int mode = 0;
    for (int i = 0; i < kFieldLength && text[i]; ++i)
        KeyCharacter(text[i], &mode);
}

void CChangerKeypad::KeyText(const char* text, BOOL shortClose)
{
    const int kTextLength = 16;
    KeyClear();
    int mode = 0;
    for (int i = 0; i < kTextLength && text[i]; ++i)
        KeyCharacter(text[i], &mode);
    if (shortClose)
        SendShortClose();
    else
        SendOpeningSequence();
}

void CChangerKeypad::EnterDiscMemoByKeys(int disc, const char* text)
{
    KeyDiscNumber(disc);
    KeyMemoInput();
    KeyTextField(text);
    if (strlen(text) < 13)
        KeyMemoInput();
}
