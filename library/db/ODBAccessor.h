// A column set with the accessor handle that binds it.
#pragma once

#include "library/db/ODBColumnDescriptors.h"

class ODBAccessor : public ODBColumnDescriptors
{
public:
    ODBAccessor() : m_accessor(DB_INVALID_HACCESSOR) {}

    virtual void ReleaseAccessor() = 0;

protected:
    HACCESSOR m_accessor;
};
