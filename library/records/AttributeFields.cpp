#include "library/records/AttributeFields.h"

#include <string.h>

CAttributeFields::CAttributeFields(const char* text)
{
    const char* p = text ? text : "";
    while (*p)
    {
        while (*p == ' ')
            ++p;
        const char* keyEnd = p;
        while (*keyEnd && *keyEnd != ' ' && *keyEnd != '=')
            ++keyEnd;
        if (*keyEnd != '=')
        {
            p = keyEnd;
            continue;
        }
        Field field;
        field.key = CString(p, static_cast<int>(keyEnd - p));
        field.quoted = false;
        const char* valueStart = keyEnd + 1;
        const char* end = valueStart;
        if (*valueStart == '"')
        {
            const char* close = strchr(valueStart + 1, '"');
            if (close)
            {
                field.quoted = true;
                field.value = CString(valueStart + 1, static_cast<int>(close - valueStart - 1));
                end = close + 1;
            }
            else
            {
                // An open quote swallows nothing: the fields after it still count.
                end = valueStart + 1;
            }
        }
        else
        {
            while (*end && *end != ' ')
                ++end;
        }
        field.raw = CString(valueStart, static_cast<int>(end - valueStart));
        m_fields.push_back(field);
        p = end;
    }
}

const char* CAttributeFields::Find(const char* key) const
{
    for (const Field& field : m_fields)
    {
        if (field.key == key)
            return field.raw;
    }
    return nullptr;
}

bool CAttributeFields::FindQuoted(const char* key, CString& value) const
{
    for (const Field& field : m_fields)
    {
        if (field.key == key)
        {
            if (!field.quoted)
                return false;
            value = field.value;
            return true;
        }
    }
    return false;
}
