// A firmware image of the Kelto switch in Intel HEX: byte addresses of a flash
// of 14-bit words, two bytes per word, low byte first. The whole text is
// checked before a caller writes anything, so a bad file never leaves half an
// upgrade in the switch.
#pragma once

#include <afx.h>

#include <vector>

// Word addresses of the switch's program flash.
const int kKeltoBootLoaderEnd = 0x200;     // below: the boot loader, never written
const int kKeltoApplicationEnd = 0x1F00;   // from here: configuration, never written
// A flash block holds at most eight words.
const int kKeltoBlockBytes = 16;

// One data record of the application area, its words high byte first as the
// boot loader takes them.
struct KeltoHexRecord
{
    int wordAddress;
    int wordCount;
    BYTE bytes[kKeltoBlockBytes];
};

class CKeltoHexImage
{
public:
    // False with the reason in the error text when the file cannot be read or
    // its text is refused.
    BOOL Load(const char* path);
    // Records outside the application area (boot loader, configuration) are
    // checked and skipped. Refused: bad checksums, characters that are not
    // hexadecimal digits, cut or overlong records, odd byte counts or
    // addresses, records over 16 bytes, records that overlap or cross into
    // another area, extended addresses other than 0, unknown record types and
    // a missing end record.
    BOOL Parse(const char* text);

    // The application records in address order.
    const std::vector<KeltoHexRecord>& GetRecords() const { return m_records; }
    const CString& GetErrorText() const { return m_error; }

private:
    struct Line;
    struct Span;
    BOOL ParseLine(const char* text, int length, Line& line);
    BOOL TakeData(const Line& line, std::vector<Span>& spans);
    BOOL Refuse(const char* format, ...) __attribute__((format(printf, 2, 3)));

    int m_lineNumber = 0;
    std::vector<KeltoHexRecord> m_records;
    CString m_error;
};
