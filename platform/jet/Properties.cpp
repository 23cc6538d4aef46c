#include "platform/jet/Properties.h"

#include <oledberr.h>

const PropertyRule kRowsetRules[] = {
    { &kDbPropSetRowset, DBPROP_IRowsetChange, VT_BOOL },
    { &kDbPropSetRowset, DBPROP_UPDATABILITY, VT_I4 },
};
const size_t kRowsetRuleCount = sizeof(kRowsetRules) / sizeof(kRowsetRules[0]);

static DBPROPSTATUS CheckProperty(REFGUID set, const DBPROP& prop,
                                  const PropertyRule* rules, size_t ruleCount)
{
    for (size_t i = 0; i < ruleCount; i++) {
        if (!IsEqualGUID(*rules[i].set, set) || rules[i].id != prop.dwPropertyID)
            continue;
        if (V_VT(&prop.vValue) != rules[i].type && V_VT(&prop.vValue) != VT_EMPTY)
            return DBPROPSTATUS_BADVALUE;
        return DBPROPSTATUS_OK;
    }
    return DBPROPSTATUS_NOTSUPPORTED;
}

HRESULT CheckProperties(ULONG setCount, DBPROPSET* sets, const PropertyRule* rules, size_t ruleCount)
{
    if (setCount && !sets)
        return E_INVALIDARG;
    bool failedRequired = false;
    bool failedOptional = false;
    for (ULONG s = 0; s < setCount; s++) {
        if (sets[s].cProperties && !sets[s].rgProperties)
            return E_INVALIDARG;
        for (ULONG p = 0; p < sets[s].cProperties; p++) {
            DBPROP& prop = sets[s].rgProperties[p];
            prop.dwStatus = CheckProperty(sets[s].guidPropertySet, prop, rules, ruleCount);
            if (prop.dwStatus == DBPROPSTATUS_OK)
                continue;
            if (prop.dwOptions == DBPROPOPTIONS_OPTIONAL) {
                prop.dwStatus = DBPROPSTATUS_NOTSET;
                failedOptional = true;
            } else {
                failedRequired = true;
            }
        }
    }
    if (failedRequired)
        return DB_E_ERRORSOCCURRED;
    return failedOptional ? DB_S_ERRORSOCCURRED : S_OK;
}

const VARIANT* FindProperty(ULONG setCount, const DBPROPSET* sets, REFGUID set, DBPROPID id)
{
    for (ULONG s = 0; s < setCount; s++) {
        if (!IsEqualGUID(sets[s].guidPropertySet, set))
            continue;
        for (ULONG p = 0; p < sets[s].cProperties; p++)
            if (sets[s].rgProperties[p].dwPropertyID == id)
                return &sets[s].rgProperties[p].vValue;
    }
    return nullptr;
}
