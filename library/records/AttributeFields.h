// The fields of an attribute text: key=value or key="value", separated by
// blanks. Keys are only recognised where a field starts, so a quoted value that
// happens to hold "min=" or a rating name cannot be mistaken for a field.
#pragma once

#include <afx.h>

#include <vector>

class CAttributeFields
{
public:
    explicit CAttributeFields(const char* text);

    // The text right after the first "key=" (for a quoted field, from the opening
    // quote on); null when the key has no field.
    const char* Find(const char* key) const;
    // The value between the quotes of the first "key=" field; false when the key
    // has no field or its quote is not closed.
    bool FindQuoted(const char* key, CString& value) const;

private:
    struct Field
    {
        CString key;
        CString raw;    // from the character after '=' to the field's end
        bool quoted;    // opened and closed by a double quote
        CString value;  // between the quotes
    };

    std::vector<Field> m_fields;
};
