// The front panel of a changer, pressed through its Control-A1 device: keys,
// disc numbers and text entry on the numeric keypad.
#pragma once

#include <afx.h>

class CChangerLink;
class CChangerStateStore;

class CChangerKeypad
{
public:
    CChangerKeypad(CChangerLink& link, const CChangerStateStore& store) : m_link(link), m_store(store) {}

    BOOL KeyDisc();
    BOOL KeyEnter();
    BOOL KeyClear();
    BOOL KeyMemoInput();
    BOOL KeyMemoScan();
    BOOL KeyUpArrow();
    BOOL KeyBlock();
    BOOL KeyTrack();
    BOOL KeyDownArrow();
    BOOL KeyLeftArrow();
    BOOL KeyRightArrow();
    BOOL KeyPlayerSelect();
    BOOL KeyProgram();
    BOOL KeyContinue();
    BOOL KeyRepeat();
    BOOL KeyDigit(int digit);
    BOOL KeyDiscNumber(int disc);
    // Raw bus messages around text entry.
    void SendOpeningSequence();
    void SendShortClose();
    // Text entry on the numeric keypad; charMode 0 upper case, 1 lower, 2 digits.
    void KeyCharacter(char ch, int* charMode);
    void KeyTextField(const char* text);
    void KeyText(const char* text, BOOL shortClose);
    void EnterDiscMemoByKeys(int disc, const char* text);

private:
    enum KeyFamily { kKeyPauseEF, kKeyEF, kKeyOnly };
    struct KeyRule;
    static const KeyRule kKeys[];

    BOOL SendKey(const char* key);
    void KeyPresses(int key, int times);

    CChangerLink& m_link;
    const CChangerStateStore& m_store;
};
