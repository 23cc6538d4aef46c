// The rating values of one record. The names belong to the library and are
// shared by every record; the values are the record's own.
#pragma once

#include <afx.h>


class CAttributeFields;

class RatingSet
{
public:
    // The library file keeps four ratings a record. The values live in the
    // record itself: every track of the library has a set.
    static const int kMaxCount = 4;

    RatingSet() : m_count(0), m_values(), m_names(nullptr) {}
    // count: at most kMaxCount.
    RatingSet(int count, const CString* names);

    int GetCount() const { return m_count; }
    const CString* GetNames() const { return m_names; }
    bool IsCategory(int category) const { return category >= 0 && category < m_count; }
    int GetValue(int category) const { return IsCategory(category) ? m_values[category] : 0; }
    void SetValue(int category, int value);
    void Zero();

    // " name=value" for each category whose value is not 0.
    CString Format() const;
    // Categories whose key is absent keep their values.
    void Parse(const CAttributeFields& fields);

private:
    int m_count;
    int m_values[kMaxCount];
    const CString* m_names;
};
