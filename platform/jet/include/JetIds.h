// Identifiers under which the database provider and the compaction engine are
// registered; consumers reach both through COM only.
#pragma once

#include <windows.h>

// ProgID of the OLE DB provider (named in connection texts as well).
#define ZYM_JET_PROVIDER_PROGID "Microsoft.Jet.OLEDB.4.0"
// ProgID of the compaction engine; its CLSID is fixed, callers create it by CLSID.
#define ZYM_JET_ENGINE_PROGID "JRO.JetEngine"

// {DE88C160-FF2C-11D1-BB6F-00C04FAE22DA}
static const CLSID CLSID_ZymJetEngine =
    { 0xde88c160, 0xff2c, 0x11d1, { 0xbb, 0x6f, 0x00, 0xc0, 0x4f, 0xae, 0x22, 0xda } };

// The engine's method, called through IDispatch with the source and the
// destination connection texts.
#define ZYM_JET_COMPACT_METHOD "CompactDatabase"
