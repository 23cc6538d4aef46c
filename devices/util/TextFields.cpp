#include "devices/util/TextFields.h"

#include <stdio.h>

int CountFields(const CString& text)
{
    int count = 1;
    for (int i = 0; i < text.GetLength(); ++i) {
        if (text[i] == ',')
            ++count;
    }
    return count;
}

CString GetField(const CString& text, int index)
{
    int start = 0;
    for (int i = 0; i < index; ++i) {
        start = text.Find(',', start);
        if (start < 0)
            return CString();
        ++start;
    }
    int end = text.Find(',', start);
    CString field = end < 0 ? text.Mid(start) : text.Mid(start, end - start);
    field.TrimLeft(' ');
    field.TrimRight(' ');
    return field;
}

CString EscapeUrlText(const CString& text)
{
    CString escaped;
    for (int i = 0; i < text.GetLength(); ++i) {
        unsigned char ch = text[i];
        if (ch == ' ') {
            escaped += '+';
        } else if ((ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') ||
                   (ch >= '0' && ch <= '9')) {
            escaped += char(ch);
        } else {
            char hex[4];
            snprintf(hex, sizeof hex, "%%%02X", ch);
            escaped += hex;
        }
    }
    return escaped;
}
