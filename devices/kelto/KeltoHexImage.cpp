#include "devices/kelto/KeltoHexImage.h"

#include <stdarg.h>
#include <string.h>

#include <algorithm>

#include <afxwin.h>

namespace {

enum RecordType
{
    kDataRecord = 0,
    kEndRecord = 1,
    kSegmentAddress = 2,
    kSegmentStart = 3,
    kLinearAddress = 4,
    kLinearStart = 5
};

// Byte count, two address bytes, type and checksum around the data.
const int kRecordFrameBytes = 5;
const int kMaxRecordBytes = kRecordFrameBytes + 255;

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// 0 boot loader, 1 application, 2 configuration.
int AreaOf(int word)
{
    if (word < kKeltoBootLoaderEnd)
        return 0;
    return word < kKeltoApplicationEnd ? 1 : 2;
}

} // namespace

// The flash words of one data record, for the overlap check.
struct CKeltoHexImage::Span
{
    int start;
    int end;
    int line;
};

struct CKeltoHexImage::Line
{
    int count;
    int address;
    int type;
    BYTE bytes[kMaxRecordBytes];
    const BYTE* Data() const { return bytes + 4; }
};

BOOL CKeltoHexImage::Refuse(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    m_error.FormatV(format, args);
    va_end(args);
    m_records.clear();
    return FALSE;
}

BOOL CKeltoHexImage::Load(const char* path)
{
    CFile file;
    CFileException failure;
    if (!file.Open(path, CFile::modeRead | CFile::shareDenyWrite, &failure))
        return Refuse("Unable to open the HEX file %s", path);
    std::vector<char> text(file.GetLength() + 1, '\0');
    UINT got = 0;
    try {
        got = file.Read(text.data(), UINT(text.size() - 1));
    } catch (CFileException* e) {
        e->Delete();
        return Refuse("Unable to read the HEX file %s", path);
    }
    text[got] = '\0';
    if (strlen(text.data()) != got)
        return Refuse("The HEX file %s holds a zero byte: it is not a HEX file", path);
    return Parse(text.data());
}

BOOL CKeltoHexImage::Parse(const char* text)
{
    m_records.clear();
    m_error.Empty();
    std::vector<Span> spans;
    bool ended = false;
    m_lineNumber = 0;
    for (const char* p = text; *p && !ended;) {
        const char* lineEnd = strchr(p, '\n');
        int length = lineEnd ? int(lineEnd - p) : int(strlen(p));
        ++m_lineNumber;
        while (length > 0 && (p[length - 1] == '\r' || p[length - 1] == ' ' || p[length - 1] == '\t'))
            --length;
        if (length > 0 && p[0] == ':') {
            Line line;
            if (!ParseLine(p + 1, length - 1, line))
                return FALSE;
            if (line.type == kEndRecord) {
                ended = true;
            } else if (line.type == kDataRecord) {
                if (!TakeData(line, spans))
                    return FALSE;
            } else if (line.type == kSegmentAddress || line.type == kLinearAddress) {
                if (line.count != 2)
                    return Refuse("HEX file line %d: an extended address record holds two bytes", m_lineNumber);
                if (line.Data()[0] != 0 || line.Data()[1] != 0)
                    return Refuse("HEX file line %d: extended address %02X%02X; the switch's flash takes only 0",
                                  m_lineNumber, line.Data()[0], line.Data()[1]);
            } else if (line.type != kSegmentStart && line.type != kLinearStart) {
                return Refuse("HEX file line %d: unknown record type %02X", m_lineNumber, line.type);
            }
        }
        p = lineEnd ? lineEnd + 1 : p + strlen(p);
    }
    if (!ended)
        return Refuse("The HEX file has no end record");
    std::sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) { return a.start < b.start; });
    for (size_t i = 1; i < spans.size(); ++i) {
        if (spans[i].start < spans[i - 1].end)
            return Refuse("HEX file lines %d and %d write the same flash words", spans[i - 1].line, spans[i].line);
    }
    std::stable_sort(m_records.begin(), m_records.end(),
                     [](const KeltoHexRecord& a, const KeltoHexRecord& b) { return a.wordAddress < b.wordAddress; });
    return TRUE;
}

// digits: the text after ':' without its line end.
BOOL CKeltoHexImage::ParseLine(const char* digits, int length, Line& line)
{
    for (int i = 0; i < length; ++i) {
        if (HexDigit(digits[i]) < 0)
            return Refuse("HEX file line %d: '%c' is not a hexadecimal digit", m_lineNumber, digits[i]);
    }
    int n = length / 2;
    if (length % 2 != 0 || n < kRecordFrameBytes || n > kMaxRecordBytes ||
        n != kRecordFrameBytes + HexDigit(digits[0]) * 16 + HexDigit(digits[1]))
        return Refuse("HEX file line %d: the record's length does not match its byte count", m_lineNumber);
    BYTE sum = 0;
    for (int i = 0; i < n; ++i) {
        line.bytes[i] = BYTE(HexDigit(digits[2 * i]) * 16 + HexDigit(digits[2 * i + 1]));
        sum += line.bytes[i];
    }
    if (sum != 0)
        return Refuse("HEX file line %d: bad checksum", m_lineNumber);
    line.count = line.bytes[0];
    line.address = line.bytes[1] * 256 + line.bytes[2];
    line.type = line.bytes[3];
    return TRUE;
}

BOOL CKeltoHexImage::TakeData(const Line& line, std::vector<Span>& spans)
{
    if (line.count > kKeltoBlockBytes)
        return Refuse("HEX file line %d: %d data bytes; a flash block takes at most %d",
                      m_lineNumber, line.count, kKeltoBlockBytes);
    if (line.count % 2 != 0 || line.address % 2 != 0)
        return Refuse("HEX file line %d: the flash takes whole words, at even byte addresses with even byte counts",
                      m_lineNumber);
    if (line.count == 0)
        return TRUE;
    KeltoHexRecord record;
    record.wordAddress = line.address / 2;
    record.wordCount = line.count / 2;
    int end = record.wordAddress + record.wordCount;
    if (AreaOf(record.wordAddress) != AreaOf(end - 1))
        return Refuse("HEX file line %d: words %04X-%04X cross the edge of the application area (%04X-%04X)",
                      m_lineNumber, record.wordAddress, end - 1, kKeltoBootLoaderEnd, kKeltoApplicationEnd - 1);
    spans.push_back({record.wordAddress, end, m_lineNumber});
    if (AreaOf(record.wordAddress) != 1)
        return TRUE;
    // The file has each word low byte first; the boot loader takes it high byte first.
    for (int i = 0; i < line.count; i += 2) {
        record.bytes[i] = line.Data()[i + 1];
        record.bytes[i + 1] = line.Data()[i];
    }
    m_records.push_back(record);
    return TRUE;
}
