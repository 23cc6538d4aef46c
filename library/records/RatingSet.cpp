#include "library/records/RatingSet.h"

#include "library/records/AttributeFields.h"

RatingSet::RatingSet(int count, const CString* names)
    : m_count(count < 0 ? 0 : count > kMaxCount ? kMaxCount : count), m_values(), m_names(names)
{
}

void RatingSet::SetValue(int category, int value)
{
    if (IsCategory(category))
        m_values[category] = value;
}

void RatingSet::Zero()
{
    for (int i = 0; i < m_count; ++i)
        m_values[i] = 0;
}

CString RatingSet::Format() const
{
    CString text;
    for (int i = 0; i < m_count; ++i)
    {
        if (m_values[i] == 0)
            continue;
        CString field;
        field.Format(" %s=%d", static_cast<const char*>(m_names[i]), m_values[i]);
        text += field;
    }
    return text;
}

void RatingSet::Parse(const CAttributeFields& fields)
{
    for (int i = 0; i < m_count; ++i)
    {
        const char* value = fields.Find(m_names[i]);
        if (value)
            m_values[i] = atoi(value);
    }
}
