// Checking the property sets that consumers hand to the provider's objects.
#pragma once

#include <windows.h>
#include <oledb.h>

#include "OleDbConstants.h"

// A property an object accepts, with the VARIANT type its value must have.
struct PropertyRule
{
    const GUID* set;
    DBPROPID id;
    VARTYPE type;
};

// Sets the status of every property: S_OK when all were accepted; when some were
// not, DB_S_ERRORSOCCURRED if those were all optional, else DB_E_ERRORSOCCURRED.
HRESULT CheckProperties(ULONG setCount, DBPROPSET* sets, const PropertyRule* rules, size_t ruleCount);

// The value of a property among the sets, null when it is absent.
const VARIANT* FindProperty(ULONG setCount, const DBPROPSET* sets, REFGUID set, DBPROPID id);

// What rowsets accept: they are always updatable, so asking for it succeeds.
extern const PropertyRule kRowsetRules[];
extern const size_t kRowsetRuleCount;
