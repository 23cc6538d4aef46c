// A property set handed to OLE DB: the properties of one property-set GUID.
#pragma once

#include <windows.h>
#include <oledb.h>
#include <vector>

class ODBPropertySet
{
public:
    explicit ODBPropertySet(const GUID& set);
    ~ODBPropertySet();
    ODBPropertySet(const ODBPropertySet&) = delete;
    ODBPropertySet& operator=(const ODBPropertySet&) = delete;

    void AddProperty(DBPROPID id, bool value, DBPROPOPTIONS options = DBPROPOPTIONS_REQUIRED);
    void AddProperty(DBPROPID id, LONG value, DBPROPOPTIONS options = DBPROPOPTIONS_REQUIRED);
    // Takes a copy of the text.
    void AddProperty(DBPROPID id, const OLECHAR* value, DBPROPOPTIONS options = DBPROPOPTIONS_REQUIRED);

    // Valid until the next property is added.
    DBPROPSET* Get() { return &m_set; }

private:
    void Append(DBPROPID id, const VARIANT& value, DBPROPOPTIONS options);

    std::vector<DBPROP> m_props;
    DBPROPSET m_set;
};
