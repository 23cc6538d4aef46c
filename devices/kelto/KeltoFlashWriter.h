// Writes a firmware image into the Kelto switch's application flash through
// its boot loader, in blocks of at most eight words, and makes the eight lane
// sums of the area what the switch's start-up check expects. Shared by the
// device server's Kelto settings and the firmware upgrader.
#pragma once

#include <afx.h>

#include <vector>

#include "devices/kelto/KeltoHexImage.h"
#include "devices/kelto/KeltoPort.h"

const int kKeltoLanes = 8;
const int kKeltoSerialChars = 16;

class CKeltoFlashProgress
{
public:
    virtual ~CKeltoFlashProgress() {}
    // After each record, with the next word to be written; a window repaints here.
    virtual void OnFlashProgress(int nextWord) = 0;
};

class CKeltoFlashWriter
{
public:
    explicit CKeltoFlashWriter(CKeltoPort& port) : m_port(port) {}

    // With the boot loader running: every word from 0x200 to 0x1EFF, the image's
    // records with erased words in their gaps, then the serial table (16 words
    // 0x34 and one character), then the correction block. serial holds 16
    // characters, or is empty to keep the unit's own (a character that is not
    // a hexadecimal digit becomes a random one). progress may be null.
    BOOL Upgrade(const CKeltoHexImage& image, const char* serial, CKeltoFlashProgress* progress);
    // Lane sums of the words [firstWord, endWord), read eight words at a time.
    BOOL ReadLaneSums(int firstWord, int endWord, BYTE sums[kKeltoLanes]);

    const CString& GetErrorText() const { return m_error; }

private:
    BOOL TakeSerial(const char* serial, BYTE chars[kKeltoSerialChars]);
    BOOL WriteBlock(int word, const BYTE* bytes, int length);
    BOOL FillTo(int& next, int end);
    BOOL WriteSerialTable(const BYTE chars[kKeltoSerialChars]);
    BOOL WriteCorrection();

    CKeltoPort& m_port;
    // What the application area holds once written, high byte of each word first.
    std::vector<BYTE> m_area;
    CString m_error;
};
