// TkBtnInfo: one button of a tool bar's saved state (command id, 0 for a
// separator, and the button's own extra bytes), and TkBtnInfoArray, the bar's
// list of them in bar order, which owns its records.
//
// The "Buttons" value packs the list as records one after another: id (4 bytes,
// little-endian), data size (1 byte), data. No count and no terminator: the
// value's length ends the list.
#pragma once

#include <afxcoll.h>

class TkBtnInfo
{
public:
    TkBtnInfo(UINT id, const BYTE* data, BYTE size);
    ~TkBtnInfo();

    UINT m_nID;
    BYTE m_nDataSize;
    BYTE* m_pData;

private:
    TkBtnInfo(const TkBtnInfo&);
    void operator=(const TkBtnInfo&);
};

class TkBtnInfoArray : public CPtrArray
{
public:
    ~TkBtnInfoArray();

    TkBtnInfo* GetInfo(INT_PTR index) const { return static_cast<TkBtnInfo*>(GetAt(index)); }
    void AddInfo(UINT id, const BYTE* data, BYTE size);
    void DeleteAll();
    // Hands every record to target (emptied first); this list ends up empty.
    void MoveTo(TkBtnInfoArray& target);
};

// The packed list in a new[] buffer that the caller frees (never NULL for an
// empty list), or NULL when no buffer can be had.
BYTE* TkPackButtons(const TkBtnInfoArray& buttons, UINT* size);
// Appends the complete records of a packed value; a record cut short ends the
// list. Returns the number of records read.
int TkParseButtons(const BYTE* data, UINT size, TkBtnInfoArray& buttons);
