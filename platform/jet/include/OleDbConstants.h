// OLE DB constants that Wine's oledb.h does not define.
#pragma once

#include <oledb.h>

#ifndef DBPROPVAL_UP_CHANGE
#define DBPROPVAL_UP_CHANGE 0x00000001
#define DBPROPVAL_UP_DELETE 0x00000002
#define DBPROPVAL_UP_INSERT 0x00000004
#endif

#ifndef DB_INVALIDCOLUMN
#define DB_INVALIDCOLUMN (static_cast<DBORDINAL>(~0))
#endif

// GUIDs that oledb.h declares but none of Wine's import libraries defines
// (DBGUID_DEFAULT, DBPROPSET_DBINIT, DBPROPSET_ROWSET).
static const GUID kDbGuidDefault =
    { 0xc8b521fb, 0x5cf3, 0x11ce, { 0xad, 0xe5, 0x00, 0xaa, 0x00, 0x44, 0x77, 0x3d } };
static const GUID kDbPropSetDbInit =
    { 0xc8b522bc, 0x5cf3, 0x11ce, { 0xad, 0xe5, 0x00, 0xaa, 0x00, 0x44, 0x77, 0x3d } };
static const GUID kDbPropSetRowset =
    { 0xc8b522be, 0x5cf3, 0x11ce, { 0xad, 0xe5, 0x00, 0xaa, 0x00, 0x44, 0x77, 0x3d } };
