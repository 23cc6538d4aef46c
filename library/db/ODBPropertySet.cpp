#include "library/db/ODBPropertySet.h"

#include <oleauto.h>

ODBPropertySet::ODBPropertySet(const GUID& set)
{
    m_set.rgProperties = nullptr;
    m_set.cProperties = 0;
    m_set.guidPropertySet = set;
}

ODBPropertySet::~ODBPropertySet()
{
    for (DBPROP& prop : m_props)
        VariantClear(&prop.vValue);
}

void ODBPropertySet::Append(DBPROPID id, const VARIANT& value, DBPROPOPTIONS options)
{
    DBPROP prop = {};
    prop.dwPropertyID = id;
    prop.dwOptions = options;
    prop.vValue = value;
    m_props.push_back(prop);
    m_set.rgProperties = m_props.data();
    m_set.cProperties = static_cast<ULONG>(m_props.size());
}

void ODBPropertySet::AddProperty(DBPROPID id, bool value, DBPROPOPTIONS options)
{
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = VT_BOOL;
    V_BOOL(&v) = value ? VARIANT_TRUE : VARIANT_FALSE;
    Append(id, v, options);
}

void ODBPropertySet::AddProperty(DBPROPID id, LONG value, DBPROPOPTIONS options)
{
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = VT_I4;
    V_I4(&v) = value;
    Append(id, v, options);
}

void ODBPropertySet::AddProperty(DBPROPID id, const OLECHAR* value, DBPROPOPTIONS options)
{
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = VT_BSTR;
    V_BSTR(&v) = SysAllocString(value);
    Append(id, v, options);
}
