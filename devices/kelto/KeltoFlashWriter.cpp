#include "devices/kelto/KeltoFlashWriter.h"

#include <string.h>

#include "platform/crt/Random.h"
#include "platform/runtime/DebugOutput.h"

namespace {

const BYTE kTargetSums[kKeltoLanes] = {0xBC, 0x19, 0x01, 0x62, 0xE5, 0xA4, 0x9D, 0x7E};
// 20 words whose bytes bring the lane sums to the targets: five bytes a lane.
const int kCorrectionWord = 0x1CEC;
const int kCorrectionBytes = 40;
const int kCorrectionPerLane = kCorrectionBytes / kKeltoLanes;
// The high byte of a 14-bit word holds at most six bits.
const BYTE kHighByteMax = 0x3F;
const int kSerialWord = 0x1E01;
// RETLW: each serial word returns its character.
const BYTE kSerialWordHigh = 0x34;
// What an erased word holds; written into the gaps between records.
const BYTE kErasedWord[2] = {0x3F, 0xFF};
const char kHexDigits[] = "0123456789ABCDEF";

const char kReadFailed[] = "Failed to read flash memory";
const char kWriteFailed[] = "Failed to write flash memory";

int AreaIndex(int word)
{
    return (word - kKeltoBootLoaderEnd) * 2;
}

// Either case: the device server's factory flash writes lower-case digits.
bool IsHexDigit(BYTE c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

} // namespace

BOOL CKeltoFlashWriter::Upgrade(const CKeltoHexImage& image, const char* serial,
                                CKeltoFlashProgress* progress)
{
    BYTE chars[kKeltoSerialChars];
    if (!TakeSerial(serial, chars))
        return FALSE;
    m_area.assign(AreaIndex(kKeltoApplicationEnd), 0);
    int next = kKeltoBootLoaderEnd;
    for (const KeltoHexRecord& record : image.GetRecords()) {
        if (!FillTo(next, record.wordAddress) ||
            !WriteBlock(record.wordAddress, record.bytes, record.wordCount * 2))
            return FALSE;
        next = record.wordAddress + record.wordCount;
        if (progress)
            progress->OnFlashProgress(next);
    }
    if (!FillTo(next, kKeltoApplicationEnd) || !WriteSerialTable(chars) || !WriteCorrection())
        return FALSE;
    if (progress)
        progress->OnFlashProgress(kKeltoApplicationEnd);
    return TRUE;
}

BOOL CKeltoFlashWriter::TakeSerial(const char* serial, BYTE chars[kKeltoSerialChars])
{
    if (serial[0] != '\0') {
        if (strlen(serial) != kKeltoSerialChars) {
            m_error.Format("A serial number has %d characters", kKeltoSerialChars);
            return FALSE;
        }
        memcpy(chars, serial, kKeltoSerialChars);
        return TRUE;
    }
    BYTE words[kKeltoSerialChars * 2];
    if (!m_port.ReadFlashBlock(kSerialWord, kKeltoBlockBytes, words) ||
        !m_port.ReadFlashBlock(kSerialWord + kKeltoBlockBytes / 2, kKeltoBlockBytes, words + kKeltoBlockBytes)) {
        m_error = kReadFailed;
        return FALSE;
    }
    for (int i = 0; i < kKeltoSerialChars; ++i) {
        BYTE kept = words[2 * i + 1];
        chars[i] = IsHexDigit(kept) ? kept : BYTE(kHexDigits[MsRand() % 16]);
    }
    return TRUE;
}

BOOL CKeltoFlashWriter::WriteBlock(int word, const BYTE* bytes, int length)
{
    if (!m_port.WriteFlashBlock(word, length, bytes)) {
        m_error = kWriteFailed;
        return FALSE;
    }
    memcpy(&m_area[AreaIndex(word)], bytes, length);
    return TRUE;
}

BOOL CKeltoFlashWriter::FillTo(int& next, int end)
{
    BYTE erased[kKeltoBlockBytes];
    for (int i = 0; i < kKeltoBlockBytes; i += 2)
        memcpy(erased + i, kErasedWord, 2);
    while (next < end) {
        int words = end - next < kKeltoBlockBytes / 2 ? end - next : kKeltoBlockBytes / 2;
        if (!WriteBlock(next, erased, words * 2))
            return FALSE;
        next += words;
    }
    return TRUE;
}

BOOL CKeltoFlashWriter::WriteSerialTable(const BYTE chars[kKeltoSerialChars])
{
    BYTE table[kKeltoSerialChars * 2];
    for (int i = 0; i < kKeltoSerialChars; ++i) {
        table[2 * i] = kSerialWordHigh;
        table[2 * i + 1] = chars[i];
    }
    return WriteBlock(kSerialWord, table, kKeltoBlockBytes) &&
           WriteBlock(kSerialWord + kKeltoBlockBytes / 2, table + kKeltoBlockBytes, kKeltoBlockBytes);
}

// The sums cover what the area finally holds outside the correction block, so
// words written twice (the serial table over a gap or a record) count once.
// The area starts at a byte address that is a multiple of eight, and so does
// the correction block: byte i of either lies in lane i mod 8.
BOOL CKeltoFlashWriter::WriteCorrection()
{
    int first = AreaIndex(kCorrectionWord);
    BYTE sums[kKeltoLanes] = {};
    for (int i = 0; i < int(m_area.size()); ++i) {
        if (i < first || i >= first + kCorrectionBytes)
            sums[i % kKeltoLanes] += m_area[i];
    }
    BYTE block[kCorrectionBytes] = {};
    for (int lane = 0; lane < kKeltoLanes; ++lane) {
        int d = BYTE(kTargetSums[lane] - sums[lane]);
        DebugOutputF("pd %d %d\n", lane, d);
        int most = lane % 2 == 0 ? kHighByteMax : 0xFF;
        for (int k = 0; k < kCorrectionPerLane; ++k) {
            int part = d < most ? d : most;
            block[lane + kKeltoLanes * k] = BYTE(part);
            d -= part;
        }
    }
    const int firstPart = 24;
    return WriteBlock(kCorrectionWord, block, firstPart) &&
           WriteBlock(kCorrectionWord + firstPart / 2, block + firstPart, kCorrectionBytes - firstPart);
}

BOOL CKeltoFlashWriter::ReadLaneSums(int firstWord, int endWord, BYTE sums[kKeltoLanes])
{
    memset(sums, 0, kKeltoLanes);
    for (int word = firstWord; word < endWord; word += kKeltoBlockBytes / 2) {
        BYTE block[kKeltoBlockBytes];
        if (!m_port.ReadFlashBlock(word, kKeltoBlockBytes, block)) {
            m_error = kReadFailed;
            return FALSE;
        }
        for (int i = 0; i < kKeltoBlockBytes; ++i)
            sums[(word * 2 + i) % kKeltoLanes] += block[i];
    }
    return TRUE;
}
